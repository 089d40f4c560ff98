#include "common/home_folder.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <pwd.h>
#include <unistd.h>

QString UsableHome(const QString& value) {
    if (value.isEmpty() || !QDir::isAbsolutePath(value) || !QFileInfo(value).isDir())
        return {};
    return QDir::cleanPath(value);
}

QString PasswordDatabaseHome() {
    const passwd* entry = getpwuid(getuid());
    return entry && entry->pw_dir ? QFile::decodeName(entry->pw_dir) : QString();
}

QString FindHomeFolder(const QString& homeVariable, const std::function<QString()>& passwordHome) {
    if (QString home = UsableHome(homeVariable); !home.isEmpty())
        return home;
    return UsableHome(passwordHome());
}

bool SetUpHomeFolder() {
    const QByteArray variable = qgetenv("HOME");
    const QString home = FindHomeFolder(QFile::decodeName(variable));
    if (home.isEmpty())
        return false;
    if (QFile::encodeName(home) != variable)
        qputenv("HOME", QFile::encodeName(home));
    return true;
}
