#include <QDir>
#include <QFile>
#include <QFontInfo>
#include <QGuiApplication>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include "skins/font_substitutions.h"
#include "skins/skin.h"
#include "skins/skin_fonts.h"

namespace {

// The shipped skin that brings its own fonts.
const QString FontSkin = QStringLiteral("Slate");

QString ShippedSkinDir() {
    return QStringLiteral(KELVARA_SOURCE_DIR "/data/");
}

struct GuiApplication {
    int argc = 1;
    char name[8] = "test";
    char* argv[1] = {name};
    QGuiApplication app{argc, argv};
};

} // namespace

TEST(SkinFonts, WithoutAGuiApplicationOnlyTheListChanges) {
    ASSERT_EQ(QCoreApplication::instance(), nullptr);
    RegisterSkinFont(QStringLiteral("/nowhere/a.ttf"));
    RegisterSkinFont(QStringLiteral("/nowhere/b.ttf"));
    EXPECT_EQ(SkinFonts(), (QStringList{QStringLiteral("/nowhere/a.ttf"), QStringLiteral("/nowhere/b.ttf")}));
    UnregisterSkinFonts();
    EXPECT_TRUE(SkinFonts().isEmpty());
    UnregisterSkinFonts(); // a second call finds the list empty
}

TEST(SkinFonts, LoadingRegistersTheSkinsFontsEveryTime) {
    GuiApplication gui;
    QTemporaryDir dir;
    const QString skinDir = dir.path() + u"/Fonted/";
    QDir().mkpath(skinDir);
    QFile(skinDir + u"skin.ini").open(QIODevice::WriteOnly);
    QFile junk(skinDir + u"Broken.TTF");
    ASSERT_TRUE(junk.open(QIODevice::WriteOnly));
    junk.write("not a font");
    junk.close();
    const QStringList shippedFonts = QDir(ShippedSkinDir() + FontSkin).entryList({QStringLiteral("*.ttf")});
    ASSERT_FALSE(shippedFonts.isEmpty());
    QFile::copy(ShippedSkinDir() + FontSkin + u'/' + shippedFonts[0], skinDir + u"face.ttf");

    // Each change of the font table makes Qt drop its font caches.
    int tableChanges = 0;
    QObject::connect(&gui.app, &QGuiApplication::fontDatabaseChanged, [&] { ++tableChanges; });

    TSkin skin;
    const QStringList skins{QStringLiteral("Fonted")};
    skin.Load(QStringLiteral("Fonted"), {}, skins, {dir.path() + u'/'}, false);
    QStringList expected = SkinFonts();
    EXPECT_EQ(expected.size(), 2);
    EXPECT_TRUE(expected.contains(skinDir + u"Broken.TTF")); // kept though it cannot be registered
    EXPECT_TRUE(expected.contains(skinDir + u"face.ttf"));
    const int changesAtFirstLoad = tableChanges;
    EXPECT_GE(changesAtFirstLoad, 1);
    // Loaded again (as the settings dialog's preview does): listed again, the table left alone.
    skin.Load(QStringLiteral("Fonted"), {}, skins, {dir.path() + u'/'}, false);
    EXPECT_EQ(SkinFonts().size(), 4);
    EXPECT_EQ(tableChanges, changesAtFirstLoad);
    UnregisterSkinFonts();
    EXPECT_TRUE(SkinFonts().isEmpty());
    EXPECT_EQ(tableChanges, changesAtFirstLoad + 1); // the shared registration removed once
}

TEST(SkinFonts, ShippedSkinFontsResolveWhenRegistered) {
    GuiApplication gui;
    TSkin skin;
    skin.Load(FontSkin, {}, {FontSkin}, {ShippedSkinDir()}, false);
    ASSERT_FALSE(SkinFonts().isEmpty());
    for (const QString& face : {skin.TitleFont, skin.TextFont})
        EXPECT_EQ(QFontInfo(QFont(face)).family(), face);
    UnregisterSkinFonts();
}

TEST(FontSubstitutions, WindowsFaceNamesResolveToInstalledLookAlikes) {
    GuiApplication gui;
    InstallFontSubstitutions();
    EXPECT_EQ(QFontInfo(QFont(QStringLiteral("MS Sans Serif"))).family(), u"Liberation Sans");
    EXPECT_EQ(QFontInfo(QFont(QStringLiteral("Verdana"))).family(), u"DejaVu Sans");
}
