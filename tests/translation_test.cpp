#include "translation/translation.h"

#include <gtest/gtest.h>

#include <QAction>
#include <QCheckBox>
#include <QDialog>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QMenu>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTreeWidget>

#include "common/error.h"
#include "common/ini_file.h"
#include "config/config_dialog.h"
#include "core/main_menu.h"
#include "fake_config_host.h"
#include "qt_app_environment.h"

namespace {

QStringList Names(std::initializer_list<const char*> names) {
    QStringList list;
    for (const char* name : names)
        list << QString::fromLatin1(name);
    return list;
}

QAction* AddItem(QMenu* menu, const char* name, const char* caption) {
    QAction* action = menu->addAction(QString::fromUtf8(caption));
    action->setObjectName(QString::fromLatin1(name));
    return action;
}

void AddSeparator(QMenu* menu, const char* name) {
    QAction* action = menu->addSeparator();
    action->setObjectName(QString::fromLatin1(name));
    action->setProperty("tag", -1);
}

// The controller's form as translation files see it: the popup menu with its sub-menu and
// separators.
struct MainForm {
    QWidget form;
    QMenu* pmMain;
    MainForm() {
        form.setObjectName(QStringLiteral("frmRunning"));
        pmMain = new QMenu(&form);
        pmMain->setObjectName(QStringLiteral("pmMain"));
        AddItem(pmMain, "Config1", "&Config");
        AddSeparator(pmMain, "N2");
        AddItem(pmMain, "NewTab1", "&New Tab");
        AddItem(pmMain, "AddApplications1", "Add &Applications...");
        AddItem(pmMain, "Refresh1", "Re&fresh");
        auto* advanced = new QMenu(QStringLiteral("Advanced"), pmMain);
        advanced->setObjectName(QStringLiteral("mnuAdvanced"));
        pmMain->addMenu(advanced)->setObjectName(QStringLiteral("Advanced1"));
        AddItem(advanced, "WriteTranslationFile1", "Write Translation File");
        AddSeparator(pmMain, "N3");
        AddItem(pmMain, "Rename1", "&Rename");
        AddItem(pmMain, "Edit1", "&Edit");
        AddItem(pmMain, "Delete1", "&Delete");
        AddSeparator(pmMain, "N1");
        AddItem(pmMain, "Exit1", "E&xit");
    }
    QString caption(const char* name) const {
        return form.findChild<QAction*>(QString::fromLatin1(name))->text();
    }
};

QString WriteFile(const QTemporaryDir& dir, const char* name, const QByteArray& content) {
    const QString path = dir.filePath(QString::fromLatin1(name));
    QFile file(path);
    EXPECT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(content);
    return path;
}

void WriteTemplate(FakeConfigHost& host, const MainForm& main, const QString& target) {
    WriteTranslationTemplate(
        &main.form, nullptr,
        [&host] { return std::make_unique<TfrmConfig>(host, TfrmConfig::Use::Template); }, target);
}

QString ShippedTranslation(const char* name) {
    return QStringLiteral(KELVARA_SOURCE_DIR "/data/Translation/") + QString::fromLatin1(name);
}

class Translation : public testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(dir.isValid()); }
    QTemporaryDir dir;
};

TEST_F(Translation, TemplateHoldsTheKeysInWalkOrderAndMatchesTheShippedFile) {
    FakeConfigHost host;
    MainForm main;
    const QString target = dir.filePath(QStringLiteral("English.txt"));
    WriteTemplate(host, main, target);
    const IniFile written(target);

    // The texts outside components come last, in their own section.
    EXPECT_EQ(written.sectionNames(),
              QStringList({QStringLiteral("Main"), QStringLiteral("Config"), QStringLiteral("Texts")}));
    const QStringList mainKeys = Names({"Config1", "NewTab1", "AddApplications1", "Refresh1", "Advanced1",
                                        "WriteTranslationFile1", "Rename1", "Edit1", "Delete1", "Exit1"});
    QStringList expectedMain;
    for (const QString& name : mainKeys)
        expectedMain << QStringLiteral("frmRunning.") + name;
    EXPECT_EQ(written.keyNames(QStringLiteral("Main")), expectedMain);

    const QStringList configComponents =
        Names({"lblDonation",    "lblLanguage",     "cbkStartup",     "lblOnTop",       "rbAOTDisabled",
               "rbAOTNormal",    "rbAOTAggressive", "chkUpdate",      "lblShortcutKey", "lblAuthor",
               "lblWebsite",     "btnApplySkin",    "lblOpeningAnim", "lblClosingAnim", "chkClickOpen",
               "rbOOff",         "rbOLinear",       "rbOAccelerated", "rbCOff",         "rbCLinear",
               "rbCAccelerated", "lblMonitor",      "lblPosition",    "lblSpacing",     "Label6",
               "chkInvertLum",   "chkColorize",     "chkAlpha",       "lblAlpha",       "btnApply"});
    ASSERT_EQ(configComponents.size(), 30);
    QStringList expectedConfig;
    for (const QString& name : configComponents)
        expectedConfig << QStringLiteral("frmConfig.") + name
                       << QStringLiteral("frmConfig.") + name + QStringLiteral(".Hint");
    EXPECT_EQ(written.keyNames(QStringLiteral("Config")), expectedConfig);

    // Values are escaped; a control without a hint has an empty one.
    EXPECT_EQ(written.readString(QStringLiteral("Config"), QStringLiteral("frmConfig.lblMonitor"), {}),
              QStringLiteral("&Monitor%3A"));
    EXPECT_EQ(written.readString(QStringLiteral("Config"), QStringLiteral("frmConfig.Label6.Hint"),
                                 QStringLiteral("x")),
              QString());
    EXPECT_EQ(written.readString(QStringLiteral("Main"), QStringLiteral("frmRunning.Exit1"), {}),
              QStringLiteral("E&xit"));

    QFile shipped(ShippedTranslation("English.txt"));
    QFile fresh(target);
    ASSERT_TRUE(shipped.open(QIODevice::ReadOnly) && fresh.open(QIODevice::ReadOnly));
    EXPECT_EQ(fresh.readAll(), shipped.readAll()) << "regenerate data/Translation/English.txt";
}

TEST_F(Translation, GermanCoversEveryKeyOfTheTemplate) {
    const IniFile english(ShippedTranslation("English.txt"));
    const IniFile german(ShippedTranslation("Deutsch.txt"));
    for (const QString& section : {QStringLiteral("Main"), QStringLiteral("Config")}) {
        for (const QString& key : english.keyNames(section))
            EXPECT_TRUE(german.hasKey(section, key)) << key.toStdString();
    }
    for (const char* skinsKey : {"frmConfig.lblAuthor", "frmConfig.lblWebsite", "frmConfig.btnApplySkin"})
        EXPECT_TRUE(german.hasKey(QStringLiteral("Config"), QString::fromLatin1(skinsKey)));
    // Every value reads without an escape error.
    FakeConfigHost host;
    TfrmConfig dialog(host, TfrmConfig::Use::Template);
    EXPECT_NO_THROW(ApplyTranslation(&dialog, ShippedTranslation("Deutsch.txt"), ConfigSection));
    EXPECT_EQ(dialog.findChild<QPushButton*>(QStringLiteral("btnApply"))->text(),
              QStringLiteral("Ü&bernehmen"));
}

// In every shipped language no two items of one menu share an access key: the key would only
// move between them instead of choosing one.
TEST_F(Translation, ShippedMenusGiveEachItemItsOwnAccessKey) {
    const QFileInfoList files = QDir(QStringLiteral(KELVARA_SOURCE_DIR "/data/Translation"))
                                    .entryInfoList({QStringLiteral("*.txt")}, QDir::Files);
    ASSERT_GE(files.size(), 2);
    for (const QFileInfo& file : files) {
        SCOPED_TRACE(file.fileName().toStdString());
        QWidget form;
        form.setObjectName(QStringLiteral("frmRunning"));
        const MainMenu menu = BuildMainMenu(&form);
        ApplyTranslation(&form, file.filePath(), MainSection);
        for (const QMenu* list : form.findChildren<QMenu*>()) {
            QMap<QChar, QString> keys;
            for (const QAction* item : list->actions()) {
                const QString text = item->text();
                for (qsizetype i = text.indexOf(u'&'); i >= 0 && i + 1 < text.size();
                     i = text.indexOf(u'&', i + 2)) {
                    if (text[i + 1] == u'&')
                        continue;
                    const QChar key = text[i + 1].toLower();
                    EXPECT_FALSE(keys.contains(key))
                        << text.toStdString() << " and " << keys.value(key).toStdString();
                    keys.insert(key, text);
                    break;
                }
            }
            EXPECT_GE(keys.size(), list == menu.pmMain ? 6 : 0);
        }
    }
}

TEST_F(Translation, MultiLineHintRoundTripsAsOneLine) {
    QWidget form;
    form.setObjectName(QStringLiteral("frmX"));
    auto* label = new QLabel(&form);
    label->setObjectName(QStringLiteral("lblA"));
    const QString hint = QStringLiteral("first\r\nsecond: 100%\r\nthird");
    label->setToolTip(hint);
    const QString path = dir.filePath(QStringLiteral("t.txt"));
    WriteTranslation(&form, path, QStringLiteral("X"));

    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    EXPECT_TRUE(file.readAll().contains("frmX.lblA.Hint=first%0D%0Asecond%3A 100%25%0D%0Athird\n"));
    label->setToolTip(QStringLiteral("changed"));
    ApplyTranslation(&form, path, QStringLiteral("X"));
    EXPECT_EQ(label->toolTip(), hint);
}

TEST_F(Translation, SectionsAndKeysMatchInAnyCaseAndMissingKeysKeepTheirText) {
    MainForm main;
    const QString first =
        WriteFile(dir, "first.txt", "[mAIN]\nFRMRUNNING.config1=&Konfig\nfrmrunning.EXIT1=&Ende\n");
    const QString second = WriteFile(dir, "second.txt", "[Main]\nfrmRunning.Config1=&Réglages\n");
    ApplyTranslation(&main.form, first, MainSection);
    EXPECT_EQ(main.caption("Config1"), QStringLiteral("&Konfig"));
    EXPECT_EQ(main.caption("Exit1"), QStringLiteral("&Ende"));
    EXPECT_EQ(main.caption("NewTab1"), QStringLiteral("&New Tab"));
    // The second language lacks Exit1: the first one's text stays.
    ApplyTranslation(&main.form, second, MainSection);
    EXPECT_EQ(main.caption("Config1"), QStringLiteral("&Réglages"));
    EXPECT_EQ(main.caption("Exit1"), QStringLiteral("&Ende"));
    // No file: nothing changes.
    ApplyTranslation(&main.form, dir.filePath(QStringLiteral("missing.txt")), MainSection);
    EXPECT_EQ(main.caption("Config1"), QStringLiteral("&Réglages"));

    // A file with only "Main" leaves the dialog in its built-in texts.
    FakeConfigHost host;
    TfrmConfig dialog(host, TfrmConfig::Use::Template);
    TranslateAll(&main.form, {}, &dialog, first);
    EXPECT_EQ(dialog.findChild<QCheckBox*>(QStringLiteral("chkAlpha"))->text(),
              QStringLiteral("Alpha &Transparecy"));
}

TEST_F(Translation, MalformedEscapeStopsAtThatComponent) {
    QWidget form;
    form.setObjectName(QStringLiteral("frmX"));
    QLabel* labels[4];
    for (int i = 0; i < 4; ++i) {
        labels[i] = new QLabel(QStringLiteral("old"), &form);
        labels[i]->setObjectName(QStringLiteral("lbl%1").arg(i));
        labels[i]->setToolTip(QStringLiteral("old hint"));
    }
    // lbl1's caption reads, its hint does not: the caption stays changed, lbl2 and lbl3 untouched.
    const QString path = WriteFile(dir, "bad.txt",
                                   "[X]\nfrmX.lbl0=new 0\nfrmX.lbl0.Hint=new hint\nfrmX.lbl1=new 1\n"
                                   "frmX.lbl1.Hint=50%zz\nfrmX.lbl2=new 2\nfrmX.lbl3=new 3\n");
    try {
        ApplyTranslation(&form, path, QStringLiteral("X"));
        FAIL() << "no error raised";
    } catch (const Error& error) {
        EXPECT_EQ(error.message(), QStringLiteral("'$zz' is not a valid integer value"));
    }
    EXPECT_EQ(labels[0]->text(), QStringLiteral("new 0"));
    EXPECT_EQ(labels[0]->toolTip(), QStringLiteral("new hint"));
    EXPECT_EQ(labels[1]->text(), QStringLiteral("new 1"));
    EXPECT_EQ(labels[1]->toolTip(), QStringLiteral("old hint"));
    EXPECT_EQ(labels[2]->text(), QStringLiteral("old"));
    EXPECT_EQ(labels[3]->text(), QStringLiteral("old"));
}

TEST_F(Translation, WalkSkipsExcludedUnnamedAndNestedFormsAndNumbersTreeNodes) {
    QWidget form;
    form.setObjectName(QStringLiteral("frmX"));
    auto* excluded = new QWidget(&form);
    excluded->setObjectName(QStringLiteral("pnlExcluded"));
    excluded->setProperty("tag", -1);
    (new QLabel(QStringLiteral("a"), excluded))->setObjectName(QStringLiteral("lblUnderExcluded"));
    auto* unnamed = new QWidget(&form);
    (new QLabel(QStringLiteral("b"), unnamed))->setObjectName(QStringLiteral("lblUnderUnnamed"));
    auto* nested = new QDialog(&form);
    nested->setObjectName(QStringLiteral("frmNested"));
    (new QLabel(QStringLiteral("c"), nested))->setObjectName(QStringLiteral("lblNested"));
    auto* container = new QWidget(&form);
    container->setObjectName(QStringLiteral("pnlGroup"));
    (new QCheckBox(QStringLiteral("d"), container))->setObjectName(QStringLiteral("chkInGroup"));
    (new QLabel(QStringLiteral("skipped"), &form))->setObjectName(QString());
    auto* tree = new QTreeWidget(&form);
    tree->setObjectName(QStringLiteral("tvwNodes"));
    auto* root0 = new QTreeWidgetItem(tree, {QStringLiteral("r0")});
    new QTreeWidgetItem(root0, {QStringLiteral("r0c0")});
    new QTreeWidgetItem(tree, {QStringLiteral("r1")});

    const QString path = dir.filePath(QStringLiteral("w.txt"));
    WriteTranslation(&form, path, QStringLiteral("X"));
    const IniFile written(path);
    EXPECT_EQ(written.keyNames(QStringLiteral("X")),
              Names({"frmX.chkInGroup", "frmX.chkInGroup.Hint", "frmX.tvwNodes.0", "frmX.tvwNodes.1",
                     "frmX.tvwNodes.2"}));
    EXPECT_EQ(written.readString(QStringLiteral("X"), QStringLiteral("frmX.tvwNodes.1"), {}),
              QStringLiteral("r0c0"));

    const QString translated =
        WriteFile(dir, "tree.txt", "[X]\nfrmX.tvwNodes.1=child\nfrmX.tvwNodes.2=second\nfrmX.lblNested=no\n");
    ApplyTranslation(&form, translated, QStringLiteral("X"));
    EXPECT_EQ(root0->child(0)->text(0), QStringLiteral("child"));
    EXPECT_EQ(tree->topLevelItem(1)->text(0), QStringLiteral("second"));
    EXPECT_EQ(nested->findChild<QLabel*>()->text(), QStringLiteral("c"));
}

TEST_F(Translation, ValuesAreCutAt2047Characters) {
    QWidget form;
    form.setObjectName(QStringLiteral("frmX"));
    auto* label = new QLabel(&form);
    label->setObjectName(QStringLiteral("lblLong"));
    const QByteArray value(3000, 'x');
    ApplyTranslation(&form, WriteFile(dir, "long.txt", "[X]\nfrmX.lblLong=" + value + "\n"),
                     QStringLiteral("X"));
    EXPECT_EQ(label->text().size(), 2047);
}

TEST_F(Translation, TemplateWrittenWhileAnotherLanguageIsActiveLeavesTheOpenDialogAlone) {
    FakeConfigHost host;
    MainForm main;
    TfrmConfig open(host, TfrmConfig::Use::Interactive);
    open.show();
    ApplyTranslation(&main.form, ShippedTranslation("Deutsch.txt"), MainSection);
    ApplyTranslation(&open, ShippedTranslation("Deutsch.txt"), ConfigSection);
    host.calls.clear();

    const QString target = dir.filePath(QStringLiteral("English.txt"));
    WriteTemplate(host, main, target);
    const IniFile written(target);
    EXPECT_EQ(written.readString(QStringLiteral("Main"), QStringLiteral("frmRunning.Config1"), {}),
              QStringLiteral("E&instellungen"));
    EXPECT_EQ(written.readString(QStringLiteral("Config"), QStringLiteral("frmConfig.btnApply"), {}),
              QStringLiteral("&Apply"));
    EXPECT_TRUE(host.calls.isEmpty()) << host.calls.join(QLatin1Char(' ')).toStdString();
    EXPECT_TRUE(open.isVisible());
    EXPECT_EQ(open.findChild<QPushButton*>(QStringLiteral("btnApply"))->text(),
              QStringLiteral("Ü&bernehmen"));
}

TEST_F(Translation, UnwritableTargetRaisesTheWriteError) {
    MainForm main;
    const QString target = dir.filePath(QStringLiteral("Translation/English.txt"));
    try {
        WriteTranslation(&main.form, target, MainSection);
        FAIL() << "no error raised";
    } catch (const Error& error) {
        EXPECT_EQ(error.message(), QStringLiteral("Unable to write to ") + target);
    }
}

} // namespace
