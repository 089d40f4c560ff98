// Writes the template translation file English.txt, as the menu command "Write Translation File"
// does, into the folder given as the only argument:
//   translation_template DIR
// The main form here is a stand-in with the controller's popup menu: the same item names, texts
// and order, the separators marked to be left out.
#include <QAction>
#include <QApplication>
#include <QDir>
#include <QMenu>
#include <QTextStream>

#include "common/error.h"
#include "common/settings.h"
#include "config/config_dialog.h"
#include "config/config_host.h"
#include "translation/translation.h"

namespace {

// Only the dialog's construction reaches the host; none of these is called.
class SilentHost : public ConfigHost {
public:
    StoredSettings& stored() override { return m_stored; }
    void saveSettings() override {}
    PendingChanges& pending() override { return m_pending; }
    const ProgramFolder& folder() const override { return m_folder; }
    bool isNT() const override { return true; }
    bool layeredMode() const override { return true; }
    int monitorCount() const override { return 1; }
    QStringList skinList() const override { return {}; }
    void translateAll() override {}
    void setAggressiveTimer(bool) override {}
    void reloadSkin() override {}
    void redrawAllTabs() override {}
    void rebuildTabs() override {}
    void placeTabs() override {}
    void dropPendingUpdateCheck() override {}
    void configClosed() override {}
    void openUrl(const QUrl&) override {}

private:
    StoredSettings m_stored;
    PendingChanges m_pending;
    ProgramFolder m_folder{QStringLiteral("/Kelvara")};
};

QAction* AddItem(QMenu* menu, const QString& name, const QString& caption) {
    QAction* action = menu->addAction(caption);
    action->setObjectName(name);
    return action;
}

void AddSeparator(QMenu* menu, const QString& name) {
    QAction* action = menu->addSeparator();
    action->setObjectName(name);
    action->setProperty("tag", -1);
}

void BuildMainForm(QWidget& form) {
    form.setObjectName(QStringLiteral("frmRunning"));
    auto* pmMain = new QMenu(&form);
    pmMain->setObjectName(QStringLiteral("pmMain"));
    AddItem(pmMain, QStringLiteral("Config1"), QStringLiteral("&Config"));
    AddSeparator(pmMain, QStringLiteral("N2"));
    AddItem(pmMain, QStringLiteral("NewTab1"), QStringLiteral("&New Tab"));
    AddItem(pmMain, QStringLiteral("Refresh1"), QStringLiteral("Re&fresh"));
    auto* advanced = new QMenu(QStringLiteral("Advanced"), pmMain);
    advanced->setObjectName(QStringLiteral("mnuAdvanced"));
    pmMain->addMenu(advanced)->setObjectName(QStringLiteral("Advanced1"));
    AddItem(advanced, QStringLiteral("WriteTranslationFile1"), QStringLiteral("Write Translation File"));
    AddSeparator(pmMain, QStringLiteral("N3"));
    AddItem(pmMain, QStringLiteral("Rename1"), QStringLiteral("&Rename"));
    AddItem(pmMain, QStringLiteral("Edit1"), QStringLiteral("&Edit"));
    AddItem(pmMain, QStringLiteral("Delete1"), QStringLiteral("&Delete"));
    AddSeparator(pmMain, QStringLiteral("N1"));
    AddItem(pmMain, QStringLiteral("Exit1"), QStringLiteral("E&xit"));
}

} // namespace

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    if (argc != 2) {
        QTextStream(stderr) << "usage: translation_template DIR\n";
        return 2;
    }
    const QString target = QDir(QString::fromLocal8Bit(argv[1])).filePath(QStringLiteral("English.txt"));
    QFile::remove(target);
    QWidget mainForm;
    BuildMainForm(mainForm);
    SilentHost host;
    try {
        WriteTranslationTemplate(
            &mainForm, nullptr,
            [&host] { return std::make_unique<TfrmConfig>(host, TfrmConfig::Use::Template); }, target);
    } catch (const Error& error) {
        QTextStream(stderr) << error.message() << '\n';
        return 1;
    }
    return 0;
}
