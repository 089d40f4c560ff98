#pragma once

#include <optional>

#include <QByteArrayView>
#include <QString>

// A reader of the XSETTINGS format, the value of the _XSETTINGS_SETTINGS property that a settings
// daemon (GNOME's, Xfce's, xsettingsd) keeps on its selection window: a byte-order byte, three
// bytes of padding, a serial, the number of settings, then each setting as a type byte, a byte of
// padding, the name's length and the name padded to four bytes, a serial, and the value (an
// integer, a string as length and bytes padded to four, or a colour of four 16-bit parts).

// The string setting called name, when the data holds one; nothing when it holds none or ends
// early. Reads no byte outside data, whatever lengths the data gives.
std::optional<QString> XSettingsString(QByteArrayView data, QByteArrayView name);
