#pragma once

#include <QString>
#include <QStringList>

// $XDG_DATA_HOME when it holds an absolute path, else ~/.local/share.
QString XdgDataHome();

// Where the program finds what it ships and keeps what the user makes. What lies beside the
// executable decides between two layouts:
// - a portable program folder: the shipped skins, translations and splash clip lie beside the
//   executable, and the settings and tabs are kept there too;
// - an installation: the executable lies in <prefix>/bin and the shipped content in
//   <prefix>/share/kelvara/, while what the user makes lives in <data home>/kelvara/, so that
//   nothing is ever written under the prefix. The user may add skins and translations there;
//   they hide shipped ones of the same name.
// Everything else asks this class for its paths and never learns which layout is in use.
class ProgramFolder {
public:
    // executablePath: the full path of the running executable; dataHome: the folder that holds
    // the user's folder in an installation.
    explicit ProgramFolder(const QString& executablePath, const QString& dataHome = XdgDataHome());

    const QString& executablePath() const { return m_executable; }
    // The folder the program writes into, with a trailing "/" (AppDir where the program writes):
    // the settings, the tabs, a downloaded update, the translation template.
    const QString& userDir() const { return m_userDir; }
    // The folders that hold skin folders, "Translation" and "Loading.avi", each with a trailing
    // "/": the user's first, the shipped ones after it (one folder when they are the same).
    const QStringList& contentDirs() const { return m_contentDirs; }
    // userDir + "Tabs", without a trailing "/" (TabsDir).
    QString tabsDir() const { return m_userDir + QStringLiteral("Tabs"); }
    // Each content folder + "Translation/", the user's first.
    QStringList translationDirs() const;
    // userDir + "Translation/", where the translation template is written.
    QString userTranslationDir() const { return m_userDir + QStringLiteral("Translation/"); }
    // The translation file with that name: the user's when there is one, else the shipped one.
    QString translationFile(const QString& fileName) const;
    // The settings file: beside a portable executable its path with the extension replaced by
    // ".cfg.ini" (appended when it has none); in an installation userDir + "Kelvara.cfg.ini".
    QString settingsFile() const { return m_settingsStem + QStringLiteral(".cfg.ini"); }
    // The older single-file tab list, named like the settings file with the extension ".ini".
    QString legacyIniFile() const { return m_settingsStem + QStringLiteral(".ini"); }
    // "Loading.avi": the user's when there is one, else the shipped one.
    QString splashClip() const { return contentFile(QStringLiteral("Loading.avi")); }

private:
    QString contentFile(const QString& relativePath) const;

    QString m_executable;
    QString m_userDir;
    QStringList m_contentDirs;
    QString m_settingsStem;
};
