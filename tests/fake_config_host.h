#pragma once

#include <QDir>
#include <QStringList>
#include <QTemporaryDir>
#include <QUrl>

#include "common/settings.h"
#include "config/config_host.h"

// A controller stand-in for the settings dialog: it keeps the settings in memory, saves them
// into a settings file in a temporary program folder, and records every other call in order.
class FakeConfigHost : public ConfigHost {
public:
    FakeConfigHost()
        : m_folder(m_dir.path() + QStringLiteral("/Kelvara")),
          m_stored(LoadSettings(m_folder.settingsFile(), m_folder)) {
        QDir().mkpath(m_folder.userTranslationDir());
    }

    QStringList calls;
    int monitors = 1;
    bool nt = true;
    QStringList skins{QStringLiteral("Aqua")};

    QString settingsFile() const { return m_folder.settingsFile(); }
    void useFolder(const ProgramFolder& folder) { m_folder = folder; }

    StoredSettings& stored() override { return m_stored; }
    void saveSettings() override {
        calls << QStringLiteral("save");
        SaveSettings(m_folder.settingsFile(), m_stored);
    }
    PendingChanges& pending() override { return m_pending; }
    const ProgramFolder& folder() const override { return m_folder; }
    bool isNT() const override { return nt; }
    bool layeredMode() const override { return nt; }
    int monitorCount() const override { return monitors; }
    QStringList skinList() const override { return skins; }
    void translateAll() override { calls << QStringLiteral("translateAll"); }
    void setAggressiveTimer(bool on) override {
        calls << (on ? QStringLiteral("timerOn") : QStringLiteral("timerOff"));
    }
    void reloadSkin() override { calls << QStringLiteral("reloadSkin"); }
    void redrawAllTabs() override { calls << QStringLiteral("redrawAllTabs"); }
    void rebuildTabs() override { calls << QStringLiteral("rebuildTabs"); }
    void placeTabs() override { calls << QStringLiteral("placeTabs"); }
    void dropPendingUpdateCheck() override { calls << QStringLiteral("dropPendingUpdateCheck"); }
    void configClosed() override { calls << QStringLiteral("configClosed"); }
    void openUrl(const QUrl& url) override { calls << QStringLiteral("openUrl ") + url.toString(); }

private:
    QTemporaryDir m_dir;
    ProgramFolder m_folder;
    StoredSettings m_stored;
    PendingChanges m_pending;
};
