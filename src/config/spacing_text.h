#pragma once

#include <optional>

#include <QString>
#include <QtGlobal>

// Reads the text of the spacing box as a whole number: leading blanks, an optional sign, then
// decimal digits or hexadecimal digits after "$" or "0x". Anything else (an empty text, trailing
// characters, a value outside 32 bits) gives no value.
std::optional<qint32> ParseSpacing(const QString& text);
