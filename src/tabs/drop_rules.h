#pragma once

#include <functional>

#include <QString>
#include <QStringList>

// The decisions of a drop onto a tab that need no window and no disk: the effect offered while
// dragging, the parts of the dropped path, and the name and description of a new shortcut.

enum class DropEffect { None, Copy, Move, Link };

// The parts of a dropped path P.
struct DropPath {
    QString path;      // P
    QString name;      // N: the last component
    QString type;      // X: the text after the last "." anywhere in P, lower case; may be empty
    QString directory; // D: everything before N, with its trailing separator
};

DropPath SplitDropPath(const QString& path);

// The effect for one dropped path: a shortcut file (type "lnk", and isShortcut says it reads as a
// shortcut) is moved, or copied while Ctrl is held; anything else, a folder or another file named
// as a shortcut included, gets a new shortcut (link), whatever keys are held.
DropEffect DropEffectForPath(const QString& path, bool ctrlHeld,
                             const std::function<bool(const QString&)>& isShortcut);

// The effect offered for a drag of paths: none for no path; the effect of each when they all have
// the same; a link when they differ (each path is then handled by its own effect).
DropEffect DropEffectFor(const QStringList& paths, bool ctrlHeld,
                         const std::function<bool(const QString&)>& isShortcut);

// The file name of the shortcut made for a dropped name: the text from the last "." of the name on
// becomes ".lnk" (archive.tar.gz gives archive.tar.lnk), a name without "." gets ".lnk" appended.
// A leading "." starts a hidden name, not an extension (.profile gives .profile.lnk), so that the
// item keeps a caption. The stem is escaped, so that characters such as "%" come back unchanged
// as the caption.
QString LinkFileName(const QString& droppedName);

// "Launches " + N + "."
QString LinkDescription(const QString& droppedName);

// True when P names the shortcut file N directly inside tabFolder (letter case of A-Z ignored):
// dropping it only reorders the tab.
bool LiesInTabFolder(const DropPath& dropped, const QString& tabFolder);
