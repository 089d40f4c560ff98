#pragma once

#include <memory>

#include <QList>
#include <QPointer>
#include <QStringList>
#include <QTimer>
#include <QWidget>

#include "common/program_folder.h"
#include "common/settings.h"
#include "config/config_host.h"
#include "core/main_menu.h"
#include "platform/instance_request.h"
#include "skins/skin.h"
#include "tabs/live_folders.h"
#include "tabs/tab.h"
#include "tabwindow/tab_context.h"
#include "tabwindow/tab_host.h"

class GlobalShortcut;
class QMenu;
class TfrmConfig;
class TfrmLoading;
class X11SelectionWatch;
class TfrmTab;
class UpdateCheck;
class UserPrompts;

// The hidden controller: it holds the program-wide state, builds the tab windows from the tabs
// folder, owns the popup menu and its commands, and keeps the tabs on top in the aggressive
// mode. It is a window that is never shown, so that it can own message boxes and the popup menu
// and so that translation files can address it as "frmRunning".
class TfrmRunning : public QWidget, public ConfigHost, public TabHost {
    Q_OBJECT
public:
    // Runs the controller creation: settings, skin folders, skin load, update check.
    TfrmRunning(const ProgramFolder& folder, const QStringList& arguments, UserPrompts& prompts);
    ~TfrmRunning() override;

    // The rest of the program start: the import of the older tab list, then the first rebuild.
    // What the import cannot write goes to the error report, and the start goes on.
    void Start();

    // True once the end of the program has been requested; it takes effect in the message loop.
    bool EndRequested() const { return m_endRequested; }
    // The status the program ends with: 1 when it ended because it could not start or go on (no
    // skin, the skin missing, no tab folder could be made), else 0.
    int ExitStatus() const { return m_exitStatus; }

    // Releases every tab window and creates them anew from the tabs folder. A rebuild requested
    // while one runs is carried out once after it, never nested.
    void RebuildTabs();
    // Asks for a tab name and creates the tab; false when no tab was created.
    bool PromptNewTab();
    // Imports the older tab list (the legacy INI file) into tab folders and shortcuts: a shortcut
    // already there is kept, one that cannot be written is named in the error report with the
    // reason, and the rest is imported. The list is then renamed aside, so it is imported once.
    void ImportLegacyIni();
    // Puts the tab windows at their places; when a change of monitor, edge, alignment or spacing
    // changed how many tabs fit on the screen, rebuilds the tab set instead.
    void PlaceTabs();
    void RedrawAllTabs();
    // The desktop's icon theme changed: the items show their icons from the new one.
    void IconThemeChanged();
    // A compositing manager came or went: the tab windows are made again for the other path
    // (see-through pixels from the alpha channel with one, from the window's shape without).
    void CompositorChanged();
    // Loads CurrentSkin again under its own name with the current settings.
    void ReloadSkin();
    // Saves the settings file; an error goes to the caller.
    void SaveSettings();
    // Sets the always-on-top mode: the tab windows apply it at their next stacking, and the
    // aggressive mode runs tmrOnTop.
    void SetStackingMode(StackingMode mode);

    // Shows pmMain for target at a screen point, with the opening tab window's timers and
    // tmrOnTop suspended while it is open.
    void ShowPopup(const TItem& target, const QPoint& screenPos, TfrmTab* opener) override;

    // What the tab windows ask of the controller: a tab moved along the edge or a new shortcut
    // rebuilds the tab set; a drop asks before it replaces a file.
    void RequestRebuild() override { RebuildTabs(); }
    int TabWindowCount() const override { return int(m_tabWindows.size()); }
    bool AskUser(const QString& caption, const QString& text) override;
    void OwnChangeShown() override;
    void TabOpening(TfrmTab* tab) override;
    TfrmTab* NeighbourTab(const TfrmTab* tab, int step, bool wrap) override;

    // Grabs the shortcut key of the settings again; a key another program holds, or a text that
    // names no key, is reported once.
    void GrabShortcutKey();
    // The shortcut key was pressed at the X server time timestamp: opens the tab last opened (the
    // first one at first) from the keyboard, or gives the keyboard back to the one open so.
    void ShortcutKeyPressed(quint32 timestamp);
    // Opens target from the keyboard, or gives the keyboard back to it when it is open so.
    void OpenTabFromKeyboard(TfrmTab* target, quint32 timestamp);

    // A request of a later start or of the desktop, carried out from the event loop (CarryOut).
    void Request(const InstanceRequest& request);
    void CarryOut(const InstanceRequest& request);

    const ProgramFolder& Folder() const { return m_folder; }
    StoredSettings& Stored() { return m_stored; }
    const TSkin& CurrentSkin() const { return m_skin; }
    const QStringList& SkinList() const { return m_skinList; }
    const QList<TfrmTab*>& TabWindows() const { return m_tabWindows; }
    const TabContext& Context() const { return m_context; }
    bool IsNT() const { return m_isNT; }
    bool LayeredMode() const { return m_layeredMode; }
    const TItem& PopupItem() const { return m_popupItem; }
    const MainMenu& Menu() const { return m_menu; }
    QTimer& tmrOnTop() { return m_tmrOnTop; }
    TfrmLoading* LoadingSplash() const;
    UpdateCheck* Updater() const { return m_updateCheck; }
    bool ConfigOpen() const { return m_configOpen; }
    TfrmConfig* ConfigDialog() const;
    // Applies the active translation to the menu, the tab windows and the open settings dialog.
    // A malformed translation file is reported and the rest goes on.
    void TranslateAll();

    // What the settings dialog asks of the controller.
    StoredSettings& stored() override { return m_stored; }
    void saveSettings() override { SaveSettings(); }
    PendingChanges& pending() override { return m_pending; }
    const ProgramFolder& folder() const override { return m_folder; }
    bool isNT() const override { return m_isNT; }
    bool layeredMode() const override { return m_layeredMode; }
    int monitorCount() const override;
    QStringList skinList() const override { return m_skinList; }
    void translateAll() override { TranslateAll(); }
    void setAggressiveTimer(bool on) override;
    void reloadSkin() override { ReloadSkin(); }
    void redrawAllTabs() override { RedrawAllTabs(); }
    void rebuildTabs() override { RebuildTabs(); }
    void placeTabs() override { PlaceTabs(); }
    void dropPendingUpdateCheck() override;
    void configClosed() override;
    void openUrl(const QUrl& url) override;
    void grabShortcutKey(bool on) override;

    // Menu commands; each acts on PopupItem as it stood when the menu opened.
    void NewTab1Click();
    void Refresh1Click();
    void Rename1Click();
    void Edit1Click();
    void Delete1Click();
    void Exit1Click();
    void Config1Click();
    void WriteTranslationFile1Click();
    // Adds shortcuts to installed applications, chosen in a dialog, at the end of the menu's tab.
    void AddApplications1Click();

Q_SIGNALS:
    // A rebuild of the tab set has ended.
    void TabsRebuilt();

private:
    void ConnectMenu();
    // True while a rebuild for a change on disk would get in the user's way.
    bool Busy() const;
    // status: the program's exit status (ExitStatus).
    void RequestEnd(int status = 0);
    void SetAsideLegacyIni(const QString& legacy);
    void LoadCurrentSkin();
    void tmrOnTopTimer();
    void ConnectScreens();
    void RebuildOnce();
    void TakeItemsInOrder();
    void DestroyReleasedWindow();
    // The tab window last opened, or the first; none without tabs.
    TfrmTab* LastOpenedTab() const;
    // The tab window of a tab named on the command line (or of its folder); a name that fits
    // none is reported.
    TfrmTab* RequestedTab(const QString& tab);
    // How many of n tabs fit on the screen as the settings and the skin place them.
    qsizetype TabsToShow(qsizetype n) const;

    ProgramFolder m_folder;
    UserPrompts& m_prompts;
    StoredSettings m_stored;
    TSkin m_skin;
    TabContext m_context;
    QStringList m_skinList;
    QList<TfrmTab*> m_tabWindows;
    // Windows of earlier rebuilds, hidden, destroyed one after the other (DestroyReleasedWindow).
    QList<TfrmTab*> m_releasedWindows;
    bool m_destroyingReleased = false;
    qsizetype m_tabsListed = 0; // the tabs of the last rebuild, shown or not
    QString m_fitReported;      // the last report that not every tab fits, until they fit again
    TItem m_popupItem;
    bool m_isNT = true;
    bool m_layeredMode = true;
    bool m_endRequested = false;
    int m_exitStatus = 0;
    bool m_newTabFailed = false; // the last PromptNewTab could not make the folder
    bool m_configOpen = false;
    bool m_rebuilding = false;
    bool m_rebuildAgain = false;
    // The tab windows before this one have taken the items read for them.
    qsizetype m_itemsTaken = 0;
    PendingChanges m_pending;
    QPointer<TfrmConfig> m_configDialog;
    QPointer<TfrmLoading> m_loadingSplash;
    X11SelectionWatch* m_compositorWatch = nullptr;
    UpdateCheck* m_updateCheck = nullptr;
    QTimer m_tmrOnTop;

    // The key that opens the tabs from any program, the text last reported about it, and the tab
    // folder it opens.
    GlobalShortcut* m_shortcut = nullptr;
    QString m_shortcutReported;
    QString m_lastOpenedTab;

    MainMenu m_menu;
    LiveFolders m_liveFolders{[this] { return Busy(); }};
};
