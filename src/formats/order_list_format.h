#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QStringList>

// The text of an "order.lst" file: one name a line, lines ended by CR LF.

// The limit on what is read: an order file lists the entries of one folder, so anything larger is
// not an order file the program wrote. Bytes past kMaxOrderFileSize are ignored; every line before
// them is read.
constexpr qsizetype kMaxOrderFileSize = 1024 * 1024;

// Splits the text into lines at CR LF, LF or CR. Each line is read as UTF-8, or as Windows-1252
// when it is not valid UTF-8. A last line without a line end counts; an empty text has no lines.
QStringList ParseOrderLines(QByteArrayView bytes);

// Each line in UTF-8 followed by CR LF.
QByteArray SerializeOrderLines(const QStringList& lines);
