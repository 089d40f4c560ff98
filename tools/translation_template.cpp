// Writes the template translation file English.txt, as the menu command "Write Translation File"
// does, into the folder given as the only argument:
//   translation_template DIR
// The main form here is a stand-in that holds the controller's popup menu, built as the
// controller builds it.
#include <QApplication>
#include <QDir>
#include <QTextStream>

#include "common/error.h"
#include "common/settings.h"
#include "config/config_dialog.h"
#include "config/config_host.h"
#include "core/main_menu.h"
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
    void grabShortcutKey(bool) override {}

private:
    StoredSettings m_stored;
    PendingChanges m_pending;
    ProgramFolder m_folder{QStringLiteral("/Kelvara")};
};

void BuildMainForm(QWidget& form) {
    form.setObjectName(QStringLiteral("frmRunning"));
    BuildMainMenu(&form);
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
