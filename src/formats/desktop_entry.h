#pragma once

#include <QByteArrayView>
#include <QList>
#include <QString>
#include <QStringList>

// A reader of the freedesktop key file format shared by ".desktop" files and "mimeapps.list":
// "[Group]" headers, "Key=Value" lines, "#" comments. Values are unescaped (\s \n \t \r \\).
class DesktopEntryFile {
public:
    struct Entry {
        QString group;
        QString key;
        QString value;
    };

    // Larger inputs are refused: a real file of this kind is a few kilobytes.
    static constexpr qsizetype MaxSize = 1024 * 1024;

    // Raises Error when data is larger than MaxSize. Malformed lines are skipped.
    static DesktopEntryFile parse(QByteArrayView data);

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

// Splits a list value ("a.desktop;b.desktop;") at its semicolons, dropping empty parts.
QStringList DesktopListValue(const QString& value);

// Turns an Exec value into an open command in which "%1" stands for the file: the arguments are
// taken apart with the Exec quoting rules, %f %F %u %U become the file, %% becomes %, the other
// field codes are dropped, and the arguments are joined again with a space. An argument holding
// the file, a space or a tab is put in double quotes, so that a file name with spaces stays one
// argument when the command is split again at launch.
QString ExecToOpenCommand(const QString& exec);
