#include "tabs/tab.h"

#include <chrono>
#include <thread>

#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QGuiApplication>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QUrl>

#include "common/error.h"
#include "common/own_environment.h"
#include "formats/shortcut_link.h"
#include "platform/display_mode.h"
#include "tabs/screen_resolution.h"
#include "support/file_bytes.h"
#include "support/qt_test_support.h"

namespace {

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
        // The whole record appears at once; /bin/mv, so that it runs with any PATH.
        file.write("#!/bin/sh\n{ pwd; for a in \"$@\"; do echo \"$a\"; done; } > \"" + marker().toUtf8() +
                   ".tmp\"\n/bin/mv \"" + marker().toUtf8() + ".tmp\" \"" + marker().toUtf8() + "\"\n");
        file.close();
        if (executable)
            file.setPermissions(file.permissions() | QFileDevice::ExeOwner);
        return script;
    }

    QString marker() const { return path(QStringLiteral("ran.txt")); }

    void writeFile(const QString& name, const QByteArray& bytes, bool executable = false) {
        QFile file(path(name));
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(bytes);
        file.close();
        if (executable)
            file.setPermissions(file.permissions() | QFileDevice::ExeOwner);
    }

    // An application entry with these keys; returns its path.
    QString writeApplicationEntry(const QString& name, const QByteArray& keys) {
        QFile entry(path(name));
        EXPECT_TRUE(entry.open(QIODevice::WriteOnly));
        entry.write("[Desktop Entry]\nType=Application\n" + keys);
        return entry.fileName();
    }

    // Launches item 0 and gives the failure it reports, at once or from the event loop.
    QString launchFailure() {
        QString failure;
        tab.ExecuteItem(0, [&](const UserText& message) { failure = message.english(); });
        for (int i = 0; i < 6000 && failure.isEmpty(); ++i) {
            QCoreApplication::processEvents(QEventLoop::AllEvents, 50);
            std::this_thread::sleep_for(std::chrono::milliseconds(10));
        }
        return failure;
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

// The program of an entry receives its Exec line as the freedesktop.org desktop entry standard
// reads it: the string escapes of the file first (\\ is one backslash), then the quoting of the
// Exec key (\" \$ \` \\ inside double quotes), then the field codes.
TEST_F(ExecuteItemTest, ADesktopEntryRunsItsExecLineAsTheStandardReadsIt) {
    const QString script = writeScript();
    const QString home = path(QStringLiteral("home"));
    QDir().mkpath(home);
    const QByteArray oldHome = qgetenv("HOME");
    const QByteArray oldLanguage = qgetenv("LANGUAGE");
    qputenv("HOME", QFile::encodeName(home));
    qputenv("LANGUAGE", "de");
    const QString entry = writeApplicationEntry(
        QStringLiteral("org.example.Record.desktop"),
        "Name=Record\nName[de]=Aufnahme\nIcon=record-icon\nExec=\"" + script.toUtf8() +
            R"(" "two words" "say \\"hi\\"" "\\$HOME" "\\`date\\`" "back\\\\slash" %F %i %c %k 100%%)"
            "\n");
    addShortcut(entry, QStringLiteral("\"a b.txt\" ") + path(QStringLiteral("c.txt")), QString());
    tab.ExecuteItem(0);
    const QByteArray output = WaitForRenamedFile(marker());
    qputenv("HOME", oldHome);
    qputenv("LANGUAGE", oldLanguage);
    // No Path= and no working folder of the shortcut: the home folder, where relative files lie.
    const QString dir = QDir(home).canonicalPath();
    EXPECT_EQ(output,
              (QStringList{dir, QStringLiteral("two words"), QStringLiteral("say \"hi\""),
                           QStringLiteral("$HOME"), QStringLiteral("`date`"), QStringLiteral("back\\slash"),
                           home + QStringLiteral("/a b.txt"), path(QStringLiteral("c.txt")),
                           QStringLiteral("--icon"), QStringLiteral("record-icon"),
                           QStringLiteral("Aufnahme"), entry, QStringLiteral("100%")}
                   .join(u'\n') +
               u'\n')
                  .toUtf8());
}

TEST_F(ExecuteItemTest, EntriesGetFilesAndAddressesAndStartInTheirPathElseTheShortcutsFolderElseHome) {
    const QString script = writeScript();
    const QString home = path(QStringLiteral("home"));
    const QString own = path(QStringLiteral("own"));
    const QString work = path(QStringLiteral("work"));
    for (const QString& dir : {home, own})
        QDir().mkpath(dir);
    const QByteArray oldHome = qgetenv("HOME");
    qputenv("HOME", QFile::encodeName(home));
    const struct {
        const char* exec;     // after the program
        QByteArray path;      // Path= of the entry
        QString workingDir;   // of the shortcut
        QString arguments;    // of the shortcut
        QStringList expected; // working folder, then the arguments
    } rows[] = {
        {"--one %f",
         "Path=" + own.toUtf8() + "\n",
         work,
         QStringLiteral("doc.txt"),
         {own, QStringLiteral("--one"), own + QStringLiteral("/doc.txt")}},
        {"%u",
         "",
         work,
         QStringLiteral("https://example.org/a%20b?c=d"),
         {work, QStringLiteral("https://example.org/a%20b?c=d")}},
        {"%U --last",
         "",
         QString(),
         QStringLiteral("x.txt \"y z.txt\""),
         // Local files may be given to %u and %U as paths, as the standard allows.
         {home, home + QStringLiteral("/x.txt"), home + QStringLiteral("/y z.txt"),
          QStringLiteral("--last")}},
        {"%f", "", QString(), QString(), {home}}, // no file: the code stands for nothing
    };
    for (const auto& row : rows) {
        QFile::remove(marker());
        const QString entry = writeApplicationEntry(QStringLiteral("files.desktop"),
                                                    "Name=Files\nExec=" + script.toUtf8() + ' ' +
                                                        QByteArray(row.exec) + '\n' + row.path);
        addShortcut(entry, row.arguments, row.workingDir);
        tab.ExecuteItem(0);
        QStringList expected = row.expected;
        expected.front() = QDir(expected.front()).canonicalPath();
        EXPECT_EQ(QString::fromUtf8(WaitForRenamedFile(marker())), expected.join(u'\n') + u'\n') << row.exec;
    }
    qputenv("HOME", oldHome);
}

TEST_F(ExecuteItemTest, ATerminalEntryRunsInATerminalEmulator) {
    // The recording script stands in for the terminal emulator, the only one on the PATH.
    const QString program = path(QStringLiteral("console-tool"));
    writeFile(QStringLiteral("console-tool"), "#!/bin/sh\n", true);
    const QString terminalDir = path(QStringLiteral("terminal"));
    QDir().mkpath(terminalDir);
    ASSERT_TRUE(QFile::rename(writeScript(), terminalDir + QStringLiteral("/xterm")));
    const QByteArray oldPath = qgetenv("PATH");
    qputenv("PATH", QFile::encodeName(terminalDir));
    addShortcut(writeApplicationEntry(QStringLiteral("console.desktop"),
                                      "Name=Console\nTerminal=true\nExec=" + program.toUtf8() +
                                          " --verbose %f\nPath=" + path(QStringLiteral("work")).toUtf8() +
                                          "\n"),
                QString(), QString());
    tab.ExecuteItem(0);
    qputenv("PATH", oldPath);
    EXPECT_EQ(WaitForRenamedFile(marker()),
              (QDir(path(QStringLiteral("work"))).canonicalPath() + QStringLiteral("\n-e\n") + program +
               QStringLiteral("\n--verbose\n"))
                  .toUtf8());
}

TEST_F(ExecuteItemTest, DocumentsFoldersAndAddressesGoToXdgOpen) {
    // A stand-in for xdg-open records what it was asked to open.
    const QString openerDir = path(QStringLiteral("opener"));
    QDir().mkpath(openerDir);
    ASSERT_TRUE(QFile::rename(writeScript(), openerDir + QStringLiteral("/xdg-open")));
    const QByteArray oldPath = qgetenv("PATH");
    qputenv("PATH", QFile::encodeName(openerDir));
    writeFile(QStringLiteral("notes.txt"), "not a program");
    for (const QString& target : {path(QStringLiteral("notes.txt")), path(QStringLiteral("work")),
                                  QStringLiteral("https://example.org/a?b=c")}) {
        QFile::remove(marker());
        addShortcut(target, QString(), QString());
        QString failure;
        tab.ExecuteItem(0, [&](const UserText& message) { failure = message.english(); });
        EXPECT_TRUE(WaitForRenamedFile(marker()).endsWith((u'\n' + target + u'\n').toUtf8()))
            << target.toStdString();
        EXPECT_EQ(failure, QString());
    }
    // A Windows path that names nothing here is not an address with the scheme "c", in either
    // spelling of its separator: its start fails with a reason and it is never handed to the opener.
    QFile::remove(marker());
    for (const QString& windowsPath : {QStringLiteral("C:\\x"), QStringLiteral("C:/x")}) {
        addShortcut(windowsPath, QString(), QString());
        EXPECT_TRUE(launchFailure().startsWith(QStringLiteral("Unable to start \"item\": ")));
    }
    EXPECT_FALSE(QFile::exists(marker()));
    qputenv("PATH", oldPath);
}

// Every failure names the item and the reason; none passes silently.
TEST_F(ExecuteItemTest, AnItemThatCannotStartSaysWhy) {
    const QString opener = path(QStringLiteral("opener"));
    QDir().mkpath(opener);
    writeFile(QStringLiteral("opener/xdg-open"), "#!/bin/sh\nexit 3\n", true);
    writeFile(QStringLiteral("notes.txt"), "text");
    ASSERT_TRUE(QFile::copy(QStringLiteral("/bin/true"), path(QStringLiteral("program"))));
    QFile::setPermissions(path(QStringLiteral("program")), QFileDevice::ReadOwner | QFileDevice::WriteOwner);
    const struct {
        QString target;
        QByteArray entry; // keys of a desktop entry made as the target
        QString workingDir;
        QString path; // PATH while launching
        QString reason;
    } rows[] = {
        {path(QStringLiteral("gone.txt")),
         {},
         {},
         {},
         path(QStringLiteral("gone.txt")) + QStringLiteral(" does not exist")},
        {QStringLiteral("kelvara-no-such-program"),
         {},
         {},
         {},
         QStringLiteral("the program kelvara-no-such-program is not installed")},
        {path(QStringLiteral("program")),
         {},
         {},
         {},
         QStringLiteral("the program ") + path(QStringLiteral("program")) +
             QStringLiteral(" is not executable")},
        {{},
         "Name=A\nExec=true\nTryExec=kelvara-no-such-program\n",
         {},
         {},
         QStringLiteral("its program kelvara-no-such-program is not installed")},
        {{},
         "Name=A\nExec=true\nHidden=true\n",
         {},
         {},
         QStringLiteral("the entry is marked as deleted (Hidden=true)")},
        {{},
         "Name=A\nExec=true\n",
         path(QStringLiteral("nowhere")),
         {},
         QStringLiteral("the working folder ") + path(QStringLiteral("nowhere")) +
             QStringLiteral(" does not exist")},
        {{},
         "Name=A\nExec=kelvara-no-such-program\n",
         {},
         {},
         QStringLiteral("its program kelvara-no-such-program is not installed")},
        {path(QStringLiteral("notes.txt")),
         {},
         {},
         path(QStringLiteral("empty")),
         QStringLiteral("xdg-open is not installed (package xdg-utils)")},
        {path(QStringLiteral("notes.txt")),
         {},
         {},
         opener,
         QStringLiteral("no application is set up to open it")},
    };
    for (const auto& row : rows) {
        const QString target =
            row.entry.isEmpty() ? row.target : writeApplicationEntry(QStringLiteral("a.desktop"), row.entry);
        addShortcut(target, QString(), row.workingDir);
        const QByteArray oldPath = qgetenv("PATH");
        if (!row.path.isEmpty())
            qputenv("PATH", QFile::encodeName(row.path));
        EXPECT_EQ(launchFailure(), QString(QStringLiteral("Unable to start \"item\": ") + row.reason));
        qputenv("PATH", oldPath);
    }
}

// The words of a shortcut's arguments are files for the entry: they go to one start of the
// application or to none. An entry that takes one file would be started once per word, and
// hundreds of words would open hundreds of windows.
TEST_F(ExecuteItemTest, ADesktopEntryStartsOnceWithItsFilesOrNotAtAll) {
    const QString script = writeScript();
    QStringList many;
    for (int i = 0; i < 200; ++i)
        many.append(QStringLiteral("f%1").arg(i));
    const QString work = path(QStringLiteral("work"));
    const struct {
        const char* exec;
        QString arguments;
        QString reason; // empty: started once with the files
    } rows[] = {
        {"%f", many.join(u' '),
         QStringLiteral("its arguments name 200 files to open; a shortcut opens at most 16 at once")},
        {"%F", many.mid(0, 17).join(u' '),
         QStringLiteral("its arguments name 17 files to open; a shortcut opens at most 16 at once")},
        {"%u", QStringLiteral("a b"),
         QStringLiteral("the application opens one file at a time, and the arguments name 2")},
        {"--x", QStringLiteral("a"),
         QStringLiteral("the application takes no files, and the arguments name 1")},
        {"100%% %f", QStringLiteral("a b"),
         QStringLiteral("the application opens one file at a time, and the arguments name 2")},
        {"%F", many.mid(0, 16).join(u' '), {}},
        {"%f", QStringLiteral("a"), {}},
        {"--x", QString(), {}},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.exec);
        QFile::remove(marker());
        const QString entry = writeApplicationEntry(
            QStringLiteral("files.desktop"), "Name=Files\nExec=" + script.toUtf8() + ' ' + row.exec + '\n');
        addShortcut(entry, row.arguments, work);
        if (!row.reason.isEmpty()) {
            EXPECT_EQ(launchFailure(), QStringLiteral("Unable to start \"item\": ") + row.reason);
            EXPECT_FALSE(QFile::exists(marker()));
            continue;
        }
        tab.ExecuteItem(0);
        const QStringList lines =
            QString::fromUtf8(WaitForRenamedFile(marker())).split(u'\n', Qt::SkipEmptyParts);
        QStringList files;
        for (const QString& word : row.arguments.split(u' ', Qt::SkipEmptyParts))
            files.append(work + u'/' + word);
        EXPECT_EQ(lines.mid(1).filter(QRegularExpression(QStringLiteral("^/"))), files);
    }
}

// Only a file path or an address with a scheme and a host reaches xdg-open: a Link entry's URL
// of "--manual" would be read as its option.
TEST_F(ExecuteItemTest, OnlyFilePathsAndAddressesWithAHostReachTheOpener) {
    const QString openerDir = path(QStringLiteral("opener"));
    QDir().mkpath(openerDir);
    ASSERT_TRUE(QFile::rename(writeScript(), openerDir + QStringLiteral("/xdg-open")));
    const QByteArray oldPath = qgetenv("PATH");
    qputenv("PATH", QFile::encodeName(openerDir));
    const struct {
        const char* url;
        bool opened;
    } rows[] = {
        {"--manual", false},
        {"-h", false},
        {"relative/name", false},
        {"javascript:alert(1)", false},
        {"http:/no-host", false},
        {"file:relative", false},
        {"https://example.org/a", true},
        {"file:///usr/share", true},
        {"/usr/share", true},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.url);
        QFile::remove(marker());
        QFile entry(path(QStringLiteral("link.desktop")));
        ASSERT_TRUE(entry.open(QIODevice::WriteOnly));
        entry.write(QByteArray("[Desktop Entry]\nType=Link\nName=L\nURL=") + row.url + '\n');
        entry.close();
        addShortcut(entry.fileName(), QString(), QString());
        if (!row.opened) {
            EXPECT_EQ(launchFailure(),
                      QStringLiteral("Unable to start \"item\": \"%1\" is neither a file path nor "
                                     "an address with a host")
                          .arg(QString::fromUtf8(row.url)));
            EXPECT_FALSE(QFile::exists(marker()));
            continue;
        }
        tab.ExecuteItem(0);
        EXPECT_TRUE(WaitForRenamedFile(marker()).endsWith(QByteArray(QByteArray("\n") + row.url + "\n")));
    }
    qputenv("PATH", oldPath);
}

TEST_F(ExecuteItemTest, ProgramsStartWithoutKelvarasOwnEnvironmentVariables) {
    SetOwnEnvironmentVariable("KELVARA_OWN_TEST", "set");
    const QString script = path(QStringLiteral("env.sh"));
    writeFile(QStringLiteral("env.sh"),
              "#!/bin/sh\necho \"${KELVARA_OWN_TEST-unset}\" > \"" + marker().toUtf8() +
                  ".tmp\"\n/bin/mv \"" + marker().toUtf8() + ".tmp\" \"" + marker().toUtf8() + "\"\n",
              true);
    for (const QString& target :
         {script,
          writeApplicationEntry(QStringLiteral("env.desktop"), "Name=Env\nExec=" + script.toUtf8() + "\n")}) {
        QFile::remove(marker());
        addShortcut(target, QString(), QString());
        tab.ExecuteItem(0);
        EXPECT_EQ(WaitForRenamedFile(marker()), "unset\n") << target.toStdString();
    }
    qunsetenv("KELVARA_OWN_TEST");
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

// A desktop entry put into the tab folder is an item of its own, named as it says and started
// through GIO; one kept from menus (NoDisplay) stays an item.
TEST_F(ExecuteItemTest, ADesktopEntryInTheTabFolderIsAnItemThatStartsIt) {
    const QString script = writeScript();
    QFile entry(tabFolder() + QStringLiteral("/org.example.Recorder.desktop"));
    ASSERT_TRUE(entry.open(QIODevice::WriteOnly));
    entry.write("[Desktop Entry]\nType=Application\nName=Recorder\nNoDisplay=true\nExec=" + script.toUtf8() +
                " started\n");
    entry.close();
    tab.LoadItems();
    ASSERT_EQ(tab.Items.size(), 1);
    EXPECT_EQ(tab.Items[0].Data.Name, QStringLiteral("Recorder"));
    EXPECT_EQ(tab.Items[0].Data.LinkFile, entry.fileName());
    tab.ExecuteItem(0);
    EXPECT_TRUE(WaitForRenamedFile(marker()).endsWith("\nstarted\n"));
}
