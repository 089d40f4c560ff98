#include "tabs/tab.h"

#include <optional>

#include <sys/stat.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QGuiApplication>
#include <QIcon>
#include <QImageWriter>
#include <QTemporaryDir>

#include "common/error.h"
#include "formats/shortcut_link.h"
#include "skins/skin.h"
#include "tabs/icon_theme.h"
#include "tabs/item_icon.h"
#include "pe_test_data.h"
#include "support/fifo_unblocker.h"
#include "support/qt_test_support.h"

namespace {

class TabTest : public ::testing::Test {
protected:
    void SetUp() override {
        EnsureApplication();
        m_skin.ItemHeight = 20;
        tab.TabFolder = m_dir.path();
        tab.Skin = &m_skin;
    }

    QString path(const QString& name) const { return m_dir.filePath(name); }

    void writeLink(const QString& name, const QString& target, const QString& iconLocation = QString(),
                   TShowCmd show = scShowNormal) {
        TShortcutLink link;
        link.ShortcutFile = path(name);
        link.Target = target;
        link.IconLocation = iconLocation;
        link.ShowCmd = show;
        link.Write();
    }

    void writeFile(const QString& name, const QByteArray& bytes) {
        QFile file(path(name));
        ASSERT_TRUE(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
        file.write(bytes);
    }

    QStringList captions() const {
        QStringList out;
        for (const TItem& item : tab.Items)
            out.append(item.Data.Name);
        return out;
    }

    TTab tab;

private:
    QTemporaryDir m_dir;
    TSkin m_skin;
};

QImage Square(int size, QRgb colour) {
    QImage image(size, size, QImage::Format_ARGB32);
    image.fill(colour);
    return image;
}

} // namespace

TEST_F(TabTest, ItemsComeInTheOrderFilesOrderWithItsCaptionsAndTheRealFiles) {
    tab.LoadItems();
    EXPECT_TRUE(tab.Items.isEmpty());
    EXPECT_EQ(tab.ItemsLength, 0);

    writeLink(QStringLiteral("a.lnk"), QStringLiteral("/targets/a"));
    writeLink(QStringLiteral("b.lnk"), QStringLiteral("/targets/b"));
    writeLink(QStringLiteral("c.lnk"), QStringLiteral("/targets/c"), QString(), scShowMaximized);
    writeFile(QStringLiteral("order.lst"), "b.lnk\r\nA.LNK\r\n");
    tab.LoadItems();
    EXPECT_EQ(captions(), QStringList({QStringLiteral("b"), QStringLiteral("A"), QStringLiteral("c")}));
    ASSERT_EQ(tab.Items.size(), 3);
    EXPECT_EQ(tab.Items[1].Data.LinkFile, path(QStringLiteral("a.lnk")));
    EXPECT_EQ(tab.Items[1].Data.Target, QStringLiteral("/targets/a"));
    EXPECT_EQ(tab.Items[2].Index, 2);
    EXPECT_EQ(tab.Items[2].Data.ShowCmd, 3);
    EXPECT_EQ(tab.ItemsLength, 60);

    tab.Skin = nullptr;
    tab.UpdateLength();
    EXPECT_EQ(tab.ItemsLength, 0);
}

TEST_F(TabTest, ABadNameOrShortcutIsNamedAndTheOtherItemsStillLoad) {
    writeLink(QStringLiteral("x%3Ay.lnk"), QStringLiteral("/t"));
    writeLink(QStringLiteral("z%zz.lnk"), QStringLiteral("/t"));
    writeFile(QStringLiteral("broken.lnk"), "not a shortcut");
    writeLink(QStringLiteral("last.lnk"), QStringLiteral("/t"));
    writeFile(QStringLiteral("order.lst"), "x%3Ay.lnk\r\nz%zz.lnk\r\nbroken.lnk\r\nlast.lnk\r\n");
    try {
        tab.LoadItems();
        ADD_FAILURE() << "no error";
    } catch (const Error& e) {
        EXPECT_EQ(
            e.message().split(QLatin1Char('\n')),
            QStringList(
                {QStringLiteral("'$zz' is not a valid integer value: ") + path(QStringLiteral("z%zz.lnk")),
                 QStringLiteral("Unable to open link file: ") + path(QStringLiteral("broken.lnk"))}));
    }
    EXPECT_EQ(captions(), QStringList({QStringLiteral("x:y"), QStringLiteral("last")}));
}

TEST_F(TabTest, AShortcutWhoseNameIsNotUtf8IsNamedNotHidden) {
    writeLink(QStringLiteral("good.lnk"), QStringLiteral("/t"));
    // Names in Latin-1, as an old archive or a Windows disk may bring them, with the extension in
    // any letter case; only shortcuts are named.
    const struct {
        QByteArray name;
        const char* shown; // empty: not a shortcut, nothing to report
    } rows[] = {
        {"caf\xe9.lnk", "caf\\xE9.lnk"}, {"caf\xe9.LNK", "caf\\xE9.LNK"},
        {"caf\xe9.Lnk", "caf\\xE9.Lnk"}, {"caf\xe9.txt", ""},
        {"caf\xe9.lnk.txt", ""},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(testing::Message() << "row " << &row - rows);
        const QByteArray latin1Name = QFile::encodeName(tab.TabFolder) + '/' + row.name;
        ASSERT_EQ(
            ::link(QFile::encodeName(path(QStringLiteral("good.lnk"))).constData(), latin1Name.constData()),
            0);
        try {
            tab.LoadItems();
            EXPECT_STREQ(row.shown, "") << "the item was left out without a word";
        } catch (const Error& e) {
            EXPECT_EQ(e.message(), QStringLiteral("Unable to open link file: ") +
                                       path(QString::fromLatin1(row.shown)) +
                                       QStringLiteral(" (its name is not valid UTF-8; rename it)"));
        }
        EXPECT_EQ(captions(), QStringList(QStringLiteral("good")));
        ASSERT_EQ(::unlink(latin1Name.constData()), 0);
    }
}

// A FIFO blocks whoever opens it until a writer comes: in place of a shortcut, an order file or an
// icon named by a desktop entry it must be passed over, not wait for ever.
TEST_F(TabTest, FifosAmongTheFilesAreNeverOpened) {
    for (const char* name : {"order.lst", "fifo.lnk", "icon.png"})
        ASSERT_EQ(mkfifo(QFile::encodeName(path(QString::fromLatin1(name))).constData(), 0600), 0);
    writeFile(QStringLiteral("app.desktop"), "[Desktop Entry]\nType=Application\nExec=true\nIcon=" +
                                                 path(QStringLiteral("icon.png")).toUtf8() + "\n");
    writeLink(QStringLiteral("app.lnk"), path(QStringLiteral("app.desktop")));
    writeLink(QStringLiteral("picture.lnk"), QStringLiteral("/t"), path(QStringLiteral("icon.png")));
    tab.LoadItems();
    // The desktop entry in the folder is an item of its own, after the shortcuts.
    EXPECT_EQ(captions(),
              QStringList({QStringLiteral("app"), QStringLiteral("picture"), QStringLiteral("app")}));
    // Making the icons ends too, and the items fall back on an icon of their own.
    tab.ReadIcons(1);
    EXPECT_FALSE(tab.Items[0].Icon.isNull());
    EXPECT_FALSE(tab.Items[1].Icon.isNull());
}

TEST_F(TabTest, AShortcutWithoutTargetGetsNothingFromTheItemBeforeIt) {
    TShortcutLink full;
    full.ShortcutFile = path(QStringLiteral("1.lnk"));
    full.Target = QStringLiteral("/bin/true");
    full.Arguments = QStringLiteral("-x");
    full.WorkingDir = QStringLiteral("/tmp");
    full.Description = QStringLiteral("full");
    full.IconLocation = QStringLiteral("/icon.png");
    full.IconNumber = 4;
    full.Write();
    TShortcutLink bare;
    bare.ShortcutFile = path(QStringLiteral("2.lnk"));
    bare.Write();
    writeFile(QStringLiteral("order.lst"), "1.lnk\r\n2.lnk\r\n");

    tab.LoadItems();
    ASSERT_EQ(tab.Items.size(), 2);
    const TItemData& second = tab.Items[1].Data;
    EXPECT_EQ(second.Target, QString());
    EXPECT_EQ(second.Arguments, QString());
    EXPECT_EQ(second.WorkingDir, QString());
    EXPECT_EQ(second.Description, QString());
    EXPECT_EQ(second.IconLocation, QString());
    EXPECT_EQ(second.IconIndex, 0);
    tab.ExecuteItem(1); // nothing to start, and no error
}

TEST_F(TabTest, MoveItemShiftsTheItemsBetween) {
    const struct {
        int from;
        int to;
        const char* result;
    } rows[] = {
        {0, 3, "BCAD"}, {3, 1, "ADBC"},  {2, 3, "ABCD"}, {2, 2, "ABCD"}, {0, 4, "BCDA"},
        {3, 0, "DABC"}, {-1, 2, "ABCD"}, {4, 0, "ABCD"}, {1, 5, "ABCD"},
    };
    for (const auto& row : rows) {
        tab.Items.clear();
        for (const char* name : {"A", "B", "C", "D"}) {
            TItemData data;
            data.Name = QString::fromLatin1(name);
            tab.AddItem(data);
        }
        tab.MoveItem(row.from, row.to);
        QString order;
        for (const TItem& item : tab.Items) {
            order += item.Data.Name;
            // The Index fields travel with their items.
            EXPECT_EQ(item.Index, item.Data.Name.front().unicode() - u'A');
        }
        EXPECT_EQ(order, QString::fromLatin1(row.result)) << row.from << " -> " << row.to;
    }
}

TEST_F(TabTest, FindItemGivesTheLastMatchInAnyLetterCase) {
    for (const char* file : {"/t/One.lnk", "/t/two.lnk", "/t/ONE.lnk"}) {
        TItemData data;
        data.LinkFile = QString::fromLatin1(file);
        tab.AddItem(data);
    }
    EXPECT_EQ(tab.FindItem(QStringLiteral("/t/one.lnk")), 2);
    EXPECT_EQ(tab.FindItem(QStringLiteral("/T/TWO.LNK")), 1);
    EXPECT_EQ(tab.FindItem(QStringLiteral("/t/three.lnk")), -1);
}

// A small icon theme of one colour per icon name, so that a test sees which name was taken.
class TestIconTheme {
public:
    explicit TestIconTheme(const QString& folder)
        : m_paths(QIcon::themeSearchPaths()), m_name(QIcon::themeName()) {
        const QString theme = folder + QStringLiteral("/TestTheme");
        QDir().mkpath(theme + QStringLiteral("/32x32/apps"));
        QFile index(theme + QStringLiteral("/index.theme"));
        EXPECT_TRUE(index.open(QIODevice::WriteOnly));
        index.write("[Icon Theme]\nName=Test\nDirectories=32x32/apps\n\n[32x32/apps]\nSize=32\nType=Fixed\n");
        index.close();
        for (const auto& [name, colour] : kIcons)
            Square(32, colour)
                .save(theme + QStringLiteral("/32x32/apps/") + QLatin1String(name) + QStringLiteral(".png"));
        QIcon::setThemeSearchPaths({folder});
        QIcon::setThemeName(QStringLiteral("TestTheme"));
    }
    ~TestIconTheme() {
        QIcon::setThemeSearchPaths(m_paths);
        QIcon::setThemeName(m_name);
    }

    static constexpr std::pair<const char*, QRgb> kIcons[] = {
        {"folder", qRgb(0, 160, 0)},
        {"text-x-generic", qRgb(128, 128, 128)},
        {"text-x-script", qRgb(200, 200, 0)},
        {"test-app", qRgb(200, 0, 200)},
    };
    static QRgb Colour(const char* name) {
        for (const auto& [icon, colour] : kIcons) {
            if (qstrcmp(icon, name) == 0)
                return colour;
        }
        return 0;
    }

private:
    QStringList m_paths;
    QString m_name;
};

// No item is blank: a shortcut's own icon comes first, then its target's (a picture, a program's
// icon group, a desktop entry's Icon=, a folder's icon, the MIME type's icon), then a generic one.
TEST_F(TabTest, EveryItemGetsAnIconFromTheBestSourceThereIs) {
    const TestIconTheme theme(path(QStringLiteral("icons")));
    ASSERT_TRUE(Square(16, qRgb(255, 0, 0)).save(path(QStringLiteral("red.png"))));
    ASSERT_TRUE(QImageWriter(path(QStringLiteral("blue.ico")), "ico").write(Square(32, qRgb(0, 0, 255))));
    writeFile(QStringLiteral("notes.txt"), "plain text");
    writeFile(QStringLiteral("run.sh"), "#!/bin/sh\necho hi\n");
    QFile::setPermissions(path(QStringLiteral("run.sh")),
                          QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    writeFile(QStringLiteral("Program.EXE"), pe_test::SampleProgram());
    writeFile(QStringLiteral("file.desktop"), "[Desktop Entry]\nType=Application\nExec=true\nIcon=" +
                                                  path(QStringLiteral("red.png")).toUtf8());
    writeFile(QStringLiteral("themed.desktop"),
              "[Desktop Entry]\nType=Application\nExec=true\nIcon=test-app.png\n");
    QDir().mkpath(path(QStringLiteral("Photos")));
    writeFile(QStringLiteral("Photos/.directory"), "[Desktop Entry]\nIcon=test-app\n");

    const QRgb drawn = 1; // Kelvara's own drawing: opaque in the middle
    const struct {
        const char* what;
        QString target;
        QString iconLocation;
        int index;
        QRgb centre;
    } rows[] = {
        {"png as icon location", QStringLiteral("/bin/true"), path(QStringLiteral("red.png")), 0,
         qRgb(255, 0, 0)},
        {"theme name as icon location", path(QStringLiteral("notes.txt")), QStringLiteral("test-app"), 0,
         TestIconTheme::Colour("test-app")},
        {"ico image 0", path(QStringLiteral("blue.ico")), QString(), 0, qRgb(0, 0, 255)},
        {"ico without image 1: a document", path(QStringLiteral("blue.ico")), QString(), 1,
         TestIconTheme::Colour("text-x-generic")},
        {"program icon 1", path(QStringLiteral("Program.EXE")), QString(), 1, qRgb(0, 0, 255)},
        {"program without icon 2", path(QStringLiteral("Program.EXE")), QString(), 2,
         TestIconTheme::Colour("text-x-generic")},
        {"desktop entry, icon file", path(QStringLiteral("file.desktop")), QString(), 0, qRgb(255, 0, 0)},
        {"desktop entry, theme icon", path(QStringLiteral("themed.desktop")), QString(), 0,
         TestIconTheme::Colour("test-app")},
        {"text document: its type's icon", path(QStringLiteral("notes.txt")), QString(), 0,
         TestIconTheme::Colour("text-x-generic")},
        {"script: its type's generic icon", path(QStringLiteral("run.sh")), QString(), 0,
         TestIconTheme::Colour("text-x-script")},
        {"folder", path(QString()), QString(), 0, TestIconTheme::Colour("folder")},
        {"folder with a .directory icon", path(QStringLiteral("Photos")), QString(), 0,
         TestIconTheme::Colour("test-app")},
        {"missing picture: its type by name", path(QStringLiteral("gone.png")), QString(), 0,
         TestIconTheme::Colour("text-x-generic")},
        {"theme name the theme lacks: the target's icon", path(QStringLiteral("run.sh")),
         QStringLiteral("kelvara-no-such-icon"), 0, TestIconTheme::Colour("text-x-script")},
        {"icon file that is no picture: the folder's icon", path(QStringLiteral("Photos")),
         path(QStringLiteral("notes.txt")), 0, TestIconTheme::Colour("test-app")},
        {"program on the PATH, no theme icon", QStringLiteral("kelvara-some-program"), QString(), 0, drawn},
        {"screen resolution macro, no theme icon", QStringLiteral("macro:screenres"), QString(), 0, drawn},
    };
    for (const auto& row : rows) {
        tab.Items.clear();
        TItemData data;
        data.Target = row.target;
        data.IconLocation = row.iconLocation;
        data.IconIndex = row.index;
        tab.AddItem(data);
        const QImage& icon = tab.Items.front().Icon;
        ASSERT_EQ(icon.size(), QSize(32, 32)) << row.what;
        if (row.centre == drawn)
            EXPECT_EQ(qAlpha(icon.pixel(16, 16)), 255) << row.what;
        else
            EXPECT_EQ(icon.pixel(16, 16), row.centre) << row.what;
        // The same source gives the icon at another size, for screens with more pixels.
        EXPECT_EQ(ItemIconImage(tab.Items.front().IconSource, 64).size(), QSize(64, 64)) << row.what;
    }
}

// Qt's theme lookup opens what it finds without asking what it is: a theme name that climbs out of
// the theme's folders, or a FIFO in the theme where a picture would be, must be passed over (the
// item gets the next icon there is), never opened.
TEST_F(TabTest, ThemeIconLookupsNeverOpenAFifo) {
    const TestIconTheme theme(path(QStringLiteral("icons")));
    const QString inTheme = path(QStringLiteral("icons/TestTheme/32x32/apps/fifo-app.png"));
    const QString outside = path(QStringLiteral("outside/x.png"));
    QDir().mkpath(path(QStringLiteral("outside")));
    for (const QString& fifo : {inTheme, outside})
        ASSERT_EQ(mkfifo(QFile::encodeName(fifo).constData(), 0600), 0);
    const FifoUnblocker unblocker({inTheme, outside});
    writeFile(QStringLiteral("notes.txt"), "plain text");
    const struct {
        const char* what;
        QByteArray entryIcon; // Icon= of a desktop entry as the target; empty: none
        QString iconLocation;
        QRgb centre; // 1: Kelvara's own drawing
    } rows[] = {
        {"FIFO in the theme, named by an entry", "fifo-app", {}, 1},
        {"FIFO reached by a shorter form of the name", "fifo-app-beta", {}, 1},
        {"name climbing out of the theme", "../../../../outside/x", {}, 1},
        {"FIFO in the theme as icon location",
         {},
         QStringLiteral("fifo-app"),
         TestIconTheme::Colour("text-x-generic")},
        {"climbing icon location",
         {},
         QStringLiteral("../../../../outside/x"),
         TestIconTheme::Colour("text-x-generic")},
    };
    for (const auto& row : rows) {
        tab.Items.clear();
        TItemData data;
        if (!row.entryIcon.isEmpty()) {
            writeFile(QStringLiteral("entry.desktop"),
                      "[Desktop Entry]\nType=Application\nExec=true\nIcon=" + row.entryIcon + '\n');
            data.Target = path(QStringLiteral("entry.desktop"));
        } else {
            data.Target = path(QStringLiteral("notes.txt"));
        }
        data.IconLocation = row.iconLocation;
        tab.AddItem(data);
        const QImage& icon = tab.Items.front().Icon;
        ASSERT_EQ(icon.size(), QSize(32, 32)) << row.what;
        if (row.centre == 1)
            EXPECT_EQ(qAlpha(icon.pixel(16, 16)), 255) << row.what;
        else
            EXPECT_EQ(icon.pixel(16, 16), row.centre) << row.what;
    }
    EXPECT_FALSE(unblocker.unblocked()) << "a theme lookup waited on a FIFO";
}

// Items made from desktop entries before they were named after the entry carry the entry's file
// name; they show the application's name in the user's language. A name the user gave stays.
TEST_F(TabTest, AnItemNamedAfterItsDesktopFileShowsTheApplicationsName) {
    writeFile(QStringLiteral("org.example.Editor.desktop"),
              "[Desktop Entry]\nType=Application\nExec=true\nName=Text Editor\nName[de]=Texteditor\n");
    const QString entry = path(QStringLiteral("org.example.Editor.desktop"));
    QDir().mkpath(path(QStringLiteral("Tab")));
    tab.TabFolder = path(QStringLiteral("Tab"));
    writeLink(QStringLiteral("Tab/org.example.Editor.lnk"), entry);
    writeLink(QStringLiteral("Tab/Notes.lnk"), entry);
    const QByteArray oldLanguage = qgetenv("LANGUAGE");
    for (const auto& [language, name] : {std::pair{"", "Text Editor"}, std::pair{"de", "Texteditor"}}) {
        qputenv("LANGUAGE", language);
        tab.LoadItems();
        QStringList shown = captions();
        shown.sort();
        EXPECT_EQ(shown, (QStringList{QStringLiteral("Notes"), QString::fromUtf8(name)})) << language;
    }
    qputenv("LANGUAGE", oldLanguage);
}

TEST_F(TabTest, AnIconFileThatChangesIsReadAgain) {
    const QString file = path(QStringLiteral("icon.png"));
    auto centreOfIcon = [&] {
        tab.Items.clear();
        TItemData data;
        data.Target = QStringLiteral("/bin/true");
        data.IconLocation = file;
        tab.AddItem(data);
        return tab.Items.front().Icon.pixel(16, 16);
    };
    ASSERT_TRUE(Square(16, qRgb(255, 0, 0)).save(file));
    EXPECT_EQ(centreOfIcon(), qRgb(255, 0, 0));
    EXPECT_EQ(centreOfIcon(), qRgb(255, 0, 0)); // read again unchanged

    // Another picture of another size: the file's size differs.
    ASSERT_TRUE(Square(24, qRgb(0, 0, 255)).save(file));
    EXPECT_EQ(centreOfIcon(), qRgb(0, 0, 255));

    // The same size in bytes, written within the same second: only the time tells them apart.
    const QDateTime stamp = QFileInfo(file).lastModified();
    ASSERT_TRUE(Square(24, qRgb(0, 255, 0)).save(file));
    QFile touched(file);
    ASSERT_TRUE(touched.open(QIODevice::ReadWrite));
    ASSERT_TRUE(touched.setFileTime(stamp.addSecs(5), QFileDevice::FileModificationTime));
    touched.close();
    EXPECT_EQ(centreOfIcon(), qRgb(0, 255, 0));
}

// The icon theme the desktop or the user chose is kept. Only when there is none, or only the bare
// "hicolor" (no folder, document or program icons), is a full theme that is installed taken in
// its place: Adwaita, then breeze.
TEST_F(TabTest, TheUsersIconThemeIsKeptUnlessEmptyOrHicolor) {
    // Whatever happens here, the tests after this one find the themes and folders as they were.
    struct Restore {
        QStringList paths = QIcon::themeSearchPaths();
        QString theme = QIcon::themeName();
        std::optional<QByteArray> home = Variable("XDG_DATA_HOME");
        std::optional<QByteArray> dirs = Variable("XDG_DATA_DIRS");
        static std::optional<QByteArray> Variable(const char* name) {
            return qEnvironmentVariableIsSet(name) ? std::optional(qgetenv(name)) : std::nullopt;
        }
        static void Set(const char* name, const std::optional<QByteArray>& value) {
            value ? qputenv(name, *value) : qunsetenv(name);
        }
        ~Restore() {
            Set("XDG_DATA_HOME", home);
            Set("XDG_DATA_DIRS", dirs);
            QIcon::setThemeSearchPaths(paths);
            QIcon::setThemeName(theme);
        }
    } restore;
    const struct {
        const char* theme;     // the theme set when the program starts
        const char* installed; // the themes in the data folder, separated by spaces
        const char* used;
    } rows[] = {
        {"Papirus", "Adwaita breeze", "Papirus"},
        {"breeze", "Adwaita breeze", "breeze"},
        {"HighContrast", "", "HighContrast"},
        {"hicolor", "Adwaita breeze", "Adwaita"},
        {"hicolor", "breeze", "breeze"},
        {"hicolor", "", "hicolor"},
        {"", "Adwaita", "Adwaita"},
        {"", "", "hicolor"},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(testing::Message() << "theme '" << row.theme << "', installed: " << row.installed);
        QTemporaryDir data;
        for (const QString& theme : QString::fromLatin1(row.installed).split(u' ', Qt::SkipEmptyParts)) {
            const QString folder = data.path() + QStringLiteral("/icons/") + theme;
            ASSERT_TRUE(QDir().mkpath(folder));
            QFile index(folder + QStringLiteral("/index.theme"));
            ASSERT_TRUE(index.open(QIODevice::WriteOnly));
            index.write("[Icon Theme]\nName=" + theme.toUtf8() + "\nDirectories=\n");
        }
        qputenv("XDG_DATA_HOME", QFile::encodeName(data.path() + QStringLiteral("/home")));
        qputenv("XDG_DATA_DIRS", QFile::encodeName(data.path()));
        QIcon::setThemeSearchPaths({});
        QIcon::setThemeName(QString::fromLatin1(row.theme));
        ASSERT_EQ(QIcon::themeName(), QString::fromLatin1(row.theme));
        UseDesktopIconTheme();
        EXPECT_EQ(QIcon::themeName(), QString::fromLatin1(row.used));
    }
}

// Shortcuts and desktop entries are the items of a tab folder, in the order file's order; an entry
// without a name shows its file's name, and one that cannot be read is named like a bad shortcut.
TEST_F(TabTest, DesktopEntriesAreItemsBesideShortcuts) {
    writeLink(QStringLiteral("a.lnk"), QStringLiteral("/targets/a"));
    writeFile(QStringLiteral("web.desktop"),
              "[Desktop Entry]\nType=Link\nName=Web Site\nURL=https://example.org/\n");
    writeFile(QStringLiteral("plain.desktop"), "[Desktop Entry]\nType=Application\nExec=true\n");
    writeFile(QStringLiteral("broken.desktop"), "not a desktop entry");
    writeFile(QStringLiteral("notes.txt"), "not an item");
    writeFile(QStringLiteral("order.lst"), "plain.desktop\r\na.lnk\r\n");
    try {
        tab.LoadItems();
        ADD_FAILURE() << "no error";
    } catch (const Error& e) {
        EXPECT_EQ(e.message(),
                  QStringLiteral("Unable to read desktop entry: ") + path(QStringLiteral("broken.desktop")));
    }
    EXPECT_EQ(captions(),
              QStringList({QStringLiteral("plain"), QStringLiteral("a"), QStringLiteral("Web Site")}));
    EXPECT_EQ(tab.Items[2].Data.Target, path(QStringLiteral("web.desktop")));
}
