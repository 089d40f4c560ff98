#include "platform/desktop_icon_theme.h"

#include <functional>

#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QIcon>
#include <QTemporaryDir>

#include "formats/xsettings_format.h"
#include "tabs/icon_theme.h"
#include "support/qt_test_support.h"

using namespace Qt::StringLiterals;

namespace {

auto InstalledOf(const QStringList& themes) {
    return [themes](const QString& name) { return themes.contains(name); };
}

TEST(ChosenIconTheme, TakesThePlatformsThemeElseTheFirstInstalledChoiceThatIsNotHicolor) {
    struct Row {
        const char* what;
        const char* choices[4]; // platform, settings daemon, GTK file, desktop
        const char* installed;  // names separated by spaces
        const char* chosen;
    };
    const char* all = "Tango Papirus Adwaita breeze hicolor";
    const Row rows[] = {
        {"the platform theme's answer", {"Papirus", "Tango", "Tango", "Tango"}, all, "Papirus"},
        {"hicolor names no choice", {"hicolor", "", "Tango", ""}, all, "Tango"},
        {"the settings daemon before the GTK file", {"", "Papirus", "Tango", ""}, all, "Papirus"},
        {"the GTK file under a plain window manager", {"hicolor", "", "Tango", ""}, all, "Tango"},
        {"the desktop's own setting last", {"", "", "", "breeze"}, all, "breeze"},
        {"a chosen theme not installed is passed over", {"", "Missing", "Tango", ""}, all, "Tango"},
        {"the platform's theme is kept as it stands", {"Missing", "", "Tango", ""}, all, "Missing"},
        {"no choice: Adwaita", {"hicolor", "", "", ""}, all, "Adwaita"},
        {"no choice and no Adwaita: breeze", {"", "", "", ""}, "breeze hicolor", "breeze"},
        {"nothing but hicolor", {"", "", "Missing", ""}, "hicolor", "hicolor"},
    };
    for (const Row& row : rows) {
        const IconThemeChoices choices{QString::fromUtf8(row.choices[0]), QString::fromUtf8(row.choices[1]),
                                       QString::fromUtf8(row.choices[2]), QString::fromUtf8(row.choices[3])};
        const QStringList installed = QString::fromUtf8(row.installed).split(u' ');
        EXPECT_EQ(ChosenIconTheme(choices, InstalledOf(installed)), QString::fromUtf8(row.chosen))
            << row.what;
    }
}

TEST(GtkIconThemeSetting, ReadsTheSettingsGroup) {
    const std::pair<const char*, const char*> rows[] = {
        {"[Settings]\ngtk-icon-theme-name=Tango\n", "Tango"},
        {"[Settings]\r\ngtk-theme-name=Adwaita\r\ngtk-icon-theme-name = \"Papirus Dark\"\r\n",
         "Papirus Dark"},
        {"# comment\n[Other]\ngtk-icon-theme-name=Tango\n", ""},
        {"gtk-icon-theme-name=Tango\n", ""},
        {"", ""},
    };
    for (const auto& [text, name] : rows)
        EXPECT_EQ(GtkIconThemeSetting(text), QString::fromUtf8(name)) << text;
}

class DesktopFiles : public testing::Test {
protected:
    void Write(const QString& relative, const QByteArray& text) {
        const QString path = m_home.filePath(relative);
        QDir().mkpath(QFileInfo(path).absolutePath());
        QFile file(path);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(text);
    }
    QTemporaryDir m_home;
};

TEST_F(DesktopFiles, EachDesktopKeepsItsChoiceInItsOwnFile) {
    Write(u"kdeglobals"_s, "[General]\nName=x\n[Icons]\nTheme=Papirus\n");
    Write(u"lxqt/lxqt.conf"_s, "[General]\nicon_theme=Tango\n");
    Write(u"xfce4/xfconf/xfce-perchannel-xml/xsettings.xml"_s,
          "<channel name=\"xsettings\">\n  <property name=\"Net\" type=\"empty\">\n"
          "    <property name=\"IconThemeName\" type=\"string\" value=\"elementary\"/>\n");
    const QString home = m_home.path();
    EXPECT_EQ(DesktopIconThemeSetting(u"KDE"_s, home), u"Papirus"_s);
    EXPECT_EQ(DesktopIconThemeSetting(u"LXQt"_s, home), u"Tango"_s);
    EXPECT_EQ(DesktopIconThemeSetting(u"XFCE"_s, home), u"elementary"_s);
    EXPECT_EQ(DesktopIconThemeSetting(u"openbox"_s, home), u""_s);
    EXPECT_EQ(DesktopIconThemeSetting(u""_s, home), u""_s);
    // KDE without a choice shows its own default.
    EXPECT_EQ(DesktopIconThemeSetting(u"KDE"_s, home + u"/none"_s), u"breeze"_s);
    EXPECT_EQ(IconThemeSettingFiles(u"KDE"_s, home),
              QStringList({home + u"/gtk-3.0/settings.ini"_s, home + u"/kdeglobals"_s}));
    EXPECT_EQ(IconThemeSettingFiles(u"openbox"_s, home), QStringList({home + u"/gtk-3.0/settings.ini"_s}));
}

// XSETTINGS data in the given byte order: an integer, a colour and the string settings.
QByteArray XSettings(bool bigEndian, const QList<std::pair<QByteArray, QByteArray>>& strings) {
    QByteArray data;
    auto card = [&](uint32_t value, int bytes) {
        for (int i = 0; i < bytes; ++i) {
            const int shift = 8 * (bigEndian ? bytes - 1 - i : i);
            data.append(char((value >> shift) & 0xFF));
        }
    };
    auto padded = [&](const QByteArray& bytes) {
        data.append(bytes);
        data.append(QByteArray((4 - bytes.size() % 4) % 4, '\0'));
    };
    data.append(char(bigEndian ? 1 : 0));
    data.append(QByteArray(3, '\0'));
    card(7, 4);
    card(2 + uint32_t(strings.size()), 4);
    data.append(char(0)).append('\0');
    card(17, 2);
    padded("Net/DoubleClickTime");
    card(0, 4);
    card(400, 4);
    data.append(char(2)).append('\0');
    card(13, 2);
    padded("Gtk/BgColour!");
    card(0, 4);
    card(1, 2), card(2, 2), card(3, 2), card(4, 2);
    for (const auto& [name, value] : strings) {
        data.append(char(1)).append('\0');
        card(uint32_t(name.size()), 2);
        padded(name);
        card(0, 4);
        card(uint32_t(value.size()), 4);
        padded(value);
    }
    return data;
}

TEST(XSettingsString, FindsTheStringInEitherByteOrder) {
    for (bool bigEndian : {false, true}) {
        const QByteArray data =
            XSettings(bigEndian, {{"Net/ThemeName", "Adwaita"}, {"Net/IconThemeName", "Tango"}});
        EXPECT_EQ(XSettingsString(data, "Net/IconThemeName"), u"Tango"_s) << bigEndian;
        EXPECT_EQ(XSettingsString(data, "Net/ThemeName"), u"Adwaita"_s) << bigEndian;
        EXPECT_EQ(XSettingsString(data, "Net/CursorThemeName"), std::nullopt) << bigEndian;
    }
}

TEST(XSettingsString, DataThatEndsEarlyOrLiesAboutLengthsGivesNothing) {
    const QByteArray data = XSettings(false, {{"Net/IconThemeName", "Tango"}});
    // Cut at every length: the string is found only when whole.
    for (qsizetype size = 0; size < data.size(); ++size)
        EXPECT_EQ(XSettingsString(data.left(size), "Net/IconThemeName"), std::nullopt) << size;
    QByteArray hugeCount = data;
    hugeCount[8] = char(0xFF), hugeCount[9] = char(0xFF), hugeCount[10] = char(0xFF),
    hugeCount[11] = char(0xFF);
    EXPECT_EQ(XSettingsString(hugeCount, "Net/IconThemeName"), u"Tango"_s);
    QByteArray hugeName = data;
    hugeName[14] = char(0xFF), hugeName[15] = char(0xFF);
    EXPECT_EQ(XSettingsString(hugeName, "Net/IconThemeName"), std::nullopt);
    QByteArray unknownType = data;
    unknownType[12] = char(9);
    EXPECT_EQ(XSettingsString(unknownType, "Net/IconThemeName"), std::nullopt);
}

// A private icon folder with two themes and a GTK settings file naming one of them; the
// application's icon theme follows the file.
class FollowedTheme : public DesktopFiles {
protected:
    void SetUp() override {
        EnsureApplication();
        ASSERT_TRUE(m_data.isValid());
        for (const char* theme : {"Tango", "Papirus"})
            WriteTheme(QString::fromUtf8(theme));
        qputenv("XDG_CONFIG_HOME", m_home.path().toUtf8());
        qputenv("XDG_DATA_HOME", m_data.path().toUtf8());
        qunsetenv("XDG_CURRENT_DESKTOP");
    }
    void TearDown() override {
        qunsetenv("XDG_CONFIG_HOME");
        qunsetenv("XDG_DATA_HOME");
    }
    void WriteTheme(const QString& name) {
        QDir().mkpath(m_data.filePath(u"icons/"_s + name));
        QFile file(m_data.filePath(u"icons/"_s + name + u"/index.theme"_s));
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write("[Icon Theme]\nName=" + name.toUtf8() + "\nDirectories=\n");
    }
    void ChooseInGtk(const QByteArray& theme) {
        Write(u"gtk-3.0/settings.ini"_s, "[Settings]\ngtk-icon-theme-name=" + theme + "\n");
    }
    QTemporaryDir m_data;
};

TEST_F(FollowedTheme, TheGtkSettingIsUsedWithoutADesktop) {
    ChooseInGtk("Tango");
    UseDesktopIconTheme();
    EXPECT_EQ(QIcon::themeName(), u"Tango"_s);
    // A settings daemon's answer counts before the file.
    EXPECT_TRUE(UseDesktopIconTheme(u"Papirus"_s));
    EXPECT_EQ(QIcon::themeName(), u"Papirus"_s);
    EXPECT_TRUE(UseDesktopIconTheme());
    EXPECT_EQ(QIcon::themeName(), u"Tango"_s);
    EXPECT_FALSE(UseDesktopIconTheme());
}

TEST_F(FollowedTheme, AChangeOfTheFileShowsWhileRunning) {
    ChooseInGtk("Tango");
    DesktopIconTheme follower;
    ASSERT_EQ(QIcon::themeName(), u"Tango"_s);
    int changes = 0;
    QObject::connect(&follower, &DesktopIconTheme::changed, [&] { ++changes; });
    // Written anew under its name, as settings programs do.
    const QString path = m_home.filePath(u"gtk-3.0/settings.ini"_s);
    QFile replacement(path + u".new"_s);
    ASSERT_TRUE(replacement.open(QIODevice::WriteOnly));
    replacement.write("[Settings]\ngtk-icon-theme-name=Papirus\n");
    replacement.close();
    ASSERT_TRUE(QFile::remove(path) && QFile::rename(path + u".new"_s, path));
    ASSERT_TRUE(WaitUntil([&] { return changes > 0; })) << "no change was reported";
    EXPECT_EQ(QIcon::themeName(), u"Papirus"_s);
    // And once more, written in place.
    changes = 0;
    ChooseInGtk("Tango");
    ASSERT_TRUE(WaitUntil([&] { return changes > 0; })) << "the second change was not reported";
    EXPECT_EQ(QIcon::themeName(), u"Tango"_s);
}

} // namespace
