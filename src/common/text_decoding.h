#pragma once

#include <QByteArrayView>
#include <QString>

// Decodes a text file's bytes: as UTF-8 (initial byte-order marks dropped) when they are valid
// UTF-8, otherwise as Windows-1252, the 8-bit code page older files were written in.
QString DecodeUtf8OrWindows1252(QByteArrayView bytes);
