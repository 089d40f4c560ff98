#pragma once

#include <QString>

// Target and arguments of a new shortcut.
struct LaunchCommand {
    QString target;
    QString arguments;
    friend bool operator==(const LaunchCommand&, const LaunchCommand&) = default;
};

// A text longer than 2 characters that begins and ends with a double quote loses both; any other
// text stays as it is.
QString RemoveQuotes(const QString& text);

// Splits an open command C for the dropped path P. Double quotes toggle an inside-quotes state;
// the first space outside quotes ends the program part. Without such a space the target is C
// unquoted and the arguments are P. Otherwise the target is the program part unquoted and the
// arguments are the rest with its first "%1" replaced by P (no quotes added), or the rest unchanged
// when it holds no "%1".
LaunchCommand SplitOpenCommand(const QString& command, const QString& path);
