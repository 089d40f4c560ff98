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

// Turns an Exec value into an open command in which "%1" stands for the file: the arguments are
// taken apart with the Exec quoting rules, %f %F %u %U become the file, %% becomes %, the other
// field codes are dropped, and the arguments are joined again with a space. An argument holding
// the file, a space or a tab is put in double quotes, so that a file name with spaces stays one
// argument when the command is split again at launch.
QString ExecToOpenCommand(const QString& exec);
