#include "tabs/command_for_type.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStandardPaths>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include "qstring_printer.h"
#include "support/file_bytes.h"
#include "tabs/drop_shortcut.h"
#include "tabs/launch.h"

namespace {

void WriteFile(const QString& path, const QByteArray& content, bool executable = false) {
    QDir().mkpath(path.left(path.lastIndexOf(QLatin1Char('/'))));
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(content);
    file.close();
    if (executable)
        file.setPermissions(file.permissions() | QFile::ExeOwner);
}

// A desktop with its own XDG folders: a user mimeapps.list over a system one, and a few
// applications. The folders live as long as the test program, because the MIME database (linked
// in from the machine's) is read once per process.
class CommandForTypeTest : public testing::Test {
protected:
    static void SetUpTestSuite() {
        const QString mimeCache =
            QStandardPaths::locate(QStandardPaths::GenericDataLocation, QStringLiteral("mime/mime.cache"));
        dir = new QTemporaryDir;
        QDir().mkpath(dir->path() + QStringLiteral("/system"));
        QFile::link(QFileInfo(mimeCache).absolutePath(), dir->path() + QStringLiteral("/system/mime"));
    }
    static void TearDownTestSuite() { delete dir; }

    void SetUp() override {
        ASSERT_TRUE(dir->isValid());
        root = dir->path();
        qputenv("XDG_CONFIG_HOME", (root + QStringLiteral("/config")).toUtf8());
        qputenv("XDG_CONFIG_DIRS", (root + QStringLiteral("/etc")).toUtf8());
        qputenv("XDG_DATA_HOME", (root + QStringLiteral("/data")).toUtf8());
        qputenv("XDG_DATA_DIRS", (root + QStringLiteral("/system")).toUtf8());
        qunsetenv("XDG_CURRENT_DESKTOP");
        paths = XdgSearchPaths::fromEnvironment();

        WriteFile(root + QStringLiteral("/config/mimeapps.list"),
                  "[Default Applications]\n"
                  "text/plain=missing.desktop;editor.desktop;\n"
                  "text/html=hidden.desktop;\n"
                  "[Added Associations]\n"
                  "image/png=viewer.desktop;\n");
        WriteFile(root + QStringLiteral("/system/applications/mimeapps.list"),
                  "[Default Applications]\n"
                  "text/plain=viewer.desktop\n"
                  "text/html=browser.desktop\n"
                  "text/markdown=broken.desktop\n");
        WriteFile(root + QStringLiteral("/data/applications/editor.desktop"),
                  "[Desktop Entry]\nType=Application\nName=Editor\n"
                  "Exec=\"/opt/My Editor/edit\" --new %f\n");
        WriteFile(root + QStringLiteral("/system/applications/viewer.desktop"),
                  "[Desktop Entry]\nExec=viewer\n");
        WriteFile(root + QStringLiteral("/system/applications/browser.desktop"),
                  "[Desktop Entry]\nExec=browser --url=%u %i %c\n");
        WriteFile(root + QStringLiteral("/system/applications/hidden.desktop"),
                  "[Desktop Entry]\nExec=hidden %f\nHidden=true\n");
        WriteFile(root + QStringLiteral("/system/applications/broken.desktop"),
                  "[Desktop Entry]\nName=No command\n");
    }

    static QTemporaryDir* dir;
    QString root;
    XdgSearchPaths paths;
};

QTemporaryDir* CommandForTypeTest::dir = nullptr;

} // namespace

TEST_F(CommandForTypeTest, CommandOfTheDefaultApplication) {
    const QString docs = root + QStringLiteral("/docs/");
    WriteFile(docs + QStringLiteral("my notes.txt"), "plain words\n");
    WriteFile(docs + QStringLiteral("main.c"), "int main(void) { return 0; }\n");
    WriteFile(docs + QStringLiteral("page.html"), "<html><body></body></html>\n");
    WriteFile(docs + QStringLiteral("picture.png"), "\x89PNG\r\n\x1a\n");
    const struct {
        const char* file;
        const char* target;
        const char* arguments;
        const char* desktop; // relative to the temporary root
    } rows[] = {
        // the user's list wins over the system's; an uninstalled id is skipped
        {"my notes.txt", "/opt/My Editor/edit", "--new \"DOCS/my notes.txt\"",
         "/data/applications/editor.desktop"},
        // a C source is a kind of plain text
        {"main.c", "/opt/My Editor/edit", "--new \"DOCS/main.c\"", "/data/applications/editor.desktop"},
        // a hidden application hides its id everywhere, so the system default applies; %i dropped
        {"page.html", "browser", "\"--url=DOCS/page.html\"", "/system/applications/browser.desktop"},
        // an added association; no argument part: the file is the argument
        {"picture.png", "viewer", "DOCS/picture.png", "/system/applications/viewer.desktop"},
    };
    for (const auto& row : rows) {
        const QString path = docs + QString::fromUtf8(row.file);
        const std::optional<RegisteredCommand> command = CommandForType(path, paths);
        ASSERT_TRUE(command.has_value()) << row.file;
        const QString arguments = QString::fromUtf8(row.arguments).replace(QStringLiteral("DOCS/"), docs);
        EXPECT_EQ(command->command.target, QString::fromUtf8(row.target)) << row.file;
        EXPECT_EQ(command->command.arguments, arguments) << row.file;
        EXPECT_EQ(command->desktopFile, root + QString::fromUtf8(row.desktop)) << row.file;
    }
}

TEST_F(CommandForTypeTest, NothingWithoutARegisteredCommand) {
    WriteFile(root + QStringLiteral("/docs/report.pdf"), "%PDF-1.4\n");
    WriteFile(root + QStringLiteral("/docs/readme.md"), "# title\n");
    EXPECT_FALSE(CommandForType(root + QStringLiteral("/docs/report.pdf"), paths).has_value());
    EXPECT_FALSE(CommandForType(root + QStringLiteral("/docs/readme.md"), paths).has_value()); // no Exec
}

TEST_F(CommandForTypeTest, ShortcutForEachKindOfDrop) {
    const QString docs = root + QStringLiteral("/docs/");
    WriteFile(docs + QStringLiteral("run.sh"), "#!/bin/sh\necho hi\n", true);
    WriteFile(docs + QStringLiteral("notes.txt"), "plain\n");
    WriteFile(docs + QStringLiteral("report.pdf"), "%PDF-1.4\n");
    // Named as the menu names it (escaped as a typed name is), starting in no folder of its own.
    WriteFile(docs + QStringLiteral("org.example.Tool.desktop"),
              "[Desktop Entry]\nType=Application\nName=Tool: A/B 100%\nExec=tool\nIcon=tool\n");
    QDir().mkpath(docs + QStringLiteral("Pictures"));
    const struct {
        const char* name;
        const char* link;
        const char* target; // DOCS/ stands for the folder
        const char* arguments;
        const char* icon;
    } rows[] = {
        {"run.sh", "run.lnk", "DOCS/run.sh", "", ""},
        {"notes.txt", "notes.lnk", "/opt/My Editor/edit", "--new \"DOCS/notes.txt\"",
         "ROOT/data/applications/editor.desktop"},
        {"report.pdf", "report.lnk", "DOCS/report.pdf", "", ""},
        {"org.example.Tool.desktop", "Tool%3A A%2FB 100%25.lnk", "DOCS/org.example.Tool.desktop", "",
         "DOCS/org.example.Tool.desktop"},
        {"Pictures", "Pictures.lnk", "DOCS/Pictures", "", ""},
    };
    const auto expand = [&](const char* text) {
        return QString::fromUtf8(text)
            .replace(QStringLiteral("DOCS/"), docs)
            .replace(QStringLiteral("ROOT"), root);
    };
    for (const auto& row : rows) {
        const NewShortcut shortcut =
            ShortcutForDrop(SplitDropPath(docs + QString::fromUtf8(row.name)), paths);
        EXPECT_EQ(shortcut.fileName, QString::fromUtf8(row.link));
        EXPECT_EQ(shortcut.data.Target, expand(row.target)) << row.name;
        EXPECT_EQ(shortcut.data.Arguments, expand(row.arguments)) << row.name;
        EXPECT_EQ(shortcut.data.IconLocation, expand(row.icon)) << row.name;
        const bool entry = QByteArray(row.name).endsWith(".desktop");
        EXPECT_EQ(shortcut.data.WorkingDir, entry ? QString() : docs) << row.name;
        EXPECT_EQ(shortcut.data.Description,
                  QStringLiteral("Launches ") + QString::fromUtf8(row.name) + QLatin1Char('.'));
        EXPECT_EQ(shortcut.data.ShowCmd, 1);
    }
}

// The shortcut made for a dropped document starts its application with the document as exactly
// one argument, whatever the name holds: a recording program writes down what it was given.
TEST_F(CommandForTypeTest, ADroppedDocumentReachesItsApplicationAsOneArgument) {
    const QString recorder = root + QStringLiteral("/bin/record");
    const QByteArray out = (root + QStringLiteral("/arguments")).toUtf8();
    WriteFile(recorder,
              "#!/bin/sh\nprintf '%s\\0' \"$@\" > '" + out + ".tmp'\nmv '" + out + ".tmp' '" + out + "'\n",
              true);
    WriteFile(root + QStringLiteral("/data/applications/record.desktop"),
              "[Desktop Entry]\nType=Application\nName=Record\nExec=" + recorder.toUtf8() + " --open %f\n");
    WriteFile(root + QStringLiteral("/config/mimeapps.list"),
              "[Default Applications]\ntext/plain=record.desktop;\n");
    const char* const names[] = {
        "a\" --evil-option \"b.txt",
        "\"\"\"three\"\"\".txt",
        "\"lead.txt",
        "end\".txt",
        "back\\slash\\\".txt",
        "two  spaces .txt",
        "new\nline.txt",
        "tab\there.txt",
        "-rf.txt",
        "$HOME `id` 'q'.txt",
    };
    for (const char* name : names) {
        SCOPED_TRACE(name);
        const QString document = root + QStringLiteral("/docs/") + QString::fromUtf8(name);
        WriteFile(document, "plain\n");
        QFile::remove(QString::fromUtf8(out));
        const NewShortcut shortcut = ShortcutForDrop(SplitDropPath(document), paths);
        ASSERT_EQ(shortcut.data.Target, recorder);
        ASSERT_EQ(LaunchItem(shortcut.data).english(), QString()); // no failure
        // The recorder moves its file into place once it is whole.
        EXPECT_EQ(WaitForRenamedFile(QString::fromUtf8(out)),
                  QByteArray("--open") + '\0' + document.toUtf8() + '\0');
    }
}
