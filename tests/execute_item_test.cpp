#include "tabs/tab.h"

#include <gtest/gtest.h>

#include <QDesktopServices>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QGuiApplication>
#include <QTemporaryDir>
#include <QUrl>

#include "common/error.h"
#include "formats/shortcut_link.h"
#include "platform/display_mode.h"
#include "tabs/screen_resolution.h"
#include "support/file_bytes.h"

namespace {

void EnsureApplication() {
    static int argc = 1;
    static char name[] = "execute_item_test";
    static char* argv[] = {name, nullptr};
    static QGuiApplication* app = qApp ? nullptr : new QGuiApplication(argc, argv);
    (void)app;
}

// Takes the addresses the desktop would be asked to open.
class UrlCatcher : public QObject {
    Q_OBJECT
public:
    QList<QUrl> urls;
public Q_SLOTS:
    void open(const QUrl& url) { urls.append(url); }
};

class ExecuteItemTest : public ::testing::Test {
protected:
    void SetUp() override {
        EnsureApplication();
        ASSERT_TRUE(QDir().mkpath(tabFolder()));
        ASSERT_TRUE(QDir().mkpath(path(QStringLiteral("work"))));
        tab.TabFolder = tabFolder();
    }

    void TearDown() override { SetDisplayModeChanger({}); }

    QString path(const QString& name) const { return m_dir.filePath(name); }
    QString tabFolder() const { return path(QStringLiteral("Tab")); }

    // A script that records its working folder and arguments, one a line, once it has run.
    QString writeScript(bool executable = true) {
        const QString script = path(QStringLiteral("bin/record.sh"));
        QDir().mkpath(path(QStringLiteral("bin")));
        QFile file(script);
        EXPECT_TRUE(file.open(QIODevice::WriteOnly));
        file.write("#!/bin/sh\n{ pwd; for a in \"$@\"; do echo \"$a\"; done; } > \"" + marker().toUtf8() +
                   ".tmp\"\nmv \"" + marker().toUtf8() + ".tmp\" \"" + marker().toUtf8() + "\"\n");
        file.close();
        if (executable)
            file.setPermissions(file.permissions() | QFileDevice::ExeOwner);
        return script;
    }

    QString marker() const { return path(QStringLiteral("ran.txt")); }

    // An application entry whose program starts in the folder "work"; returns its path.
    QString writeApplicationEntry(const QString& name, const QByteArray& keys) {
        QFile entry(path(name));
        EXPECT_TRUE(entry.open(QIODevice::WriteOnly));
        entry.write("[Desktop Entry]\nType=Application\n" + keys +
                    "Path=" + path(QStringLiteral("work")).toUtf8() + "\n");
        return entry.fileName();
    }

    void addShortcut(const QString& target, const QString& arguments, const QString& workingDir) {
        TShortcutLink link;
        link.ShortcutFile = tabFolder() + QStringLiteral("/item.lnk");
        link.Target = target;
        link.Arguments = arguments;
        link.WorkingDir = workingDir;
        link.Write();
        tab.LoadItems();
        ASSERT_EQ(tab.Items.size(), 1);
    }

    TTab tab;

private:
    QTemporaryDir m_dir;
};

} // namespace

TEST(ScreenResolution, ArgumentsAreWidthXHeightAndAnOptionalRate) {
    const struct {
        const char* text;
        DisplayMode mode;
        const char* error;
    } rows[] = {
        {"800x600", {800, 600, 0}, nullptr},
        {"1024x768:85", {1024, 768, 85}, nullptr},
        {"1024X768", {}, "'1024X768' is not a valid integer value"},
        {"1024x768:", {}, "'' is not a valid integer value"},
        {"1024x", {}, "'' is not a valid integer value"},
        {"1024x768x2", {}, "'768x2' is not a valid integer value"},
        {"a x768", {}, "'a ' is not a valid integer value"},
        {" 800x600", {}, "' 800' is not a valid integer value"},
        {"800x600:8o", {}, "'8o' is not a valid integer value"},
        {"99999999999x1", {}, "'99999999999' is not a valid integer value"},
    };
    for (const auto& row : rows) {
        try {
            const DisplayMode mode = ParseScreenResolution(QString::fromLatin1(row.text));
            EXPECT_EQ(row.error, nullptr) << row.text;
            EXPECT_EQ(mode, row.mode) << row.text;
        } catch (const Error& e) {
            ASSERT_NE(row.error, nullptr) << row.text << ": " << e.what();
            EXPECT_EQ(e.message(), QString::fromLatin1(row.error)) << row.text;
        }
    }
}

TEST_F(ExecuteItemTest, MacroItemsSwitchTheDisplayModeOnlyWhenTheArgumentsAreNumbers) {
    QList<DisplayMode> changes;
    SetDisplayModeChanger([&](const DisplayMode& mode) { changes.append(mode); });
    addShortcut(QStringLiteral("Macro:ScreenRes"), QStringLiteral("1024x768:85"), QString());
    tab.ExecuteItem(0);
    tab.ExecuteItem(1);  // past the end: nothing
    tab.ExecuteItem(-1); // nothing
    ASSERT_EQ(changes.size(), 1);
    EXPECT_EQ(changes.front(), (DisplayMode{1024, 768, 85}));

    tab.Items[0].Data.Arguments = QStringLiteral("1024X768");
    EXPECT_THROW(tab.ExecuteItem(0), Error);
    EXPECT_EQ(changes.size(), 1);

    SetDisplayModeChanger({});
    tab.Items[0].Data.Arguments = QStringLiteral("800x600");
    EXPECT_THROW(tab.ExecuteItem(0), Error); // no way to change the display here
}

TEST_F(ExecuteItemTest, AProgramStartsWithItsArgumentsInItsWorkingFolder) {
    const struct {
        const char* what;
        QString workingDir;
        QString expectedDir;
    } rows[] = {
        {"working folder given", path(QStringLiteral("work")), path(QStringLiteral("work"))},
        {"no working folder: the target's", QString(), path(QStringLiteral("bin"))},
    };
    for (const auto& row : rows) {
        QFile::remove(marker());
        addShortcut(writeScript(), QStringLiteral("one \"two words\" \"\"\"quoted\"\"\""), row.workingDir);
        tab.ExecuteItem(0);
        const QByteArray output = WaitForRenamedFile(marker());
        EXPECT_EQ(output,
                  (QDir(row.expectedDir).canonicalPath() + QStringLiteral("\none\ntwo words\n\"quoted\"\n"))
                      .toUtf8())
            << row.what;
    }
}

// A target without a folder is looked up on the PATH; without a working folder of its own the
// program starts in the home folder.
TEST_F(ExecuteItemTest, AProgramFoundOnThePathStartsInTheHomeFolder) {
    const QString binDir = QFileInfo(writeScript()).absolutePath();
    const QByteArray oldPath = qgetenv("PATH");
    const QByteArray oldHome = qgetenv("HOME");
    qputenv("PATH", QFile::encodeName(binDir) + ':' + oldPath);
    qputenv("HOME", QFile::encodeName(path(QStringLiteral("work"))));
    addShortcut(QStringLiteral("record.sh"), QStringLiteral("found"), QString());
    tab.ExecuteItem(0);
    qputenv("PATH", oldPath);
    qputenv("HOME", oldHome);
    EXPECT_EQ(WaitForRenamedFile(marker()),
              (QDir(path(QStringLiteral("work"))).canonicalPath() + QStringLiteral("\nfound\n")).toUtf8());
}

TEST_F(ExecuteItemTest, ADesktopEntryRunsItsExecLineWithoutFieldCodes) {
    const QString script = writeScript();
    addShortcut(writeApplicationEntry(QStringLiteral("record.desktop"),
                                      "Name=Record\nExec=" + script.toUtf8() + " --from-entry %U 100%%\n"),
                QStringLiteral("extra"), QString());
    tab.ExecuteItem(0);
    EXPECT_EQ(WaitForRenamedFile(marker()), (QDir(path(QStringLiteral("work"))).canonicalPath() +
                                             QStringLiteral("\n--from-entry\n100%\nextra\n"))
                                                .toUtf8());
}

TEST_F(ExecuteItemTest, ATerminalEntryRunsInTheDefaultTerminalEmulator) {
    // The recording script stands in for the terminal emulator, found through PATH.
    const QString program = path(QStringLiteral("console-tool"));
    const QString terminalDir = path(QStringLiteral("terminal"));
    QDir().mkpath(terminalDir);
    ASSERT_TRUE(QFile::rename(writeScript(), terminalDir + QStringLiteral("/x-terminal-emulator")));
    const QByteArray oldPath = qgetenv("PATH");
    qputenv("PATH", QFile::encodeName(terminalDir) + ':' + oldPath);
    addShortcut(
        writeApplicationEntry(QStringLiteral("console.desktop"),
                              "Name=Console\nTerminal=true\nExec=" + program.toUtf8() + " --verbose %f\n"),
        QStringLiteral("extra"), QString());
    tab.ExecuteItem(0);
    qputenv("PATH", oldPath);
    EXPECT_EQ(WaitForRenamedFile(marker()),
              (QDir(path(QStringLiteral("work"))).canonicalPath() + QStringLiteral("\n-e\n") + program +
               QStringLiteral("\n--verbose\nextra\n"))
                  .toUtf8());
}

TEST_F(ExecuteItemTest, DocumentsFoldersAndAddressesGoToTheDesktopsDefaultApplication) {
    UrlCatcher catcher;
    QDesktopServices::setUrlHandler(QStringLiteral("file"), &catcher, "open");
    QDesktopServices::setUrlHandler(QStringLiteral("https"), &catcher, "open");
    // A Windows path that names nothing here is not an address with the scheme "c", in either
    // spelling of its separator.
    QDesktopServices::setUrlHandler(QStringLiteral("c"), &catcher, "open");
    const QString document = writeScript(false); // not executable: a document
    const QList<QUrl> expected = {QUrl::fromLocalFile(document),
                                  QUrl::fromLocalFile(path(QStringLiteral("work"))),
                                  QUrl(QStringLiteral("https://example.org/a?b=c"))};
    for (const QUrl& url : expected) {
        addShortcut(url.isLocalFile() ? url.toLocalFile() : url.toString(), QString(), QString());
        tab.ExecuteItem(0);
    }
    for (const QString& windowsPath : {QStringLiteral("C:\\x"), QStringLiteral("C:/x")}) {
        addShortcut(windowsPath, QString(), QString());
        tab.ExecuteItem(0);
    }
    QDesktopServices::unsetUrlHandler(QStringLiteral("file"));
    QDesktopServices::unsetUrlHandler(QStringLiteral("https"));
    QDesktopServices::unsetUrlHandler(QStringLiteral("c"));
    EXPECT_EQ(catcher.urls, expected);
    EXPECT_FALSE(QFile::exists(marker())); // the document was not run
}

TEST_F(ExecuteItemTest, WithoutAnX11DisplayTheMacroReportsWhyItCannotWork) {
    InstallDisplayModeChanger();
    addShortcut(QStringLiteral("macro:screenres"), QStringLiteral("800x600"), QString());
    try {
        tab.ExecuteItem(0);
        ADD_FAILURE() << "no error";
    } catch (const Error& e) {
        EXPECT_EQ(e.message(),
                  QStringLiteral("The screen resolution can only be changed on an X11 display with XRandR"));
    }
}

#include "execute_item_test.moc"
