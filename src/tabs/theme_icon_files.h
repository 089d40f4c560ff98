#pragma once

#include <QString>

// Whether the icon theme may be asked for the icon name: the name holds no "/" and is not "." or
// "..", and every file the theme lookup could open for it (the index and cache of each theme in
// the chain of the current theme, its inherited themes and "hicolor", and each picture of the name
// or of its shorter forms, "a-b" for "a-b-c", in the themes' folders and in the fallback folders)
// is a regular file where it exists at all. Qt opens what it finds there without asking what it
// is, and a FIFO, socket or device would block the program for ever. Uses the icon theme settings
// of QIcon, so call it from the thread that looks up theme icons.
bool ThemeLookupIsSafe(const QString& name);
