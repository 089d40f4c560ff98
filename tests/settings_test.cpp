#include "common/settings.h"

#include <csignal>
#include <functional>
#include <sys/resource.h>

#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>

#include "common/error.h"
#include "common/program_folder.h"
#include "translation/language_match.h"

namespace {

class SettingsFileTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(m_dir.isValid());
        m_appDir = m_dir.path() + QLatin1Char('/');
        m_path = folder().settingsFile();
    }
    ProgramFolder folder() const { return ProgramFolder(m_appDir + QStringLiteral("Kelvara")); }

    void writeFile(const QByteArray& content) {
        QFile file(m_path);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
        file.write(content);
    }
    QByteArray readFile() const {
        QFile file(m_path);
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
    }
    StoredSettings load(const QByteArray& content) {
        writeFile(content);
        return LoadSettings(m_path, folder());
    }

    QTemporaryDir m_dir;
    QString m_appDir;
    QString m_path;
};

// Restores the file-size limit when it goes out of scope.
class FileSizeLimit {
public:
    explicit FileSizeLimit(rlim_t bytes) {
        getrlimit(RLIMIT_FSIZE, &m_old);
        std::signal(SIGXFSZ, SIG_IGN);
        rlimit limit = m_old;
        limit.rlim_cur = bytes;
        setrlimit(RLIMIT_FSIZE, &limit);
    }
    ~FileSizeLimit() { setrlimit(RLIMIT_FSIZE, &m_old); }

private:
    rlimit m_old{};
};

} // namespace

TEST_F(SettingsFileTest, MissingFileGivesTheDefaultsAndIsNotCreated) {
    const StoredSettings s = LoadSettings(m_path, folder());
    EXPECT_TRUE(m_path.endsWith(QStringLiteral("/Kelvara.cfg.ini")));
    EXPECT_FALSE(QFile::exists(m_path));
    EXPECT_EQ(s.SkinName, QStringLiteral("Aqua"));
    EXPECT_EQ(s.TranslationPath, m_appDir + QStringLiteral("Translation/English.txt"));
    EXPECT_FALSE(s.TranslationChosen);
    EXPECT_EQ(s.AOTMode, StackingMode::Normal);
    EXPECT_FALSE(s.AutoUpdate);
    EXPECT_EQ(s.ShortcutKey, QStringLiteral("Ctrl+Alt+K"));
    const Settings& r = s.settings;
    EXPECT_EQ(r.TabPos, TabEdge::Bottom);
    EXPECT_EQ(r.TabAlign, TabAlignment::Center);
    EXPECT_EQ(r.Spacing, 12);
    EXPECT_EQ(r.Screen, 1);
    EXPECT_FALSE(r.Alpha);
    EXPECT_EQ(r.AlphaV, 200);
    EXPECT_FALSE(r.Colorize);
    EXPECT_EQ(r.ColorizeHue, 0);
    EXPECT_FALSE(r.InvertLum);
    EXPECT_EQ(r.OpenAnim, AnimMode::Accelerated);
    EXPECT_EQ(r.CloseAnim, AnimMode::Accelerated);
    EXPECT_FALSE(r.ClickOpen);
}

TEST_F(SettingsFileTest, ReadsWordsInAnyCaseAndFallsBackOnAnythingElse) {
    using Check = std::function<bool(const StoredSettings&)>;
    const struct {
        const char* file;
        Check check;
    } rows[] = {
        {"[Position]\nTabAlign=TopLeft",
         [](auto& s) { return s.settings.TabAlign == TabAlignment::TopLeft; }},
        {"[Position]\nTabAlign=TOPLEFT",
         [](auto& s) { return s.settings.TabAlign == TabAlignment::TopLeft; }},
        {"[position]\ntabalign= topleft ",
         [](auto& s) { return s.settings.TabAlign == TabAlignment::TopLeft; }},
        {"[Position]\nTabAlign=top left",
         [](auto& s) { return s.settings.TabAlign == TabAlignment::Center; }},
        {"[Position]\nTabAlign=BottomRight",
         [](auto& s) { return s.settings.TabAlign == TabAlignment::BottomRight; }},
        {"[Position]\nTabPos=LEFT", [](auto& s) { return s.settings.TabPos == TabEdge::Left; }},
        {"[Position]\nTabPos=Top", [](auto& s) { return s.settings.TabPos == TabEdge::Top; }},
        {"[Position]\nTabPos=right", [](auto& s) { return s.settings.TabPos == TabEdge::Right; }},
        {"[Position]\nTabPos=sideways", [](auto& s) { return s.settings.TabPos == TabEdge::Bottom; }},
        {"[General]\nAutoUpdate=YES", [](auto& s) { return s.AutoUpdate; }},
        {"[General]\nAutoUpdate=true", [](auto& s) { return !s.AutoUpdate; }},
        {"[Position]\nSpacing=abc", [](auto& s) { return s.settings.Spacing == 12; }},
        {"[Position]\nSpacing=-7", [](auto& s) { return s.settings.Spacing == -7; }},
        {"[Position]\nSpacing=0x10", [](auto& s) { return s.settings.Spacing == 12; }},
        {"[Position]\nScreen=", [](auto& s) { return s.settings.Screen == 1; }},
        {"[Appearance]\nAlpha=ON\nAlphaV=150",
         [](auto& s) { return s.settings.Alpha && s.settings.AlphaV == 150; }},
        {"[Appearance]\nAlpha=yes", [](auto& s) { return !s.settings.Alpha; }},
        {"[General]\nAOTMode=Aggressive", [](auto& s) { return s.AOTMode == StackingMode::Aggressive; }},
        {"[General]\nAOTMode=DISABLED", [](auto& s) { return s.AOTMode == StackingMode::Disabled; }},
        {"[General]\nAOTMode=off", [](auto& s) { return s.AOTMode == StackingMode::Normal; }},
        {"[Appearance]\nColorize=on\nColorizeHue=400\nInvertLum=On",
         [](auto& s) {
             return s.settings.Colorize && s.settings.ColorizeHue == 400 && s.settings.InvertLum;
         }},
        {"[Animation]\nOpen=LINEAR\nClose=off\nClickOpen=On",
         [](auto& s) {
             return s.settings.OpenAnim == AnimMode::Linear && s.settings.CloseAnim == AnimMode::Off &&
                    s.settings.ClickOpen;
         }},
        {"[Animation]\nOpen=fast\nClose=",
         [](auto& s) {
             return s.settings.OpenAnim == AnimMode::Accelerated &&
                    s.settings.CloseAnim == AnimMode::Accelerated;
         }},
        {"[Appearance]\nSkin=", [](auto& s) { return s.SkinName.isEmpty(); }},
        // An empty shortcut key switches the shortcut off; any other text is kept as written.
        {"[General]\nShortcutKey=", [](auto& s) { return s.ShortcutKey.isEmpty(); }},
        {"[General]\nshortcutkey= Meta+Space ", [](auto& s) { return s.ShortcutKey == u"Meta+Space"; }},
    };
    for (const auto& row : rows)
        EXPECT_TRUE(row.check(load(row.file))) << row.file;
}

TEST_F(SettingsFileTest, TranslationKeepsAHandTypedPathButSavesOnlyTheFileName) {
    StoredSettings s = load("[General]\nTranslation=sub/dir\\Deutsch.txt\n");
    EXPECT_EQ(s.TranslationPath, m_appDir + QStringLiteral("Translation/sub/dir\\Deutsch.txt"));
    SaveSettings(m_path, s);
    EXPECT_TRUE(readFile().contains("\nTranslation=Deutsch.txt\n"));
    s.TranslationPath = QStringLiteral("C:\\Kelvara\\Translation\\Fran\u00e7ais.txt");
    SaveSettings(m_path, s);
    EXPECT_EQ(LoadSettings(m_path, folder()).TranslationPath,
              m_appDir + QStringLiteral("Translation/Fran\u00e7ais.txt"));
}

// A German user who never picked a language: the first start is German, a save (of any other
// setting) stores no language, and every later start follows the locale again, whatever it is
// then. Once the user picks a language the file names it, and the locale no longer matters.
TEST_F(SettingsFileTest, TheLanguageFollowsTheLocaleUntilTheUserPicksOne) {
    const QString translations = m_appDir + QStringLiteral("Translation/");
    ASSERT_TRUE(QDir().mkpath(translations));
    for (const auto& [name, language] :
         {std::pair{"English.txt", "en"}, std::pair{"Deutsch.txt", "de"}, std::pair{"Francais.txt", "fr"}}) {
        QFile file(translations + QString::fromLatin1(name));
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(QByteArray("[Translation]\nLanguage=") + language + "\n");
    }
    const auto start = [&](const QStringList& locale) {
        StoredSettings s = LoadSettings(m_path, folder());
        FollowUserLanguages(s, folder(), locale);
        return s;
    };

    StoredSettings s = start({QStringLiteral("de-DE")});
    EXPECT_EQ(s.TranslationPath, translations + QStringLiteral("Deutsch.txt"));
    s.settings.Spacing = 20;
    SaveSettings(m_path, s);
    EXPECT_FALSE(readFile().contains("Translation")) << readFile().constData();
    EXPECT_EQ(start({QStringLiteral("de-DE")}).TranslationPath, translations + QStringLiteral("Deutsch.txt"));
    EXPECT_EQ(start({QStringLiteral("fr-FR")}).TranslationPath,
              translations + QStringLiteral("Francais.txt"));
    EXPECT_EQ(start({QStringLiteral("ja-JP")}).TranslationPath, translations + QStringLiteral("English.txt"));

    // The user picks English under the German locale: it stays English.
    s.TranslationPath = translations + QStringLiteral("English.txt");
    s.TranslationChosen = true;
    SaveSettings(m_path, s);
    EXPECT_TRUE(readFile().contains("\nTranslation=English.txt\n"));
    const StoredSettings chosen = start({QStringLiteral("de-DE")});
    EXPECT_TRUE(chosen.TranslationChosen);
    EXPECT_EQ(chosen.TranslationPath, translations + QStringLiteral("English.txt"));
}

TEST_F(SettingsFileTest, FirstSaveLaysOutSectionsAndKeysInFirstWrittenOrder) {
    StoredSettings s = LoadSettings(m_path, folder());
    s.settings.TabPos = TabEdge::Left;
    s.settings.TabAlign = TabAlignment::BottomRight;
    s.settings.Spacing = -3;
    s.settings.ColorizeHue = 359;
    s.settings.OpenAnim = AnimMode::Off;
    s.settings.CloseAnim = AnimMode::Linear;
    s.AutoUpdate = true;
    s.AOTMode = StackingMode::Aggressive;
    SaveSettings(m_path, s);
    EXPECT_EQ(readFile(), QByteArray("[Appearance]\n"
                                     "Skin=Aqua\n"
                                     "Alpha=Off\n"
                                     "AlphaV=200\n"
                                     "Colorize=Off\n"
                                     "ColorizeHue=359\n"
                                     "InvertLum=Off\n"
                                     "\n"
                                     "[General]\n"
                                     "AutoUpdate=Yes\n"
                                     "AOTMode=Aggressive\n"
                                     "ShortcutKey=Ctrl+Alt+K\n"
                                     "\n"
                                     "[Position]\n"
                                     "TabAlign=BottomRight\n"
                                     "TabPos=left\n"
                                     "Spacing=-3\n"
                                     "Screen=1\n"
                                     "\n"
                                     "[Animation]\n"
                                     "Open=Off\n"
                                     "Close=Linear\n"
                                     "ClickOpen=Off\n"));
}

TEST_F(SettingsFileTest, SavingOverAHandWrittenFileReplacesKeysInPlaceAndKeepsTheRest) {
    StoredSettings s = load("; my launcher\r\n"
                            "[position]\r\n"
                            "tabpos = LEFT\r\n"
                            "Custom=kept\r\n"
                            "\r\n"
                            "[General]\r\n"
                            "; checks the web site\r\n"
                            "AutoUpdate=YES\r\n");
    s.settings.Alpha = true;
    s.ShortcutKey = QStringLiteral("Meta+F12");
    SaveSettings(m_path, s);
    EXPECT_EQ(readFile(), QByteArray("; my launcher\r\n"
                                     "[position]\r\n"
                                     "tabpos=left\r\n"
                                     "Custom=kept\r\n"
                                     "TabAlign=Center\r\n"
                                     "Spacing=12\r\n"
                                     "Screen=1\r\n"
                                     "\r\n"
                                     "[General]\r\n"
                                     "; checks the web site\r\n"
                                     "AutoUpdate=Yes\r\n"
                                     "AOTMode=Normal\r\n"
                                     "ShortcutKey=Meta+F12\r\n"
                                     "\r\n"
                                     "[Appearance]\r\n"
                                     "Skin=Aqua\r\n"
                                     "Alpha=On\r\n"
                                     "AlphaV=200\r\n"
                                     "Colorize=Off\r\n"
                                     "ColorizeHue=0\r\n"
                                     "InvertLum=Off\r\n"
                                     "\r\n"
                                     "[Animation]\r\n"
                                     "Open=Accelerated\r\n"
                                     "Close=Accelerated\r\n"
                                     "ClickOpen=Off\r\n"));
}

TEST_F(SettingsFileTest, FailedWriteRaisesTheMessageAndLeavesTheOldFileWhole) {
    const QByteArray old = QByteArray("[Appearance]\nSkin=Old\n");
    writeFile(old);
    StoredSettings s = LoadSettings(m_path, folder());
    s.SkinName = QStringLiteral("New");
    {
        // The writer runs out of room after a few bytes, as on a full disk.
        FileSizeLimit limit(8);
        try {
            SaveSettings(m_path, s);
            ADD_FAILURE() << "the save reported success";
        } catch (const Error& e) {
            EXPECT_EQ(e.message(), QStringLiteral("Unable to write to ") + m_path);
        }
    }
    EXPECT_EQ(readFile(), old);
    EXPECT_EQ(QDir(m_appDir).entryList(QDir::Files), QStringList({QStringLiteral("Kelvara.cfg.ini")}));

    // A skin name with a line break would add lines of its own to the file.
    s.SkinName = QStringLiteral("Aqua\n[General]");
    EXPECT_THROW(SaveSettings(m_path, s), Error);
    EXPECT_EQ(readFile(), old);

    // The settings path taken by a folder.
    const QString folderPath = m_appDir + QStringLiteral("Taken.cfg.ini");
    ASSERT_TRUE(QDir().mkdir(folderPath));
    EXPECT_THROW(SaveSettings(folderPath, s), Error);
    EXPECT_TRUE(QFileInfo(folderPath).isDir());
}
