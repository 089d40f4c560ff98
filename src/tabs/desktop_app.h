#pragma once

#include <functional>

#include <QString>
#include <QStringList>

#include "common/user_text.h"

typedef struct _GAppLaunchContext GAppLaunchContext;

// The most files a shortcut gives one start of an application: a shortcut's arguments are a
// handful of files, while thousands would open thousands of windows or documents at once.
inline constexpr qsizetype kMaxFilesPerStart = 16;

// Why files cannot go to one start of the application whose Exec line is exec, or an empty text
// when they can: GIO starts an entry that takes one file (%f, %u) once per file.
UserText FilesRefusal(const QString& exec, qsizetype files);

// Makes the launch context GIO starts an application with; the desktop's startup notification
// lives there. It gives a new reference, which the launch drops.
using LaunchContextMaker = std::function<GAppLaunchContext*()>;

// Sets the maker for every later launch; an empty one gives GIO's plain context.
void SetLaunchContextMaker(LaunchContextMaker maker);

// Starts the application of the ".desktop" file at path through GIO, which follows the
// freedesktop.org desktop entry standard: Exec quoting and escapes, every field code, Path=,
// Terminal=, TryExec=. files go to the field codes %f %F %u %U: paths (relative ones are taken
// from the folder the program starts in) or addresses. The program starts in the entry's Path=
// folder when it names one, else in workingDir, without Kelvara's own environment variables.
// The application starts once: files that would start it more than once (several for an entry
// that takes one file, any for an entry that takes none) or more than kMaxFilesPerStart are
// refused, and nothing starts.
// Returns an empty text when the program was started, else the reason it was not, in a few words.
UserText LaunchDesktopApp(const QString& path, const QStringList& files, const QString& workingDir);
