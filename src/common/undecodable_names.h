#pragma once

#include <QByteArrayView>
#include <QString>
#include <QStringList>

// File names are bytes; Qt names files with text decoded from UTF-8, and its folder listings leave
// out every entry whose name is not valid UTF-8, since no text would open it again. Such entries
// are found here so that they can be named to the user instead of vanishing without a word.

// The entries of folder whose names are not valid UTF-8, as full paths in which every byte that
// is not part of valid UTF-8 shows as \xNN. Files are included when files is true, folders when
// folders is true (symbolic links count as what they point to); files only when their names end
// in suffix, compared without regard to the case of A to Z.
QStringList UndecodableEntries(const QString& folder, bool files, bool folders, QByteArrayView suffix = {});

// The bytes of a name as text: valid UTF-8 decoded, every other byte as \xNN.
QString ShowNameBytes(QByteArrayView name);
