#pragma once

#include <QString>

// Names typed by the user become file names (and translation values) through EscapeName: each of
// \ / : * ? " < > | % CR LF becomes "%" and two upper-case hexadecimal digits.
QString EscapeName(const QString& text);

// The inverse of EscapeName. Raises Error("'$xy' is not a valid integer value") when the two
// characters after a "%" are not hexadecimal digits; an escape cut short by the end is dropped.
QString UnescapeName(const QString& text);

// Names on disk are matched without regard to letter case, folding only the letters A to Z.
QString FoldCase(const QString& text);
bool SameName(const QString& a, const QString& b);
