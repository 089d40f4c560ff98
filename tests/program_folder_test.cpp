#include "common/program_folder.h"
#include "common/home_folder.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>

#include "qstring_printer.h"

using namespace Qt::Literals::StringLiterals;

namespace {

class ProgramFolderTest : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(m_dir.isValid()); }

    QString path(const QString& relative) const { return m_dir.path() + u'/' + relative; }
    void makeFile(const QString& relative) {
        QDir().mkpath(QFileInfo(path(relative)).absolutePath());
        QFile file(path(relative));
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    }

    QTemporaryDir m_dir;
};

TEST_F(ProgramFolderTest, PortableFolderKeepsEverythingBesideTheExecutable) {
    // What lies beside the executable decides, also when an installation's shared folder lies
    // where the prefix's would be.
    QDir().mkpath(path(u"share/kelvara"_s));
    const char* besideExecutable[] = {"bin/Translation/English.txt", "bin/Loading.avi"};
    for (const char* shipped : besideExecutable) {
        makeFile(QString::fromLatin1(shipped));
        const ProgramFolder folder(path(u"bin/Kelvara"_s), path(u"data"_s));
        const QString app = path(u"bin/"_s);
        EXPECT_EQ(folder.userDir(), app) << shipped;
        EXPECT_EQ(folder.contentDirs(), QStringList{app});
        EXPECT_EQ(folder.tabsDir(), app + u"Tabs");
        EXPECT_EQ(folder.settingsFile(), app + u"Kelvara.cfg.ini");
        EXPECT_EQ(folder.legacyIniFile(), app + u"Kelvara.ini");
        EXPECT_EQ(folder.translationFile(u"English.txt"_s), app + u"Translation/English.txt");
        EXPECT_EQ(folder.splashClip(), app + u"Loading.avi");
        QDir(path(u"bin"_s)).removeRecursively();
    }

    // Nothing beside it and no installation around it: still the executable's folder, whose
    // extension the settings file replaces.
    const ProgramFolder bare(path(u"other/empty/Kelvara.exe"_s), path(u"data"_s));
    EXPECT_EQ(bare.userDir(), path(u"other/empty/"_s));
    EXPECT_EQ(bare.settingsFile(), path(u"other/empty/Kelvara.cfg.ini"_s));
}

TEST_F(ProgramFolderTest, InstallationKeepsTheUsersDataInTheDataHome) {
    makeFile(u"prefix/share/kelvara/Translation/English.txt"_s);
    makeFile(u"prefix/share/kelvara/Translation/Deutsch.txt"_s);
    makeFile(u"prefix/share/kelvara/Loading.avi"_s);
    const ProgramFolder folder(path(u"prefix/bin/kelvara"_s), path(u"data"_s));
    const QString user = path(u"data/kelvara/"_s);
    const QString shipped = path(u"prefix/share/kelvara/"_s);

    EXPECT_EQ(folder.executablePath(), path(u"prefix/bin/kelvara"_s));
    EXPECT_EQ(folder.userDir(), user);
    EXPECT_EQ(folder.contentDirs(), QStringList({user, shipped}));
    EXPECT_EQ(folder.translationDirs(), QStringList({user + u"Translation/", shipped + u"Translation/"}));
    EXPECT_EQ(folder.userTranslationDir(), user + u"Translation/");
    EXPECT_EQ(folder.tabsDir(), user + u"Tabs");
    // Named after the program, not after the lower-case executable.
    EXPECT_EQ(folder.settingsFile(), user + u"Kelvara.cfg.ini");
    EXPECT_EQ(folder.legacyIniFile(), user + u"Kelvara.ini");

    // Shipped content unless the user has a file of that name.
    makeFile(u"data/kelvara/Translation/Deutsch.txt"_s);
    EXPECT_EQ(folder.translationFile(u"English.txt"_s), shipped + u"Translation/English.txt");
    EXPECT_EQ(folder.translationFile(u"Deutsch.txt"_s), user + u"Translation/Deutsch.txt");
    EXPECT_EQ(folder.translationFile(u"Missing.txt"_s), shipped + u"Translation/Missing.txt");
    EXPECT_EQ(folder.splashClip(), shipped + u"Loading.avi");
}

TEST(XdgDataHome, AbsoluteVariableOrTheHomeDefault) {
    const bool wasSet = qEnvironmentVariableIsSet("XDG_DATA_HOME");
    const QByteArray saved = qgetenv("XDG_DATA_HOME");
    const QString fallback = QDir::homePath() + u"/.local/share";
    const struct {
        const char* value;
        QString expected;
    } rows[] = {{"/srv/data", u"/srv/data"_s}, {"", fallback}, {"relative/data", fallback}};
    for (const auto& row : rows) {
        qputenv("XDG_DATA_HOME", row.value);
        EXPECT_EQ(XdgDataHome(), row.expected) << row.value;
    }
    if (wasSet)
        qputenv("XDG_DATA_HOME", saved);
    else
        qunsetenv("XDG_DATA_HOME");
}

// HOME counts only when it names an existing folder by an absolute path; else the password
// database's home folder, when that one exists; else none, which ends the program.
TEST_F(ProgramFolderTest, TheHomeFolderIsHomeElseThePasswordDatabasesElseNone) {
    QDir().mkpath(path(u"home"_s));
    QDir().mkpath(path(u"pw"_s));
    makeFile(u"file"_s);
    const QString home = path(u"home"_s);
    const QString pw = path(u"pw"_s);
    const struct {
        QString variable;
        QString database;
        QString expected;
    } rows[] = {
        {home, pw, home},
        {home + u"/"_s, pw, home},
        {QString(), pw, pw},
        {u"relative"_s, pw, pw},
        {path(u"missing"_s), pw, pw},
        {path(u"file"_s), pw, pw},
        {u"/"_s, pw, u"/"_s},
        {QString(), QString(), QString()},
        {QString(), path(u"missing"_s), QString()},
        {QString(), u"relative"_s, QString()},
    };
    for (const auto& row : rows)
        EXPECT_EQ(FindHomeFolder(row.variable, [&] { return row.database; }), row.expected)
            << row.variable.toStdString() << " / " << row.database.toStdString();
}

// The program's own start: with HOME unset, $HOME is taken from the password database, so that
// the folders below it are never made in the file system's root.
TEST(HomeFolder, AnUnsetHomeIsSetFromThePasswordDatabase) {
    const QByteArray saved = qgetenv("HOME");
    qunsetenv("HOME");
    const bool found = SetUpHomeFolder();
    const QByteArray set = qgetenv("HOME");
    qputenv("HOME", saved);
    ASSERT_FALSE(PasswordDatabaseHome().isEmpty());
    if (QFileInfo(PasswordDatabaseHome()).isDir()) {
        EXPECT_TRUE(found);
        EXPECT_EQ(QFile::decodeName(set), QDir::cleanPath(PasswordDatabaseHome()));
    } else {
        EXPECT_FALSE(found);
    }
}

} // namespace
