#include "core/controller.h"

#include <sys/stat.h>

#include <gtest/gtest.h>

#include <QApplication>
#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QMenu>
#include <QScreen>
#include <QTemporaryDir>
#include <QTimer>

#include "common/names.h"
#include "config/config_dialog.h"
#include "formats/shortcut_link.h"
#include "tabwindow/tab_window.h"
#include "ui/error_report.h"
#include "ui/error_window.h"
#include "ui/item_properties_dialog.h"
#include "ui/loading_window.h"
#include "support/app_environment.h"
#include "support/qt_test_support.h"

namespace {

AppEnvironment* const Environment = RegisterAppEnvironment();

QStringList Names(std::initializer_list<const char*> names) {
    QStringList list;
    for (const char* name : names)
        list.append(QString::fromUtf8(name));
    return list;
}

// A program folder in a temporary directory with the shipped Aqua skin and splash clip.
class ProgramFolderFixture : public testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(m_dir.isValid());
        m_app = m_dir.path() + QStringLiteral("/");
        CopyFolder(QStringLiteral(KELVARA_SOURCE_DIR "/data/Aqua"), m_app + QStringLiteral("Aqua"));
        QFile::copy(QStringLiteral(KELVARA_SOURCE_DIR "/data/Loading.avi"),
                    m_app + QStringLiteral("Loading.avi"));
        qputenv("XDG_DATA_HOME", (m_dir.path() + QStringLiteral("/share")).toUtf8());
        if (TfrmError* errors = ErrorDialog())
            errors->close();
    }
    void TearDown() override { m_controller.reset(); }

    static void CopyFolder(const QString& from, const QString& to) {
        QDir().mkpath(to);
        for (const QString& name : QDir(from).entryList(QDir::Files))
            QFile::copy(from + QLatin1Char('/') + name, to + QLatin1Char('/') + name);
    }

    QString Tabs() const { return m_app + QStringLiteral("Tabs"); }
    void MakeTab(const QString& name) { QDir().mkpath(Tabs() + QLatin1Char('/') + name); }
    void WriteFile(const QString& path, const QByteArray& bytes) {
        QFile file(path);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(bytes);
    }
    static QByteArray ReadFile(const QString& path) {
        QFile file(path);
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
    }
    QString MakeShortcut(const QString& tab, const QString& fileName, const QString& target) {
        TShortcutLink link;
        link.ShortcutFile = Tabs() + QLatin1Char('/') + tab + QLatin1Char('/') + fileName;
        link.Target = target;
        link.Write();
        return link.ShortcutFile;
    }

    TfrmRunning& Start(const QStringList& arguments = {}) {
        m_controller = std::make_unique<TfrmRunning>(ProgramFolder(m_app + QStringLiteral("Kelvara")),
                                                     arguments, m_prompts);
        m_controller->Start();
        return *m_controller;
    }

    QStringList TabNames() const {
        QStringList names;
        for (TfrmTab* window : m_controller->TabWindows())
            names.append(window->TabModel().TabName);
        return names;
    }

    QStringList ErrorLines() const { return ErrorDialog() ? ErrorDialog()->Lines() : QStringList(); }

    QTemporaryDir m_dir;
    QString m_app;
    FakePrompts m_prompts;
    std::unique_ptr<TfrmRunning> m_controller;
};

using Controller = ProgramFolderFixture;

TEST_F(Controller, BuildsOneWindowPerTabInStoredOrderAlongTheEdge) {
    for (const char* name : {"A", "B", "C"})
        MakeTab(QString::fromLatin1(name));
    // C first, A named twice: a name listed twice gives two windows for that folder.
    WriteFile(Tabs() + QStringLiteral("/order.lst"), "C\r\nA\r\na\r\n");
    TfrmRunning& controller = Start();

    EXPECT_EQ(TabNames(), (Names({"C", "A", "a", "B"})));
    const QList<TfrmTab*>& windows = controller.TabWindows();
    for (qsizetype i = 0; i < windows.size(); ++i) {
        EXPECT_EQ(windows[i]->TabModel().TabIndex, i);
        EXPECT_EQ(windows[i]->TabModel().TabCount, 4);
        EXPECT_TRUE(windows[i]->isVisible());
        if (i > 0) // centred row, 12 pixels apart with Aqua's width
            EXPECT_EQ(windows[i]->x() - windows[i - 1]->x(), controller.CurrentSkin().TabWidth + 12);
    }
    EXPECT_EQ(windows[2]->TabModel().TabFolder, Tabs() + QStringLiteral("/A"));
    EXPECT_FALSE(controller.LoadingSplash()->isVisible());
}

TEST_F(Controller, WithoutTabsItAsksForANameAndCancellingEndsTheProgram) {
    TfrmRunning& controller = Start();
    ASSERT_FALSE(m_prompts.shown.empty());
    EXPECT_EQ(m_prompts.shown.back().caption, QStringLiteral("New Tab"));
    EXPECT_EQ(m_prompts.shown.back().text, QStringLiteral("Enter name for Tab:"));
    EXPECT_TRUE(controller.TabWindows().isEmpty());
    EXPECT_TRUE(controller.EndRequested());
    EXPECT_EQ(controller.ExitStatus(), 0); // the user's choice, not a failure
}

TEST_F(Controller, NewTabNamesAreEscapedAndShownAsStored) {
    m_prompts.texts = {QStringLiteral("A/B:C")};
    TfrmRunning& controller = Start();
    EXPECT_FALSE(controller.EndRequested());
    EXPECT_TRUE(QFileInfo(Tabs() + QStringLiteral("/A%2FB%3AC")).isDir());
    EXPECT_EQ(TabNames(), QStringList{QStringLiteral("A%2FB%3AC")});
}

TEST_F(Controller, AnInstallationKeepsTheUsersDataOutOfThePrefix) {
    const QString prefix = m_dir.path() + QStringLiteral("/prefix");
    CopyFolder(QStringLiteral(KELVARA_SOURCE_DIR "/data/Aqua"),
               prefix + QStringLiteral("/share/kelvara/Aqua"));
    const auto prefixFiles = [&] {
        QStringList files;
        for (QDirIterator it(prefix, QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot,
                             QDirIterator::Subdirectories);
             it.hasNext();)
            files.append(it.next());
        return files;
    };
    const QStringList shipped = prefixFiles();
    const QString user = m_dir.path() + QStringLiteral("/data/kelvara/");

    // A first start: the user's folder does not exist yet.
    m_prompts.texts = {QStringLiteral("Apps")};
    m_controller = std::make_unique<TfrmRunning>(
        ProgramFolder(prefix + QStringLiteral("/bin/kelvara"), m_dir.path() + QStringLiteral("/data")),
        QStringList(), m_prompts);
    m_controller->Start();
    ASSERT_FALSE(m_controller->EndRequested());
    EXPECT_EQ(TabNames(), QStringList{QStringLiteral("Apps")});
    EXPECT_TRUE(QFileInfo(user + QStringLiteral("Tabs/Apps")).isDir());
    m_controller->SaveSettings();
    EXPECT_TRUE(QFileInfo::exists(user + QStringLiteral("Kelvara.cfg.ini")));
    EXPECT_EQ(prefixFiles(), shipped);
}

TEST_F(Controller, TheSwitchRefusesToRunInAnyLetterCaseOnly) {
    MakeTab(QStringLiteral("A"));
    Start({QStringLiteral("/nont"), QStringLiteral("xNONT")});
    EXPECT_FALSE(m_controller->EndRequested());
    EXPECT_TRUE(m_prompts.shown.empty());

    Start({QStringLiteral("nOnT")});
    EXPECT_TRUE(m_controller->EndRequested());
    EXPECT_EQ(m_controller->ExitStatus(), 1);
    ASSERT_EQ(m_prompts.shown.size(), 1u);
    EXPECT_EQ(m_prompts.shown[0].text, QStringLiteral("Sorry, Kelvara 2.0 doesn't work on windows 95/98/ME"));
    EXPECT_TRUE(m_controller->TabWindows().isEmpty());
}

TEST_F(Controller, NoSkinFolderEndsTheProgramWithItsMessage) {
    QDir(m_app + QStringLiteral("Aqua")).removeRecursively();
    QDir().mkpath(m_app + QStringLiteral("NotASkin")); // a folder without skin.ini does not count
    MakeTab(QStringLiteral("A"));
    TfrmRunning& controller = Start();
    EXPECT_TRUE(controller.EndRequested());
    EXPECT_EQ(controller.ExitStatus(), 1); // a failed start ends with a non-zero status
    ASSERT_EQ(m_prompts.shown.size(), 1u);
    EXPECT_EQ(m_prompts.shown[0].text, QStringLiteral("No skins found!"));
    EXPECT_TRUE(controller.SkinList().isEmpty());
    EXPECT_TRUE(controller.TabWindows().isEmpty());
}

TEST_F(Controller, RenamingATabUsesTheAnswerAsTypedButNeverMovesItElsewhere) {
    for (const char* name : {"A", "B", "C"})
        MakeTab(QString::fromLatin1(name));
    WriteFile(Tabs() + QStringLiteral("/order.lst"), "A\r\nB\r\nC\r\n");
    TfrmRunning& controller = Start();
    auto renameTab = [&](int index, const QString& answer) {
        TItem target;
        target.Index = -1;
        target.Data.Name = TabNames().at(index);
        target.Data.LinkFile = controller.TabWindows().at(index)->TabModel().TabFolder;
        m_prompts.texts = {answer};
        QTimer::singleShot(0, controller.Menu().pmMain, &QMenu::close);
        controller.ShowPopup(target, QPoint(10, 10), controller.TabWindows().at(index));
        controller.Rename1Click();
    };

    renameTab(0, QStringLiteral("B/A")); // would move A into B: refused
    EXPECT_TRUE(QFileInfo(Tabs() + QStringLiteral("/A")).isDir());
    EXPECT_FALSE(QFileInfo(Tabs() + QStringLiteral("/B/A")).exists());
    renameTab(0, QStringLiteral("C")); // the name exists: refused
    EXPECT_EQ(TabNames(), (Names({"A", "B", "C"})));

    // A plain new name moves behind the tabs the order file still names; a colon is an ordinary
    // character of folder names here.
    renameTab(0, QStringLiteral("x:y"));
    EXPECT_EQ(TabNames(), (Names({"B", "C", "x:y"})));
    // A case change renames the folder; the title keeps the order file's spelling.
    renameTab(0, QStringLiteral("b"));
    EXPECT_TRUE(QDir(Tabs()).entryList(QDir::Dirs | QDir::NoDotAndDotDot).contains(QStringLiteral("b")));
    EXPECT_FALSE(QDir(Tabs()).entryList(QDir::Dirs | QDir::NoDotAndDotDot).contains(QStringLiteral("B")));
    EXPECT_EQ(TabNames(), (Names({"B", "C", "x:y"})));
    EXPECT_EQ(controller.TabWindows().at(0)->TabModel().TabFolder, Tabs() + QStringLiteral("/b"));
}

TEST_F(Controller, RenamingAnItemEscapesTheAnswerAndKeepsItsPlace) {
    MakeTab(QStringLiteral("Tools"));
    MakeShortcut(QStringLiteral("Tools"), QStringLiteral("First.lnk"), QStringLiteral("/bin/true"));
    const QString editor =
        MakeShortcut(QStringLiteral("Tools"), QStringLiteral("Editor.lnk"), QStringLiteral("/bin/ed"));
    MakeShortcut(QStringLiteral("Tools"), QStringLiteral("Last.lnk"), QStringLiteral("/bin/false"));
    WriteFile(Tabs() + QStringLiteral("/Tools/order.lst"), "First.lnk\r\nEditor.lnk\r\nLast.lnk\r\n");
    TfrmRunning& controller = Start();
    const TItem item = controller.TabWindows().at(0)->TabModel().Items.at(1);
    ASSERT_EQ(item.Data.LinkFile, editor);

    m_prompts.texts = {QStringLiteral("Text: Editor")};
    QTimer::singleShot(0, controller.Menu().pmMain, &QMenu::close);
    controller.ShowPopup(item, QPoint(10, 10), controller.TabWindows().at(0));
    controller.Rename1Click();

    EXPECT_TRUE(QFile::exists(Tabs() + QStringLiteral("/Tools/Text%3A Editor.lnk")));
    EXPECT_FALSE(QFile::exists(editor));
    const QList<TItem>& items = controller.TabWindows().at(0)->TabModel().Items;
    ASSERT_EQ(items.size(), 3);
    EXPECT_EQ(items.at(1).Data.Name, QStringLiteral("Text: Editor"));
}

// A desktop entry shows the name it holds: renaming it sets that name (the translation the user's
// language shows, when there is one) and renames its file, keeping its place.
TEST_F(Controller, RenamingADesktopEntrySetsTheNameItShows) {
    const QByteArray language = qgetenv("LANGUAGE");
    qputenv("LANGUAGE", "de");
    MakeTab(QStringLiteral("Tools"));
    MakeShortcut(QStringLiteral("Tools"), QStringLiteral("First.lnk"), QStringLiteral("/bin/true"));
    WriteFile(Tabs() + QStringLiteral("/Tools/web.desktop"),
              "[Desktop Entry]\nType=Application\nName=Web Browser\nName[de]=Webbrowser\nExec=web\n");
    WriteFile(Tabs() + QStringLiteral("/Tools/edit.desktop"),
              "[Desktop Entry]\nType=Application\nName=Editor\nExec=ed\n");
    WriteFile(Tabs() + QStringLiteral("/Tools/order.lst"), "First.lnk\r\nweb.desktop\r\nedit.desktop\r\n");
    TfrmRunning& controller = Start();
    const qsizetype errors = ErrorLines().size();
    const struct {
        int index;
        const char *shown, *answer, *file, *content;
    } rows[] = {
        {1, "Webbrowser", "Netz", "Netz.desktop",
         "[Desktop Entry]\nType=Application\nName=Web Browser\nName[de]=Netz\nExec=web\n"},
        {2, "Editor", "Text: Editor", "Text%3A Editor.desktop",
         "[Desktop Entry]\nType=Application\nName=Text: Editor\nExec=ed\n"},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.answer);
        const TItem item = controller.TabWindows().at(0)->TabModel().Items.at(row.index);
        ASSERT_EQ(item.Data.Name, QString::fromUtf8(row.shown));
        m_prompts.texts = {QString::fromUtf8(row.answer)};
        QTimer::singleShot(0, controller.Menu().pmMain, &QMenu::close);
        controller.ShowPopup(item, QPoint(10, 10), controller.TabWindows().at(0));
        controller.Rename1Click();
        EXPECT_FALSE(QFile::exists(item.Data.LinkFile));
        const QString renamed = Tabs() + QStringLiteral("/Tools/") + QString::fromUtf8(row.file);
        EXPECT_EQ(QString::fromUtf8(ReadFile(renamed)), QString::fromUtf8(row.content));
        const TItem shown = controller.TabWindows().at(0)->TabModel().Items.at(row.index);
        EXPECT_EQ(shown.Data.Name, QString::fromUtf8(row.answer));
        EXPECT_EQ(shown.Data.LinkFile, renamed);
    }
    EXPECT_EQ(ErrorLines().size(), errors) << ErrorLines().join(QLatin1Char('\n')).toStdString();
    qputenv("LANGUAGE", language);
}

TEST_F(Controller, ThePopupShowsEditOnlyForItemsAndRestoresTheTimers) {
    MakeTab(QStringLiteral("Tools"));
    MakeShortcut(QStringLiteral("Tools"), QStringLiteral("Editor.lnk"), QStringLiteral("/bin/ed"));
    TfrmRunning& controller = Start();
    TfrmTab* window = controller.TabWindows().at(0);
    window->tmrDrop().start();
    bool suspended = false;
    QTimer::singleShot(0, controller.Menu().pmMain, [&] {
        suspended = !window->tmrDrop().isActive() && !controller.tmrOnTop().isActive();
        controller.Menu().pmMain->close();
    });
    controller.ShowPopup(window->TabModel().Items.at(0), QPoint(5, 5), window);
    EXPECT_TRUE(suspended);
    EXPECT_TRUE(window->tmrDrop().isActive());
    EXPECT_TRUE(controller.Menu().Edit1->isVisible());
    EXPECT_TRUE(controller.Menu().N2->isVisible());

    TItem tab;
    tab.Index = -1;
    QTimer::singleShot(0, controller.Menu().pmMain, &QMenu::close);
    controller.ShowPopup(tab, QPoint(5, 5), window);
    EXPECT_FALSE(controller.Menu().Edit1->isVisible());
    EXPECT_FALSE(controller.Menu().N2->isVisible());
    controller.Edit1Click(); // nothing for a tab
    EXPECT_TRUE(controller.findChildren<TfrmItemProperties*>().isEmpty());
}

TEST_F(Controller, DeletingTheLastTabLeadsToTheQuestionForANewOne) {
    MakeTab(QStringLiteral("Only"));
    MakeShortcut(QStringLiteral("Only"), QStringLiteral("x.lnk"), QStringLiteral("/bin/true"));
    TfrmRunning& controller = Start();
    TItem tab;
    tab.Index = -1;
    tab.Data.Name = QStringLiteral("Only");
    tab.Data.LinkFile = Tabs() + QStringLiteral("/Only");
    QTimer::singleShot(0, controller.Menu().pmMain, &QMenu::close);
    controller.ShowPopup(tab, QPoint(5, 5), controller.TabWindows().at(0));
    m_prompts.answers = {true};                  // yes, move it to the trash
    m_prompts.texts = {QStringLiteral("Fresh")}; // the name of the new tab
    controller.Delete1Click();

    EXPECT_FALSE(QFileInfo::exists(Tabs() + QStringLiteral("/Only")));
    EXPECT_TRUE(QFile::exists(m_dir.path() + QStringLiteral("/share/Trash/files/Only/x.lnk")));
    EXPECT_EQ(m_prompts.shown.back().caption, QStringLiteral("New Tab"));
    EXPECT_EQ(TabNames(), QStringList{QStringLiteral("Fresh")});
}

TEST_F(Controller, ARebuildRequestedDuringARebuildRunsOnceAfterIt) {
    MakeTab(QStringLiteral("A"));
    MakeTab(QStringLiteral("B"));
    WriteFile(Tabs() + QStringLiteral("/order.lst"), "A\r\nB\r\n");
    TfrmRunning& controller = Start();
    // The rebuild processes pending events; a request arriving then must not nest.
    int requests = 0;
    QTimer::singleShot(0, &controller, [&] {
        ++requests;
        MakeTab(QStringLiteral("C"));
        controller.RebuildTabs();
        EXPECT_EQ(controller.TabWindows().size(), 0); // still inside the first rebuild
    });
    controller.RebuildTabs();
    EXPECT_EQ(requests, 1);
    EXPECT_EQ(TabNames(), (Names({"A", "B", "C"})));
    // Released windows go away in the event loop.
    EXPECT_TRUE(WaitUntil([&] { return controller.findChildren<TfrmTab*>().isEmpty(); }));
}

TEST_F(Controller, ARenameThatCannotHappenChangesNothingAndSaysWhy) {
    MakeTab(QStringLiteral("Tools"));
    for (const char* name : {"One.lnk", "Two.lnk", "Three.lnk"})
        MakeShortcut(QStringLiteral("Tools"), QString::fromLatin1(name), QStringLiteral("/bin/true"));
    const QByteArray order = "One.lnk\r\nTwo.lnk\r\nThree.lnk\r\n";
    WriteFile(Tabs() + QStringLiteral("/Tools/order.lst"), order);
    TfrmRunning& controller = Start();
    // "one" differs only in case: the order file would take it for One all the same.
    for (const QString& answer : {QStringLiteral("One"), QStringLiteral("one")}) {
        const TItem three = controller.TabWindows().at(0)->TabModel().Items.at(2);
        m_prompts.texts = {answer};
        QTimer::singleShot(0, controller.Menu().pmMain, &QMenu::close);
        controller.ShowPopup(three, QPoint(10, 10), controller.TabWindows().at(0));
        controller.Rename1Click();
        const QStringList errors = ErrorLines();
        EXPECT_EQ(errors.isEmpty() ? QString() : errors.last(),
                  QStringLiteral("An item named %1 already exists.").arg(answer));
    }
    EXPECT_EQ(QDir(Tabs() + QStringLiteral("/Tools")).entryList(QDir::Files, QDir::Name),
              (Names({"One.lnk", "Three.lnk", "Two.lnk", "order.lst"})));
    QFile file(Tabs() + QStringLiteral("/Tools/order.lst"));
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    EXPECT_EQ(file.readAll(), order);
}

// More tabs than the screen can hold: the ones that fit get windows, on the screen, and the rest
// cost nothing; the user is told once. An order file naming one tab thousands of times is the same.
TEST_F(Controller, TabsPastTheScreenGetNoWindowAndAreReportedOnce) {
    QByteArray order;
    for (int i = 0; i < 200; ++i)
        MakeTab(QStringLiteral("Tab %1").arg(i, 3, 10, QLatin1Char('0')));
    const qsizetype earlier = ErrorLines().size();
    TfrmRunning& controller = Start();
    const QRect screen = QGuiApplication::primaryScreen()->availableGeometry();
    const qsizetype shown = controller.TabWindows().size();
    ASSERT_GE(shown, 1);
    ASSERT_LT(shown, 200);
    for (TfrmTab* window : controller.TabWindows())
        EXPECT_TRUE(screen.contains(window->geometry())) << window->TabModel().TabName.toStdString();
    const QString message = QStringLiteral("The tabs do not fit on the screen: %1 of 200 are shown; use a "
                                           "smaller spacing, another edge or fewer tabs.")
                                .arg(shown);
    EXPECT_EQ(ErrorLines().mid(earlier), QStringList(message));
    controller.RebuildTabs();
    EXPECT_EQ(ErrorLines().mid(earlier), QStringList(message));

    for (int i = 0; i < 4096; ++i)
        order += "Tab 000\r\n";
    WriteFile(Tabs() + QStringLiteral("/order.lst"), order);
    controller.RebuildTabs();
    EXPECT_EQ(controller.TabWindows().size(), shown);
}

// A shortcut key from a hand-edited settings file that names no key is said once, not at every
// later grab (the settings dialog closing grabs the key again); an empty one is no mistake.
TEST_F(Controller, AShortcutKeyThatNamesNoKeyIsReportedOnce) {
    const struct {
        const char* key;
        bool reported;
    } rows[] = {{"Ctrl+Alt+Nothing", true},
                {"Ctrl+Alt", true},
                {"", false},
                {"Ctrl+Alt+K", false},
                // A key without Ctrl, Alt or Super would be taken from every program's typing, and
                // of a sequence only the first key could be grabbed.
                {"A", true},
                {",", true},
                {"Space", true},
                {"Shift+F5", true},
                {"Ctrl+K, Ctrl+L", true},
                {"Meta+F12", false},
                {"Alt+Space", false},
                {"Ctrl+Shift+,", false}};
    for (const auto& row : rows) {
        SCOPED_TRACE(row.key);
        MakeTab(QStringLiteral("A"));
        WriteFile(m_app + QStringLiteral("Kelvara.cfg.ini"),
                  QByteArray("[General]\r\nShortcutKey=") + row.key);
        const qsizetype earlier = ErrorLines().size();
        TfrmRunning& controller = Start();
        controller.configClosed();
        const QStringList reports = ErrorLines().mid(earlier);
        if (row.reported) {
            EXPECT_EQ(reports,
                      QStringList(QStringLiteral("The shortcut key \"%1\" of the settings file names no key "
                                                 "Kelvara can use; choose another one on the General page "
                                                 "of the settings.")
                                      .arg(QString::fromUtf8(row.key))));
        } else {
            EXPECT_TRUE(reports.isEmpty()) << reports.join(QLatin1Char('\n')).toStdString();
        }
        m_controller.reset();
    }
}

// The shortcut key opens the first tab, later the one opened last (by the pointer too), with the
// keyboard. The arrows across the items go along the row and stop at its ends, Tab and Shift+Tab
// go round; the tab left behind closes.
TEST_F(Controller, TheShortcutKeyOpensTheTabLastOpenedAndTheKeysGoAlongTheRow) {
    for (const char* name : {"A", "B", "C"})
        MakeTab(QString::fromLatin1(name));
    TfrmRunning& controller = Start();
    const QList<TfrmTab*> row = controller.TabWindows();
    ASSERT_EQ(row.size(), 3);
    const auto press = [&](int key, Qt::KeyboardModifiers modifiers = Qt::NoModifier) {
        for (TfrmTab* window : row) {
            if (window->KeyboardOpen()) {
                QKeyEvent event(QEvent::KeyPress, key, modifiers);
                QCoreApplication::sendEvent(window, &event);
                return;
            }
        }
    };
    const auto open = [&] {
        QString names;
        for (TfrmTab* window : row)
            names += window->KeyboardOpen() ? window->TabModel().TabName : QString();
        return names;
    };
    controller.ShortcutKeyPressed(0);
    EXPECT_EQ(open(), QStringLiteral("A"));
    press(Qt::Key_Left);
    EXPECT_EQ(open(), QStringLiteral("A"));
    press(Qt::Key_Backtab, Qt::ShiftModifier);
    EXPECT_EQ(open(), QStringLiteral("C"));
    EXPECT_TRUE(row[0]->Animation().Closing());
    press(Qt::Key_Right);
    EXPECT_EQ(open(), QStringLiteral("C"));
    press(Qt::Key_Tab);
    press(Qt::Key_Right);
    EXPECT_EQ(open(), QStringLiteral("B"));
    press(Qt::Key_Escape);
    EXPECT_TRUE(open().isEmpty());

    for (TfrmTab* window : row) {
        while (window->tmrAnim().isActive())
            window->tmrAnimTimer();
    }
    row[2]->SetOpen(true); // the pointer opens C
    row[2]->SetOpen(false);
    controller.ShortcutKeyPressed(0);
    EXPECT_EQ(open(), QStringLiteral("C"));
}

// A spacing far past the screen, from the settings file or typed in the dialog, cannot overflow
// the placement or put the row off the screen, where no tab could be reached to fix it.
TEST_F(Controller, AHugeSpacingStillLeavesATabOnTheScreen) {
    MakeTab(QStringLiteral("Only"));
    WriteFile(m_app + QStringLiteral("Kelvara.cfg.ini"),
              "[Position]\nTabAlign=TopLeft\nSpacing=2147483647\n");
    TfrmRunning& controller = Start();
    EXPECT_EQ(controller.Stored().settings.Spacing, kMaxSpacing);
    ASSERT_EQ(controller.TabWindows().size(), 1);
    const QRect screen = QGuiApplication::primaryScreen()->availableGeometry();
    EXPECT_TRUE(screen.contains(controller.TabWindows().at(0)->geometry()));
}

TEST_F(Controller, ATabFolderWhoseNameIsNotUtf8IsNamedNotHidden) {
    MakeTab(QStringLiteral("Work"));
    const QByteArray latin1Name = QFile::encodeName(Tabs()) + "/Caf\xe9";
    ASSERT_EQ(mkdir(latin1Name.constData(), 0700), 0);
    Start();
    EXPECT_EQ(TabNames(), (Names({"Work"})));
    EXPECT_TRUE(ErrorLines().contains(
        QStringLiteral("The tab folder ") + Tabs() +
        QStringLiteral("/Caf\\xE9 is not shown: its name is not valid UTF-8; rename it.")));
}

TEST_F(Controller, AnUnreadableShortcutIsReportedAndTheOtherTabsStillBuild) {
    MakeTab(QStringLiteral("A"));
    MakeTab(QStringLiteral("B"));
    MakeShortcut(QStringLiteral("A"), QStringLiteral("good.lnk"), QStringLiteral("/bin/true"));
    WriteFile(Tabs() + QStringLiteral("/A/zz.lnk"), "not a shortcut");
    MakeShortcut(QStringLiteral("B"), QStringLiteral("bad%zz.lnk"), QStringLiteral("/bin/true"));
    WriteFile(Tabs() + QStringLiteral("/A/order.lst"), "good.lnk\r\nzz.lnk\r\n");
    WriteFile(Tabs() + QStringLiteral("/order.lst"), "A\r\nB\r\n");
    TfrmRunning& controller = Start();
    EXPECT_EQ(TabNames(), (Names({"A", "B"})));
    EXPECT_EQ(controller.TabWindows().at(0)->TabModel().Items.size(), 1);
    // The shortcuts are read in the background: the second tab's message comes when its read has.
    ASSERT_TRUE(WaitUntil([&] { return ErrorLines().size() >= 2; }));
    const QStringList errors = ErrorLines();
    ASSERT_GE(errors.size(), 2);
    EXPECT_EQ(
        errors.mid(errors.size() - 2),
        QStringList({QStringLiteral("Unable to open link file: ") + Tabs() + QStringLiteral("/A/zz.lnk"),
                     QStringLiteral("'$zz' is not a valid integer value: ") + Tabs() +
                         QStringLiteral("/B/bad%zz.lnk")}));
}

TEST_F(Controller, TheOlderTabListIsImportedOnceAndKeptInsideTheTabsFolder) {
    WriteFile(m_app + QStringLiteral("Kelvara.ini"),
              "[Tools]\r\nEdit=/usr/bin/ed#-p x\r\nHash=/opt/a#\r\nEmpty=\r\n"
              "[Nothing]\r\n[..]\r\nEscape=/bin/sh\r\n");
    TfrmRunning& controller = Start();
    TShortcutLink link;
    link.ShortcutFile = Tabs() + QStringLiteral("/Tools/Edit.lnk");
    link.Read();
    EXPECT_EQ(link.Target, QStringLiteral("/usr/bin/ed"));
    EXPECT_EQ(link.Arguments, QStringLiteral("-p x"));
    EXPECT_EQ(link.WorkingDir, QStringLiteral("/usr/bin/"));
    link.ShortcutFile = Tabs() + QStringLiteral("/Tools/Hash.lnk");
    link.Read();
    EXPECT_EQ(link.Target, QStringLiteral("/opt/a#"));
    EXPECT_TRUE(link.Arguments.isEmpty());
    EXPECT_FALSE(QFile::exists(Tabs() + QStringLiteral("/Tools/Empty.lnk")));
    EXPECT_TRUE(QFileInfo(Tabs() + QStringLiteral("/Nothing")).isDir());
    EXPECT_TRUE(QFile::exists(Tabs() + QStringLiteral("/%2E%2E/Escape.lnk")));
    EXPECT_FALSE(QFile::exists(m_app + QStringLiteral("Escape.lnk")));
    EXPECT_FALSE(QFile::exists(m_app + QStringLiteral("Kelvara.ini")));
    EXPECT_TRUE(QFile::exists(m_app + QStringLiteral("Kelvara.ini.bak")));
    EXPECT_EQ(controller.TabWindows().size(), 3);
}

// The import runs once even when an earlier list was set aside already, never writes over a
// shortcut or through a link, and a shortcut it cannot write is named with the reason while the
// rest is imported and the program starts.
TEST_F(Controller, TheOlderTabListIsImportedOnceWithoutOverwritingAndSkipsWhatCannotBeWritten) {
    const QString home = m_dir.path() + QStringLiteral("/home");
    QDir().mkpath(home);
    WriteFile(home + QStringLiteral("/notes.txt"), "the user's notes");
    WriteFile(m_app + QStringLiteral("Kelvara.ini.bak"), "an earlier list");
    const QByteArray longName(300, 'x');
    WriteFile(m_app + QStringLiteral("Kelvara.ini"),
              "[Tools]\r\nEdit=/usr/bin/ed\r\nKept=/bin/true\r\nLinked=/bin/sh\r\n" + longName +
                  "=/bin/true\r\nLast=/bin/false\r\n");
    MakeTab(QStringLiteral("Tools"));
    MakeShortcut(QStringLiteral("Tools"), QStringLiteral("Kept.lnk"), QStringLiteral("/usr/bin/vi"));
    ASSERT_TRUE(
        QFile::link(home + QStringLiteral("/notes.txt"), Tabs() + QStringLiteral("/Tools/Linked.lnk")));

    const qsizetype earlier = ErrorLines().size();
    TfrmRunning& controller = Start();
    EXPECT_FALSE(controller.EndRequested());
    const auto target = [&](const char* name) {
        TShortcutLink link;
        link.ShortcutFile = Tabs() + QStringLiteral("/Tools/") + QString::fromLatin1(name);
        link.Read();
        return link.Target;
    };
    EXPECT_EQ(target("Edit.lnk"), QStringLiteral("/usr/bin/ed"));
    EXPECT_EQ(target("Last.lnk"), QStringLiteral("/bin/false"));
    EXPECT_EQ(target("Kept.lnk"), QStringLiteral("/usr/bin/vi"));
    EXPECT_TRUE(QFileInfo(Tabs() + QStringLiteral("/Tools/Linked.lnk")).isSymLink());
    EXPECT_EQ(ReadFile(home + QStringLiteral("/notes.txt")), QByteArray("the user's notes"));
    const QString list = m_app + QStringLiteral("Kelvara.ini");
    // (The tab's own read of the linked shortcut may add a line of its own.)
    EXPECT_EQ(
        ErrorLines().mid(earlier).filter(QStringLiteral("older tab list")),
        QStringList(
            {QStringLiteral("The shortcut Linked of the older tab list %1 is not imported as %2: another "
                            "entry of that name is in the way.")
                 .arg(list, Tabs() + QStringLiteral("/Tools/Linked.lnk")),
             QStringLiteral("The shortcut %1 of the older tab list %2 is not imported as %3: File "
                            "name too long.")
                 .arg(QString::fromLatin1(longName), list,
                      Tabs() + QStringLiteral("/Tools/") + QString::fromLatin1(longName) +
                          QStringLiteral(".lnk"))}));
    EXPECT_FALSE(QFile::exists(list));
    EXPECT_EQ(ReadFile(list + QStringLiteral(".bak")), QByteArray("an earlier list"));
    EXPECT_TRUE(QFile::exists(list + QStringLiteral(".bak2")));

    // The next start imports nothing: a shortcut deleted meanwhile stays deleted.
    m_controller.reset();
    ASSERT_TRUE(QFile::remove(Tabs() + QStringLiteral("/Tools/Edit.lnk")));
    Start();
    EXPECT_FALSE(QFile::exists(Tabs() + QStringLiteral("/Tools/Edit.lnk")));
    EXPECT_FALSE(QFile::exists(list + QStringLiteral(".bak3")));
}

TEST_F(Controller, AnImportThatCannotMakeItsTabFolderSaysSoAndStarts) {
    WriteFile(m_app + QStringLiteral("Kelvara.ini"), "[Tools]\r\nEdit=/usr/bin/ed\r\n");
    WriteFile(Tabs(), "a file where the tabs folder should be");
    const qsizetype earlier = ErrorLines().size();
    m_controller = std::make_unique<TfrmRunning>(ProgramFolder(m_app + QStringLiteral("Kelvara")),
                                                 QStringList(), m_prompts);
    EXPECT_NO_THROW(m_controller->Start());
    EXPECT_EQ(ErrorLines().mid(earlier).value(0),
              QStringLiteral(
                  "The tab Tools of the older tab list %1 is not imported: the folder %2 cannot be made.")
                  .arg(m_app + QStringLiteral("Kelvara.ini"), Tabs() + QStringLiteral("/Tools")));
    EXPECT_EQ(ReadFile(Tabs()), QByteArray("a file where the tabs folder should be"));
}

// A tab folder made and a shortcut written by another program (a file manager, a sync tool) show
// without Refresh.
TEST_F(Controller, ChangesOnDiskFromOutsideRebuildTheTabSet) {
    MakeTab(QStringLiteral("A"));
    TfrmRunning& controller = Start();
    ASSERT_EQ(TabNames(), Names({"A"}));
    int rebuilds = 0;
    QObject::connect(&controller, &TfrmRunning::TabsRebuilt, [&] { ++rebuilds; });
    MakeTab(QStringLiteral("B"));
    MakeShortcut(QStringLiteral("A"), QStringLiteral("Shell.lnk"), QStringLiteral("/bin/sh"));
    const auto tabA = [&]() -> const TTab* {
        for (const TfrmTab* window : controller.TabWindows()) {
            if (window->TabModel().TabName == QLatin1String("A"))
                return &window->TabModel();
        }
        return nullptr;
    };
    // The tab set as a whole is rebuilt: a rebuild never adds to the old one.
    ASSERT_TRUE(WaitUntil([&] { return TabNames().size() == 2 && tabA() && tabA()->Items.size() == 1; }));
    EXPECT_GE(rebuilds, 1);
    EXPECT_TRUE(TabNames().contains(QStringLiteral("B")));
}

TEST_F(Controller, TheAggressiveModeRunsTheOnTopTimerOnly) {
    MakeTab(QStringLiteral("A"));
    WriteFile(m_app + QStringLiteral("Kelvara.cfg.ini"), "[General]\r\nAOTMode=aggressive\r\n");
    TfrmRunning& controller = Start();
    EXPECT_TRUE(controller.tmrOnTop().isActive());
    controller.stored().AOTMode = StackingMode::Normal;
    controller.setAggressiveTimer(false);
    EXPECT_FALSE(controller.tmrOnTop().isActive());
    EXPECT_EQ(controller.Context().aot, StackingMode::Normal);
}

} // namespace

namespace {

using Action = InstanceRequest::Action;

QString KeyboardOpenTabs(const TfrmRunning& controller) {
    QString names;
    for (TfrmTab* window : controller.TabWindows())
        names += window->KeyboardOpen() ? window->TabModel().TabName : QString();
    return names;
}

void CloseAll(const TfrmRunning& controller) {
    for (TfrmTab* window : controller.TabWindows()) {
        QKeyEvent escape(QEvent::KeyPress, Qt::Key_Escape, Qt::NoModifier);
        if (window->KeyboardOpen())
            QCoreApplication::sendEvent(window, &escape);
        while (window->tmrAnim().isActive())
            window->tmrAnimTimer();
    }
}

// What a later start asks of the running instance: Activate and Open act as the shortcut key
// does, on the tab opened last or on the one named (by its name, in any letter case, or by its
// folder); a name that fits no tab is reported.
TEST_F(Controller, RequestsToOpenActLikeTheShortcutKey) {
    for (const char* name : {"Apps", "Games", "Web"})
        MakeTab(QString::fromLatin1(name));
    TfrmRunning& controller = Start();
    ASSERT_EQ(controller.TabWindows().size(), 3);
    struct Row {
        InstanceRequest request;
        const char* open;
    };
    const Row rows[] = {
        {{Action::Activate, {}, 0}, "Apps"},
        {{Action::Open, QStringLiteral("Web"), 0}, "Web"},
        {{Action::Activate, {}, 0}, "Web"}, // the tab opened last
        {{Action::Open, {}, 0}, "Web"},
        {{Action::Open, QStringLiteral("gAMES"), 0}, "Games"},
        {{Action::Open, Tabs() + QStringLiteral("/Apps"), 0}, "Apps"},
        {{Action::Open, QStringLiteral("Nothing"), 0}, ""},
    };
    for (const Row& row : rows) {
        controller.CarryOut(row.request);
        EXPECT_EQ(KeyboardOpenTabs(controller), QString::fromLatin1(row.open))
            << row.request.tab.toStdString();
        CloseAll(controller);
    }
    EXPECT_TRUE(ErrorLines().contains(QStringLiteral("There is no tab named Nothing.")))
        << ErrorLines().join(u'\n').toStdString();

    // Asked for while the tab is open from the keyboard already, it stays open and keeps the focus.
    controller.CarryOut({Action::Open, QStringLiteral("Games"), 0});
    controller.CarryOut({Action::Open, QStringLiteral("Games"), 0});
    EXPECT_EQ(KeyboardOpenTabs(controller), QStringLiteral("Games"));
    CloseAll(controller);
}

// A request is carried out once the event loop turns, after the one who asked has had the answer.
TEST_F(Controller, ARequestWaitsForTheEventLoop) {
    MakeTab(QStringLiteral("A"));
    TfrmRunning& controller = Start();
    controller.Request({Action::Activate, {}, 0});
    EXPECT_TRUE(KeyboardOpenTabs(controller).isEmpty());
    EXPECT_TRUE(WaitUntil([&] { return !KeyboardOpenTabs(controller).isEmpty(); }))
        << "the queued request was not carried out";
    CloseAll(controller);
}

TEST_F(Controller, RequestsForTheSettingsRefreshAndQuit) {
    MakeTab(QStringLiteral("A"));
    TfrmRunning& controller = Start();

    // The settings dialog opens once; asked for again, the one open is brought forward.
    controller.CarryOut({Action::Settings, {}, 0});
    ASSERT_TRUE(controller.ConfigOpen());
    TfrmConfig* dialog = controller.ConfigDialog();
    controller.CarryOut({Action::Settings, {}, 0});
    EXPECT_EQ(controller.ConfigDialog(), dialog);
    EXPECT_EQ(controller.findChildren<TfrmConfig*>().size(), 1);
    dialog->close();
    EXPECT_TRUE(WaitUntil([&] { return !controller.ConfigOpen(); }));

    // Refresh reads the tab set again: a tab made meanwhile shows.
    MakeTab(QStringLiteral("B"));
    controller.CarryOut({Action::Refresh, {}, 0});
    EXPECT_EQ(TabNames(), (Names({"A", "B"})));

    // Quit ends the program as Exit does, with the settings written: here there was no file yet.
    const QString settings = m_app + QStringLiteral("Kelvara.cfg.ini");
    ASSERT_FALSE(QFile::exists(settings));
    controller.CarryOut({Action::Quit, {}, 0});
    EXPECT_TRUE(controller.EndRequested());
    QFile file(settings);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    EXPECT_TRUE(file.readAll().contains("ShortcutKey=Ctrl+Alt+K"));
    // Once the end is asked for, nothing more is done.
    controller.CarryOut({Action::Activate, {}, 0});
    EXPECT_TRUE(KeyboardOpenTabs(controller).isEmpty());
}

// Add Applications adds to the tab named, or the one opened last, as the menu of that tab does.
TEST_F(Controller, RequestsToAddApplicationsAddToTheTabNamed) {
    for (const char* name : {"A", "B"})
        MakeTab(QString::fromLatin1(name));
    TfrmRunning& controller = Start();
    QStringList dialogsFor;
    const auto answer = [&] {
        // The dialog is modal: it is shut from a timer once it shows.
        QTimer::singleShot(0, [&] {
            if (QWidget* modal = QApplication::activeModalWidget()) {
                dialogsFor.append(controller.PopupItem().Data.Name);
                modal->close();
            }
        });
    };
    answer();
    controller.CarryOut({Action::AddApplications, QStringLiteral("B"), 0});
    answer();
    controller.CarryOut({Action::AddApplications, {}, 0});
    controller.CarryOut({Action::AddApplications, QStringLiteral("None"), 0});
    EXPECT_EQ(dialogsFor, (Names({"B", "A"})));
    EXPECT_EQ(controller.PopupItem().Index, -1);
    EXPECT_TRUE(ErrorLines().contains(QStringLiteral("There is no tab named None.")));
}

} // namespace
