#pragma once

#include <QList>
#include <QPointer>
#include <QStringList>
#include <QTimer>
#include <QWidget>

#include "common/program_folder.h"
#include "common/settings.h"
#include "skins/skin.h"
#include "tabs/tab.h"

class QAction;
class QMenu;
class TfrmLoading;
class TfrmTab;
class UserPrompts;

// The hidden controller: it holds the program-wide state, builds the tab windows from the tabs
// folder, owns the popup menu and its commands, and keeps the tabs on top in the aggressive
// mode. It is a never-shown window so that it can own message boxes and the popup menu, and so
// that translation files can address it as "frmRunning".
class TfrmRunning : public QWidget {
    Q_OBJECT
public:
    // Runs the controller creation: settings, skins, skin load. prompts may be null for the
    // real dialog boxes.
    TfrmRunning(const ProgramFolder& folder, const QStringList& arguments, UserPrompts* prompts = nullptr);
    ~TfrmRunning() override;

    // The rest of the program start: the import of the older tab list, then the first rebuild.
    // An error of the import propagates: before the message loop it ends the program.
    void Start();

    // True once the end of the program has been requested (it takes effect in the message loop).
    bool EndRequested() const { return m_endRequested; }

    // Releases every tab window and creates them anew from the tabs folder. A rebuild requested
    // while one runs is carried out once after it, never nested.
    void RebuildTabs();
    // Asks for a tab name and creates the tab; false when no tab was created.
    bool PromptNewTab();
    void ImportLegacyIni();
    void PlaceTabs();
    void RedrawAllTabs();
    void ReloadSkin();

    // Shows pmMain for the given target at a screen point, with the timers of the opening tab
    // window and tmrOnTop suspended meanwhile.
    void ShowPopup(const TItem& target, const QPoint& screenPos, TfrmTab* opener);

    const ProgramFolder& Folder() const { return m_folder; }
    StoredSettings& Stored() { return m_stored; }
    const Settings& CurrentSettings() const { return m_stored.settings; }
    const TSkin& CurrentSkin() const { return m_skin; }
    const QStringList& SkinList() const { return m_skinList; }
    const QList<QPointer<TfrmTab>>& TabWindows() const { return m_tabWindows; }
    bool IsNT() const { return m_isNT; }
    bool LayeredMode() const { return m_layeredMode; }
    TItem& PopupItem() { return m_popupItem; }
    QMenu* Menu() const { return m_pmMain; }
    QTimer& OnTopTimer() { return m_tmrOnTop; }
    void SetConfigOpen(bool open) { m_configOpen = open; }
    void SaveSettings();

    // Menu commands.
    void NewTab1Click();
    void Refresh1Click();
    void Rename1Click();
    void Edit1Click();
    void Delete1Click();
    void Exit1Click();
    void Config1Click();
    void WriteTranslationFile1Click();

private:
    void BuildMenu();
    void RequestEnd();
    void TranslateAll();
    void FindSkins();
    void tmrOnTopTimer();
    void ConnectScreens();
    void RebuildOnce();

    ProgramFolder m_folder;
    UserPrompts* m_prompts;
    std::unique_ptr<UserPrompts> m_ownPrompts;
    StoredSettings m_stored;
    TSkin m_skin;
    QStringList m_skinList;
    QList<QPointer<TfrmTab>> m_tabWindows;
    TItem m_popupItem;
    bool m_isNT = true;
    bool m_layeredMode = true;
    bool m_endRequested = false;
    bool m_configOpen = false;
    bool m_rebuilding = false;
    bool m_rebuildAgain = false;
    QPointer<TfrmLoading> m_loadingSplash;
    QTimer m_tmrOnTop;

    QMenu* m_pmMain = nullptr;
    QAction* m_config1 = nullptr;
    QAction* m_n2 = nullptr;
    QAction* m_advanced1 = nullptr;
    QAction* m_edit1 = nullptr;
};
