#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QString>

// Text written by older Windows programs is in the Windows-1252 code page. These convert it, and
// read text that may be either UTF-8 or Windows-1252.

QString DecodeWindows1252(QByteArrayView bytes);

// Characters that Windows-1252 cannot hold become "?".
QByteArray EncodeWindows1252(const QString& text);

// UTF-8 (byte-order marks dropped) when the bytes are valid UTF-8, otherwise Windows-1252.
QString DecodeUtf8OrWindows1252(QByteArrayView bytes);
