#pragma once

#include <QImage>
#include <QString>

// The size of item icons, in logical pixels.
constexpr int kItemIconSize = 32;

// The icon number index of source as a square image of pixelSize pixels (the icon size in device
// pixels), or a null image when source holds no icon:
// an image or icon file gives its picture (number index of an .ico file), a ".desktop" file the
// icon its Icon key names (from the icon theme, or a file path), a Windows ".exe" or ".dll" its
// icon group number index. Documents, folders and anything
// else give no icon.
QImage ExtractItemIcon(const QString& source, int index, int pixelSize = kItemIconSize);
