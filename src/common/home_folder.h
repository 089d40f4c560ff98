#pragma once

#include <functional>

#include <QString>

// The folder a HOME value names when it can be the home folder: an absolute path of an existing
// folder. Empty for anything else (unset, empty, relative, missing, a file).
QString UsableHome(const QString& value);

// The home folder of the user running the program according to the password database; empty when
// it has no entry for the user.
QString PasswordDatabaseHome();

// The home folder: $HOME when usable, else the password database's when usable, else empty.
// passwordHome stands in for PasswordDatabaseHome in tests.
QString FindHomeFolder(const QString& homeVariable,
                       const std::function<QString()>& passwordHome = PasswordDatabaseHome);

// Makes $HOME name the home folder FindHomeFolder gives, so that every later path below the home
// folder (settings, icon themes, desktop entries) uses it; false when there is none. Without it
// the user's folder would be made relative to the file system's root.
bool SetUpHomeFolder();
