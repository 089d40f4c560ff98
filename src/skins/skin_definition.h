#pragma once

#include "common/ini_file.h"
#include "skins/skin.h"

// Reads the [Skin] section into the skin's metrics, fonts, colours, options, boxes and shapes, in
// the order of the keys. Missing or unreadable values take their defaults; the pictures and Name
// are not touched.
void ReadSkinDefinition(const IniFile& ini, TSkin& skin);
