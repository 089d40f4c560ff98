#pragma once

#include "common/ini_file.h"
#include "skins/skin.h"

// The largest size or offset, in pixels, that a skin may give: a tab is a few hundred pixels at
// most, and with every value within this the placement and drawing sums stay far from overflow.
inline constexpr qint32 kMaxSkinLength = 4096;
// The largest font size, in points, a skin may give.
inline constexpr qint32 kMaxSkinFontSize = 1024;

// Reads the [Skin] section into the skin's metrics, fonts, colours, options, boxes and shapes, in
// the order of the keys. Missing or unreadable values take their defaults; sizes and font sizes
// are kept within their limits above, and every number of a box within kMaxSkinLength either way.
// A tab, head or item size or a font size of 0 or less takes its default, with a warning naming
// the skin (skin.Name) and the key added to skin.Warnings. The pictures and Name are not touched.
void ReadSkinDefinition(const IniFile& ini, TSkin& skin);
