#pragma once

#include <QByteArrayView>
#include <QList>
#include <QString>
#include <QStringList>

// A reader of the freedesktop key file format shared by ".desktop" files and "mimeapps.list":
// "[Group]" headers, "Key=Value" lines, "#" comments. Values are unescaped (\s \n \t \r \\).
class KeyFile {
public:
    struct Entry {
        QString group;
        QString key;
        QString value;
    };

    // Larger inputs are refused: a real file of this kind is a few kilobytes.
    static constexpr qsizetype MaxSize = 1024 * 1024;

    // Raises Error when data is larger than MaxSize. Malformed lines are skipped.
    static KeyFile parse(QByteArrayView data);

    // The value of the first line with this key in this group (both compared exactly, as the
    // format asks); an empty text when there is none.
    QString value(const QString& group, const QString& key) const;
    bool contains(const QString& group, const QString& key) const;

    // The keys of a group in file order.
    QStringList keys(const QString& group) const;

    const QList<Entry>& entries() const { return m_entries; }

private:
    QList<Entry> m_entries;
};

// Decodes the string escapes of a key-file value (\s \n \t \r \\); any other backslash pair is
// kept as it is, for the quoting rules of Exec lines.
QString UnescapeKeyFileValue(QStringView text);

// Splits a list value ("a.desktop;b.desktop;") at its semicolons, dropping empty parts.
QStringList DesktopListValue(const QString& value);
