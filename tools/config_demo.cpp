// Shows the settings dialog with a stand-in controller, for screenshots and manual checks:
//   config_demo [--page N] [--translation FILE] [--program-dir DIR] [--monitors N]
// N counts the pages from 0 (General). The dialog's changes go to a settings file in a temporary
// folder; FILE is a translation file applied to the dialog before it is shown.
#include <QApplication>
#include <QCommandLineParser>
#include <QDesktopServices>
#include <QTemporaryDir>
#include <QUrl>

#include "common/settings.h"
#include "config/config_dialog.h"
#include "config/config_host.h"
#include "config/page_control.h"
#include "skins/skin_list.h"
#include "translation/translation.h"
#include "translation/ui_text.h"

namespace {

class DemoHost : public ConfigHost {
public:
    DemoHost(const QString& programDir, const QString& settingsFile, int monitors)
        : m_folder(programDir + QStringLiteral("/Kelvara")), m_settingsFile(settingsFile),
          m_monitors(monitors) {
        m_stored = LoadSettings(settingsFile, m_folder);
    }
    void setDialog(QObject* dialog) { m_dialog = dialog; }

    StoredSettings& stored() override { return m_stored; }
    void saveSettings() override { SaveSettings(m_settingsFile, m_stored); }
    PendingChanges& pending() override { return m_pending; }
    const ProgramFolder& folder() const override { return m_folder; }
    bool isNT() const override { return true; }
    bool layeredMode() const override { return true; }
    int monitorCount() const override { return m_monitors; }
    QStringList skinList() const override { return FindSkins(m_folder.contentDirs()); }
    void translateAll() override {
        QObject main;
        main.setObjectName(QStringLiteral("frmRunning"));
        ::TranslateAll(&main, {}, m_dialog, m_stored.TranslationPath);
    }
    void setAggressiveTimer(bool) override {}
    void reloadSkin() override {}
    void redrawAllTabs() override {}
    void rebuildTabs() override {}
    void placeTabs() override {}
    void dropPendingUpdateCheck() override {}
    void configClosed() override { m_dialog = nullptr; }
    void openUrl(const QUrl& url) override { QDesktopServices::openUrl(url); }
    void grabShortcutKey(bool) override {}

private:
    ProgramFolder m_folder;
    QString m_settingsFile;
    int m_monitors;
    StoredSettings m_stored;
    PendingChanges m_pending;
    QObject* m_dialog = nullptr;
};

} // namespace

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    QCommandLineParser parser;
    parser.addOption({QStringLiteral("page"), QStringLiteral("Page shown first."), QStringLiteral("N"),
                      QStringLiteral("0")});
    parser.addOption(
        {QStringLiteral("translation"), QStringLiteral("Translation file."), QStringLiteral("FILE")});
    parser.addOption({QStringLiteral("program-dir"), QStringLiteral("Program folder (skins, Translation/)."),
                      QStringLiteral("DIR"),
                      QCoreApplication::applicationDirPath() + QStringLiteral("/../Kelvara")});
    parser.addOption({QStringLiteral("monitors"), QStringLiteral("Monitors reported."), QStringLiteral("N"),
                      QStringLiteral("2")});
    parser.process(app);

    QTemporaryDir settingsDir;
    DemoHost host(parser.value(QStringLiteral("program-dir")),
                  settingsDir.filePath(QStringLiteral("Kelvara.cfg.ini")),
                  parser.value(QStringLiteral("monitors")).toInt());
    if (parser.isSet(QStringLiteral("translation")))
        host.stored().TranslationPath = parser.value(QStringLiteral("translation"));

    LoadUiTexts(host.stored().TranslationPath);
    auto* dialog = new TfrmConfig(host, TfrmConfig::Use::Interactive);
    host.setDialog(dialog);
    ApplyTranslation(dialog, host.stored().TranslationPath, ConfigSection);
    dialog->findChild<PageControl*>(QStringLiteral("Pages"))
        ->setCurrentIndex(parser.value(QStringLiteral("page")).toInt());
    dialog->show();
    QObject::connect(dialog, &QObject::destroyed, &app, &QApplication::quit);
    return app.exec();
}
