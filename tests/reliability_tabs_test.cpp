// Faults around the running program's folder: a read-only program folder, a tabs folder that is
// missing or is no folder, a tab folder or a shortcut deleted under the program's feet. The
// program reports what failed, keeps every file the user has, and goes on.

#include <memory>

#include <gtest/gtest.h>

#include <QCheckBox>
#include <QDir>
#include <QFile>
#include <QPushButton>
#include <QTemporaryDir>

#include "common/error.h"
#include "common/program_folder.h"
#include "config/config_dialog.h"
#include "core/controller.h"
#include "formats/shortcut_link.h"
#include "platform/user_prompts.h"
#include "support/app_environment.h"
#include "support/private_mounts.h"
#include "tabs/order_file.h"
#include "tabwindow/tab_window.h"
#include "ui/error_report.h"
#include "ui/error_window.h"
#include "support/file_bytes.h"

namespace {

AppEnvironment* const Environment = RegisterAppEnvironment();

// Answers text boxes from a list (cancel once it is used up), declines every question and notes
// what was asked and said.
class ScriptedPrompts : public UserPrompts {
public:
    QStringList answers;
    QStringList asked;
    QStringList messages;

    void message(QWidget*, const QString&, const QString& text) override { messages.append(text); }
    bool question(QWidget*, const QString&, const QString&, bool) override { return false; }
    QString askText(QWidget*, const QString& title, const QString&, const QString& defaultText) override {
        asked.append(title);
        return answers.isEmpty() ? defaultText : answers.takeFirst();
    }
};

QByteArray Read(const QString& path) {
    return ReadBytes(path);
}

void Write(const QString& path, const QByteArray& bytes) {
    WriteBytes(path, bytes);
}

void WriteShortcut(const QString& path) {
    QDir().mkpath(QFileInfo(path).path());
    TShortcutLink link;
    link.ShortcutFile = path;
    link.Target = QStringLiteral("/usr/bin/") + QFileInfo(path).completeBaseName();
    link.Write();
}

void Settle() {
    for (int i = 0; i < 5; ++i)
        QCoreApplication::processEvents();
}

// A program folder of its own with the shipped skin Aqua and splash clip.
class ReliabilityTabs : public testing::Test {
protected:
    void SetUp() override {
        QApplication::setQuitOnLastWindowClosed(false);
        ASSERT_TRUE(m_dir.isValid());
        useProgramFolder(QStringLiteral("program"));
        if (ErrorDialog())
            ErrorDialog()->findChild<QPushButton*>(QStringLiteral("Button1"))->click();
    }

    // Makes a fresh program folder below the temporary folder and uses it from now on.
    void useProgramFolder(const QString& name) {
        m_root = m_dir.filePath(name);
        ASSERT_TRUE(QDir().mkpath(m_root));
        for (const QString& name : {QStringLiteral("Aqua"), QStringLiteral("Loading.avi")})
            ASSERT_TRUE(QFile::link(QStringLiteral(KELVARA_PROGRAM_DIR "/") + name,
                                    m_root + QLatin1Char('/') + name));
    }
    ProgramFolder folder() const { return ProgramFolder(m_root + QStringLiteral("/Kelvara")); }
    QString tab(const QString& name) const { return folder().tabsDir() + QLatin1Char('/') + name; }
    QStringList errors() const { return ErrorDialog() ? ErrorDialog()->Lines() : QStringList(); }

    QTemporaryDir m_dir;
    QString m_root;
    ScriptedPrompts prompts;
};

} // namespace

// A change in the settings dialog while the program folder is read-only: the message goes to the
// error report, the old settings file stays, and the program carries on; once the folder can be
// written again the next change is saved.
TEST_F(ReliabilityTabs, ReadOnlyProgramFolderReportsAndKeepsTheSettingsFile) {
    REQUIRE_PRIVATE_MOUNTS();
    WriteShortcut(tab(QStringLiteral("Work")) + QStringLiteral("/Editor.lnk"));
    const QString settings = folder().settingsFile();
    const QByteArray old = "; mine\r\n[Appearance]\r\nSkin=Aqua\r\nAlpha=Off\r\n";
    Write(settings, old);

    TfrmRunning controller(folder(), {}, prompts);
    controller.Start();
    ASSERT_EQ(controller.TabWindows().size(), 1);
    controller.Config1Click();
    auto* chkAlpha = controller.ConfigDialog()->findChild<QCheckBox*>(QStringLiteral("chkAlpha"));
    ASSERT_NE(chkAlpha, nullptr);
    {
        const ScopedMount readOnly = ScopedMount::ReadOnly(m_root);
        ASSERT_TRUE(readOnly.mounted());
        QMetaObject::invokeMethod(chkAlpha, "click", Qt::QueuedConnection);
        bool carriedOn = false;
        QMetaObject::invokeMethod(
            &controller, [&] { carriedOn = true; }, Qt::QueuedConnection);
        Settle();
        EXPECT_TRUE(carriedOn);
        EXPECT_EQ(errors(), QStringList(QStringLiteral("Unable to write to ") + settings));
        EXPECT_EQ(Read(settings), old);
        controller.Refresh1Click();
        EXPECT_EQ(controller.TabWindows().size(), 1);
    }
    QMetaObject::invokeMethod(chkAlpha, "click", Qt::QueuedConnection);
    Settle();
    EXPECT_EQ(errors().size(), 1);
    const QByteArray saved = Read(settings);
    EXPECT_TRUE(saved.startsWith("; mine\r\n[Appearance]\r\nSkin=Aqua\r\nAlpha=Off\r\n"))
        << saved.constData();
    EXPECT_TRUE(saved.contains("ClickOpen=Off")) << saved.constData();
}

// Without a usable tabs folder the start asks for the first tab. Where no folder can be made for
// it, the user is told why and the program ends; whatever stands in the folder's place is kept.
TEST_F(ReliabilityTabs, TabsFolderMissingOrNoFolder) {
    struct Row {
        const char* what;
        std::function<void(const QString& tabs)> make;
        int windows;
        bool told;
    };
    const Row rows[] = {
        {"missing", [](const QString&) {}, 1, false},
        {"a file", [](const QString& tabs) { Write(tabs, "my notes"); }, 0, true},
        {"a link to itself", [](const QString& tabs) { QFile::link(tabs, tabs); }, 0, true},
        {"a link to nowhere", [](const QString& tabs) { QFile::link(tabs + QStringLiteral("-gone"), tabs); },
         0, true},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.what);
        useProgramFolder(QLatin1String(row.what));
        const QString tabs = folder().tabsDir();
        row.make(tabs);
        const QFileInfo before(tabs);
        const QByteArray content = before.isFile() ? Read(tabs) : QByteArray();
        prompts = ScriptedPrompts();
        prompts.answers = {QStringLiteral("Work")};

        TfrmRunning controller(folder(), {}, prompts);
        controller.Start();
        EXPECT_EQ(prompts.asked, QStringList(QStringLiteral("New Tab")));
        EXPECT_EQ(controller.TabWindows().size(), row.windows);
        EXPECT_EQ(controller.EndRequested(), row.windows == 0);
        const QStringList told = {QStringLiteral("Unable to create ") + tabs + QStringLiteral("/Work")};
        EXPECT_EQ(prompts.messages, row.told ? told : QStringList());
        EXPECT_EQ(before.isFile() ? Read(tabs) : QByteArray(), content);
        EXPECT_EQ(QFileInfo(tabs).symLinkTarget(), before.symLinkTarget());
        EXPECT_EQ(errors(), QStringList());
    }
}

// A tab folder deleted while its window shows it: reloading shows an empty tab, a drop's order
// change reports that it cannot write and does not bring the folder back, and the next rebuild
// drops the tab while the other keeps its items.
TEST_F(ReliabilityTabs, TabFolderDeletedWhileItsWindowIsOpen) {
    for (const char* name : {"Gone/a.lnk", "Gone/b.lnk", "Kept/c.lnk"})
        WriteShortcut(tab(QLatin1String(name)));
    SetOrderPosition(tab(QStringLiteral("Gone")), QStringLiteral("b.lnk"), 0);
    TfrmRunning controller(folder(), {}, prompts);
    controller.Start();
    ASSERT_EQ(controller.TabWindows().size(), 2);
    TfrmTab* gone = controller.TabWindows().at(0);
    ASSERT_EQ(gone->TabModel().TabName, QStringLiteral("Gone"));
    ASSERT_EQ(gone->TabModel().Items.size(), 2);

    ASSERT_TRUE(QDir(tab(QStringLiteral("Gone"))).removeRecursively());
    gone->ReloadTab();
    EXPECT_TRUE(gone->TabModel().Items.isEmpty());
    EXPECT_THROW(SetOrderPosition(tab(QStringLiteral("Gone")), QStringLiteral("a.lnk"), 0), Error);
    EXPECT_FALSE(QFileInfo::exists(tab(QStringLiteral("Gone"))));

    controller.Refresh1Click();
    Settle();
    ASSERT_EQ(controller.TabWindows().size(), 1);
    EXPECT_EQ(controller.TabWindows().at(0)->TabModel().TabName, QStringLiteral("Kept"));
    EXPECT_EQ(controller.TabWindows().at(0)->TabModel().Items.size(), 1);
    EXPECT_EQ(errors(), QStringList());
}

// A shortcut deleted between the listing and its read is no longer an item and the others still
// load; one that is there but cannot be read is named in the load's message.
TEST_F(ReliabilityTabs, ShortcutDeletedBetweenListingAndRead) {
    const QString folderPath = tab(QStringLiteral("Work"));
    for (const char* name : {"a.lnk", "b.lnk", "c.lnk"})
        WriteShortcut(folderPath + QLatin1Char('/') + QLatin1String(name));
    TTab model;
    model.TabFolder = folderPath;
    const QList<OrderedName> names = OrderedListing(folderPath, QStringLiteral("*.lnk"), true, false);
    ASSERT_EQ(names.size(), 3);

    ASSERT_TRUE(QFile::remove(folderPath + QStringLiteral("/b.lnk")));
    model.LoadListedItems(names);
    QStringList captions;
    for (const TItem& item : model.Items)
        captions.append(item.Data.Name);
    captions.sort();
    EXPECT_EQ(captions, QStringList({QStringLiteral("a"), QStringLiteral("c")}));

    Write(folderPath + QStringLiteral("/b.lnk"), "not a shortcut");
    try {
        model.LoadListedItems(names);
        ADD_FAILURE() << "a damaged shortcut was read";
    } catch (const Error& e) {
        EXPECT_EQ(e.message(),
                  QStringLiteral("Unable to open link file: ") + folderPath + QStringLiteral("/b.lnk"));
    }
}
