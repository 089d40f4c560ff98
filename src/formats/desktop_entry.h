#pragma once

#include <QByteArrayView>
#include <QString>
#include <QStringList>

// The keys of a freedesktop ".desktop" file's [Desktop Entry] group that launching and icons use.
struct DesktopEntry {
    QString type; // "Application", "Link", ...
    QString exec;
    QString path;          // working folder of the program
    QString icon;          // a theme icon name or an absolute file path
    QString url;           // the address of a Link entry
    bool terminal = false; // Terminal=true: the program runs in a terminal window
};

// Files larger than this are not desktop entries.
constexpr qsizetype kMaxDesktopEntrySize = 256 * 1024;

// Reads the [Desktop Entry] group; localized keys (Name[de]) are ignored, the escapes \s \n \t \r
// and \\ are decoded. Unknown groups and lines are skipped.
DesktopEntry ParseDesktopEntry(QByteArrayView bytes);

// The program and arguments of an Exec line, split as a shell would, with the field codes (%f,
// %U, %i, ...) dropped and "%%" turned into "%".
QStringList DesktopExecArguments(const QString& exec);
