#pragma once

#include <QString>
#include <QStringList>

#include "common/program_folder.h"
#include "common/settings.h"

class QUrl;

// Changes made in the settings dialog that wait for Apply. They outlive the dialog: only Apply
// clears them.
struct PendingChanges {
    bool rebuild = false;    // the tab windows must be rebuilt
    bool skinReload = false; // the skin must be reloaded and the tabs redrawn
};

// What the settings dialog needs of the controller. Each call stands for one operation of the
// controller; the dialog never reaches the controller's state otherwise.
class ConfigHost {
public:
    virtual ~ConfigHost() = default;

    // The settings record and the values beside it, changed in place by the dialog.
    virtual StoredSettings& stored() = 0;
    // Writes the settings file; raises Error("Unable to write to <path>").
    virtual void saveSettings() = 0;
    virtual PendingChanges& pending() = 0;
    virtual const ProgramFolder& folder() const = 0;

    virtual bool isNT() const = 0;
    virtual bool layeredMode() const = 0;
    virtual int monitorCount() const = 0;
    virtual QStringList skinList() const = 0;

    // Applies the active translation to the menu, the tab windows and the open dialog.
    virtual void translateAll() = 0;
    // Starts or stops the on-top timer of the aggressive always-on-top mode.
    virtual void setAggressiveTimer(bool on) = 0;
    // Reloads the current skin under its own name with the current settings.
    virtual void reloadSkin() = 0;
    virtual void redrawAllTabs() = 0;
    virtual void rebuildTabs() = 0;
    virtual void placeTabs() = 0;
    // Drops the answer of an update check that has not arrived yet.
    virtual void dropPendingUpdateCheck() = 0;
    // The open dialog has closed: the controller forgets it (ConfigOpen off, ConfigDialog none).
    virtual void configClosed() = 0;
    // Opens a web page in the default browser.
    virtual void openUrl(const QUrl& url) = 0;
    // Grabs the stored shortcut key anew (on), or lets it go while the user types a new one (off):
    // a grabbed key would never reach the dialog.
    virtual void grabShortcutKey(bool on) = 0;
};
