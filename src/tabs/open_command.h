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

// A shortcut's arguments are split at launch as QProcess::splitCommand splits a command: blanks
// separate arguments, double quotes group them, and three double quotes in a row stand for one.
// QuoteArgument gives the text that splits back into exactly this one argument, whatever it holds
// (blanks, line breaks, quotes, backslashes): plain text stays as it is, anything else goes in
// double quotes with each double quote tripled. An empty text gives no argument.
QString QuoteArgument(const QString& text);

// Splits an open command C for the dropped path P. Double quotes toggle an inside-quotes state;
// the first space outside quotes ends the program part. Without such a space the target is C
// unquoted and the arguments are P, quoted as one argument. Otherwise the target is the program
// part unquoted and the arguments are the rest with its first "%1" replaced by P, or the rest
// unchanged when it holds no "%1". P is put in so that it reaches the program as one argument
// whatever characters it holds: inside quotes with its double quotes tripled, elsewhere quoted
// as QuoteArgument quotes it.
LaunchCommand SplitOpenCommand(const QString& command, const QString& path);

// Turns an Exec value into an open command in which "%1" stands for the file: the arguments are
// taken apart with the Exec quoting rules, %f %F %u %U become the file, %% becomes %, the other
// field codes are dropped, and the arguments are joined again with a space, each quoted as
// QuoteArgument quotes it; the one holding the file always stands in double quotes.
QString ExecToOpenCommand(const QString& exec);
