#pragma once

#include <QString>

// Everything the program keeps lives beside its executable. This gives the paths of that folder.
class ProgramFolder {
public:
    // executablePath: the full path of the running executable.
    explicit ProgramFolder(const QString& executablePath);

    const QString& executablePath() const { return m_executable; }
    // The executable's folder with a trailing "/" (AppDir).
    const QString& appDir() const { return m_appDir; }
    // appDir + "Tabs", without a trailing "/" (TabsDir).
    QString tabsDir() const { return m_appDir + QStringLiteral("Tabs"); }
    // appDir + "Translation/".
    QString translationDir() const { return m_appDir + QStringLiteral("Translation/"); }
    // The executable's path with its extension replaced by ".cfg.ini" (appended when it has none).
    QString settingsFile() const { return withExtension(QStringLiteral(".cfg.ini")); }
    // The older single-file tab list: the executable's path with the extension ".ini".
    QString legacyIniFile() const { return withExtension(QStringLiteral(".ini")); }
    // appDir + "Loading.avi".
    QString splashClip() const { return m_appDir + QStringLiteral("Loading.avi"); }

private:
    QString withExtension(const QString& extension) const;

    QString m_executable;
    QString m_appDir;
};
