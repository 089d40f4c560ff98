#include "core/controller.h"

#include <algorithm>
#include <limits>

#include <QApplication>
#include <QCoreApplication>
#include <QDesktopServices>
#include <QDir>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QGuiApplication>
#include <QLocale>
#include <QMenu>
#include <QThread>
#include <QThreadPool>

#include <malloc.h>

#include "common/error.h"
#include "common/ini_file.h"
#include "common/names.h"
#include "common/undecodable_names.h"
#include "config/config_dialog.h"
#include "config/startup_entry.h"
#include "config/translation_template.h"
#include "core/startup_trace.h"
#include "core/tab_set_names.h"
#include "formats/shortcut_link.h"
#include "platform/recycle_bin.h"
#include "platform/rename_without_replacing.h"
#include "platform/x11_compositor.h"
#include "platform/x11_selection_watch.h"
#include "platform/user_prompts.h"
#include "skins/skin_fonts.h"
#include "tabs/desktop_opener.h"
#include "skins/skin_list.h"
#include "tabs/background_items.h"
#include "tabs/desktop_entry_edit.h"
#include "tabs/order_file.h"
#include "tabs/tab_geometry.h"
#include "tabwindow/tab_window.h"
#include "tabwindow/work_area.h"
#include "translation/language_match.h"
#include "translation/translation.h"
#include "translation/ui_text.h"
#include "ui/error_report.h"
#include "ui/item_properties_dialog.h"
#include "ui/loading_window.h"
#include "ui/qt_translations.h"
#include "update/download_name.h"
#include "update/update_check.h"
#include "update/update_window.h"

TfrmRunning::TfrmRunning(const ProgramFolder& folder, const QStringList& arguments, UserPrompts& prompts)
    : m_folder(folder), m_prompts(prompts) {
    setObjectName(QStringLiteral("frmRunning"));
    setWindowFlags(Qt::Tool | Qt::FramelessWindowHint);
    m_menu = BuildMainMenu(this);
    ConnectMenu();
    StartupStep("menu made");
    m_tmrOnTop.setObjectName(QStringLiteral("tmrOnTop"));
    m_tmrOnTop.setInterval(1000);
    connect(&m_tmrOnTop, &QTimer::timeout, this, &TfrmRunning::tmrOnTopTimer);
    connect(&m_liveFolders, &LiveFolders::rebuildNeeded, this, &TfrmRunning::RebuildTabs);

    // The splash shows during the rest of the start, until the first rebuild hides it.
    // Its clip is read on a worker thread: the tabs do not wait for the splash.
    m_loadingSplash = new TfrmLoading(m_folder.splashClip(), this, TfrmLoading::ClipLoading::InBackground);
    m_loadingSplash->setProperty("form", true); // a form of its own: translation walks skip it
    StartupStep("splash made");

    for (const QString& argument : arguments) {
        if (argument.toUpper() == QLatin1String("NONT"))
            m_isNT = false;
    }
    if (!m_isNT) {
        m_prompts.message(
            this, ApplicationCaption(),
            UiText("Message.OldWindows", "Sorry, Kelvara 2.0 doesn't work on windows 95/98/ME"));
        RequestEnd(1);
    }
    m_layeredMode = m_isNT;
    QCoreApplication::processEvents();

    m_stored = LoadSettings(m_folder.settingsFile(), m_folder);
    FollowUserLanguages(m_stored, m_folder, QLocale::system().uiLanguages());
    StartupStep("settings read");
    m_context.settings = &m_stored.settings;
    m_context.skin = &m_skin;
    m_context.layeredMode = m_layeredMode;
    m_context.host = this;
    SetStackingMode(m_stored.AOTMode);
    TranslateAll();
    StartupStep("translation applied");

    m_skinList = FindSkins(m_folder.contentDirs());
    if (m_skinList.isEmpty()) {
        m_prompts.message(this, ApplicationCaption(), UiText("Message.NoSkins", "No skins found!"));
        RequestEnd(1);
        return;
    }
    StartupStep("skins found");
    LoadCurrentSkin();
    StartupStep("skin loaded");
    ConnectScreens();
    m_compositorWatch = new X11SelectionWatch(CompositorSelection(), {}, this);
    connect(m_compositorWatch, &X11SelectionWatch::ownerChanged, this, &TfrmRunning::CompositorChanged);

    m_updateCheck = new UpdateCheck(m_folder, m_prompts, this, this);
    connect(m_updateCheck, &UpdateCheck::closeProgramRequested, this, [this] { RequestEnd(); });
    if (m_stored.AutoUpdate)
        m_updateCheck->start(m_isNT);
    StartupStep("watchers and update check set up");
}

TfrmRunning::~TfrmRunning() {
    qDeleteAll(std::exchange(m_tabWindows, {}));
    qDeleteAll(std::exchange(m_releasedWindows, {}));
    // A read begun for a window just deleted runs to its end: let it end while the application
    // and Qt's own shared objects (the MIME database, the icon theme) are still there.
    ShortcutReaders().waitForDone();
    UnregisterSkinFonts();
    delete m_loadingSplash.data();
}

void TfrmRunning::ConnectMenu() {
    connect(m_menu.Config1, &QAction::triggered, this, &TfrmRunning::Config1Click);
    connect(m_menu.NewTab1, &QAction::triggered, this, &TfrmRunning::NewTab1Click);
    connect(m_menu.Refresh1, &QAction::triggered, this, &TfrmRunning::Refresh1Click);
    connect(m_menu.WriteTranslationFile1, &QAction::triggered, this,
            &TfrmRunning::WriteTranslationFile1Click);
    connect(m_menu.Rename1, &QAction::triggered, this, &TfrmRunning::Rename1Click);
    connect(m_menu.Edit1, &QAction::triggered, this, &TfrmRunning::Edit1Click);
    connect(m_menu.Delete1, &QAction::triggered, this, &TfrmRunning::Delete1Click);
    connect(m_menu.Exit1, &QAction::triggered, this, &TfrmRunning::Exit1Click);
    connect(m_menu.AddApplications1, &QAction::triggered, this, &TfrmRunning::AddApplications1Click);
    // "Advanced" is offered only while Shift is held at the moment the menu opens.
    connect(m_menu.pmMain, &QMenu::aboutToShow, this, [this] {
        m_menu.Advanced1->setVisible(QGuiApplication::queryKeyboardModifiers() & Qt::ShiftModifier);
    });
}

void TfrmRunning::RequestEnd(int status) {
    m_endRequested = true;
    m_exitStatus = status;
    // A running message loop ends once the current event has been handled. Before the loop
    // runs, the program start looks at EndRequested() instead: an exit asked for then would
    // also stop every later modal box from showing.
    if (QThread::currentThread()->loopLevel() > 0)
        QCoreApplication::exit(status);
}

void TfrmRunning::LoadCurrentSkin() {
    try {
        m_skin.Load(m_stored.SkinName, m_stored.settings, m_skinList, m_folder.contentDirs(), m_layeredMode);
        for (const UserText& warning : std::as_const(m_skin.Warnings))
            ReportError(Worded(warning));
    } catch (const SkinNotFound& e) {
        m_prompts.message(this, ApplicationCaption(), Worded(e.text()));
        RequestEnd(1);
    }
}

void TfrmRunning::ReloadSkin() {
    LoadCurrentSkin();
}

void TfrmRunning::SaveSettings() {
    ::SaveSettings(m_folder.settingsFile(), m_stored);
    // An autostart entry of an older version gets the form that an uninstalled Kelvara leaves
    // harmless.
    const QString entry = StartupEntryPath();
    if (!entry.isEmpty())
        UpdateStartupEntry(entry, m_folder.executablePath(), m_folder.userDir());
}

void TfrmRunning::SetStackingMode(StackingMode mode) {
    m_stored.AOTMode = mode;
    m_context.aot = mode;
    if (mode == StackingMode::Aggressive)
        m_tmrOnTop.start();
    else
        m_tmrOnTop.stop();
}

void TfrmRunning::Start() {
    // A program that refused to run, or found no skin, builds no tabs.
    if (m_endRequested)
        return;
    ImportLegacyIni();
    RebuildTabs();
    StartupStep("tabs built");
    GrabShortcutKey();
    StartupStep("shortcut key grabbed");
    // A download ended by a crash or a kill left its temporary file in the user's folder. Removed
    // once the tabs are up: no download can start before the user has answered the update
    // window, long after this.
    QTimer::singleShot(0, this, [folder = m_folder.userDir()] { RemoveStaleDownloads(folder); });
}

void TfrmRunning::tmrOnTopTimer() {
    if (m_configOpen)
        return;
    for (TfrmTab* window : std::as_const(m_tabWindows))
        window->ApplyStacking();
}

void TfrmRunning::ConnectScreens() {
    // A resolution or monitor change puts the tab windows at their places again.
    auto* watcher = new ScreenWatcher(this);
    // Queued: while a monitor is being removed it is still listed.
    connect(watcher, &ScreenWatcher::changed, this, &TfrmRunning::PlaceTabs, Qt::QueuedConnection);
}

void TfrmRunning::PlaceTabs() {
    if (TabsToShow(m_tabsListed) != m_tabWindows.size()) {
        RebuildTabs();
        return;
    }
    ::PlaceTabs(m_tabWindows, m_context);
}

qsizetype TfrmRunning::TabsToShow(qsizetype n) const {
    const qint32 count = qint32(std::min<qsizetype>(n, std::numeric_limits<qint32>::max()));
    return TabsThatFit(count, m_stored.settings.vertical(), TabWorkArea(m_context),
                       RowFor(m_stored.settings, m_skin));
}

void TfrmRunning::RedrawAllTabs() {
    ::RedrawAllTabs(m_tabWindows);
}

void TfrmRunning::IconThemeChanged() {
    for (TfrmTab* window : std::as_const(m_tabWindows))
        window->IconThemeChanged();
}

void TfrmRunning::CompositorChanged() {
    // Only a change of path needs new windows; the tabs of the start are built by Start.
    if (m_tabWindows.isEmpty() || m_context.compositing == (m_layeredMode && CompositorRunning()))
        return;
    RebuildTabs();
}

void TfrmRunning::RebuildTabs() {
    if (m_rebuilding) {
        m_rebuildAgain = true;
        return;
    }
    {
        struct Guard {
            bool& flag;
            ~Guard() { flag = false; }
        } guard{m_rebuilding};
        m_rebuilding = true;
        do {
            m_rebuildAgain = false;
            RebuildOnce();
        } while (m_rebuildAgain);
    }
    if (m_tabWindows.isEmpty() && !m_endRequested && !PromptNewTab())
        RequestEnd(m_newTabFailed ? 1 : 0);
    Q_EMIT TabsRebuilt();
}

bool TfrmRunning::Busy() const {
    if (m_rebuilding || m_configOpen || QApplication::activeModalWidget() ||
        QApplication::activePopupWidget())
        return true;
    return std::any_of(m_tabWindows.begin(), m_tabWindows.end(), [](const TfrmTab* w) { return w->Busy(); });
}

void TfrmRunning::OwnChangeShown() {
    m_liveFolders.MarkShown(m_folder.tabsDir());
}

void TfrmRunning::RebuildOnce() {
    // What is read from here on is what will be shown; a change made while the tabs are built
    // differs from it and brings another rebuild.
    m_liveFolders.MarkShown(m_folder.tabsDir());
    if (m_loadingSplash)
        m_loadingSplash->show();
    const QList<TfrmTab*> old = std::exchange(m_tabWindows, {});
    for (TfrmTab* window : old) {
        window->CancelItemsRead();
        window->hide();
        QCoreApplication::processEvents();
    }
    m_releasedWindows += old;
    if (!m_destroyingReleased)
        DestroyReleasedWindow();

    m_context.compositing = m_layeredMode && CompositorRunning();
    // Making and showing a window asks the display server a question or two: with hundreds of tabs
    // the event loop turns every few milliseconds meanwhile, and with a few not after every one.
    QElapsedTimer sinceTurn;
    sinceTurn.start();
    auto turnEventLoop = [&sinceTurn] {
        if (sinceTurn.elapsed() >= 5) {
            QCoreApplication::processEvents();
            sinceTurn.restart();
        }
    };
    for (const QString& path : UndecodableEntries(m_folder.tabsDir(), false, true))
        ReportError(UiText("Error.TabFolderName",
                           "The tab folder %1 is not shown: its name is not valid UTF-8; rename it.")
                        .arg(path));
    QList<OrderedName> names = OrderedListing(m_folder.tabsDir(), QStringLiteral("*.*"), false, true);
    // Tabs past the end of the screen could not be reached; they get no window at all, so that a
    // tab set of thousands costs no more than what the screen can show.
    m_tabsListed = names.size();
    const qsizetype shown = TabsToShow(names.size());
    QString fit;
    if (shown < names.size()) {
        fit = UiText("Error.TabsDoNotFit",
                     "The tabs do not fit on the screen: %1 of %2 are shown; use a smaller spacing, "
                     "another edge or fewer tabs.")
                  .arg(shown)
                  .arg(names.size());
        names.resize(shown);
    }
    // Said once, not at every refresh or drop while it stays the same.
    if (!fit.isEmpty() && fit != m_fitReported)
        ReportError(fit);
    m_fitReported = fit;
    StartupStep("tabs listed");
    for (qsizetype i = 0; i < names.size(); ++i) {
        auto* window = new TfrmTab(m_context);
        m_tabWindows.append(window);
        TTab& model = window->TabModel();
        model.TabName = names.at(i).name;
        model.TabFolder = m_folder.tabsDir() + QLatin1Char('/') + names.at(i).entryName;
        // The shortcuts are read on worker threads while the windows are made and after; a
        // closed tab shows only its head, which does not depend on them. They are read after the
        // digest of what is shown, so that a change made meanwhile brings another rebuild.
        window->ReadItemsInBackground(m_liveFolders.Marked());
        // Queued: the window's read must have finished its own signal before it is taken.
        connect(window, &TfrmTab::itemsRead, this, &TfrmRunning::TakeItemsInOrder, Qt::QueuedConnection);
        model.TabIndex = int(i);
        model.TabCount = int(names.size());
        window->RebuildImage();
        turnEventLoop();
    }
    StartupStep("tab windows made");
    QCoreApplication::processEvents();
    StartupStep("events handled");
    QStringList tabFolders;
    for (const TfrmTab* window : std::as_const(m_tabWindows))
        tabFolders.append(window->TabModel().TabFolder);
    m_liveFolders.Watch(m_folder.tabsDir(), tabFolders);
    StartupStep("folders watched");
    ::PlaceTabs(m_tabWindows, m_context);
    for (TfrmTab* window : std::as_const(m_tabWindows)) {
        window->show();
        turnEventLoop();
    }
    StartupStep("tab windows shown");
    if (!m_tabWindows.isEmpty())
        StartupStepOnExpose(m_tabWindows.last()->windowHandle(), "last tab exposed");
    if (m_loadingSplash)
        m_loadingSplash->hide();
    m_itemsTaken = 0;
    TakeItemsInOrder();
}

void TfrmRunning::DestroyReleasedWindow() {
    // Released windows are destroyed once control is back in the event loop, so a tab window may
    // start a rebuild from its own handler. They go one per turn of the loop, each asking for the
    // next as it goes: hundreds destroyed in one turn would hold the loop for a noticeable time.
    m_destroyingReleased = !m_releasedWindows.isEmpty();
    if (!m_destroyingReleased) {
        // The pictures and items of the released windows were freed in many small pieces; the
        // allocator keeps such memory for later unless asked to give it back, and after a stream
        // of rebuilds the program would stay tens of megabytes larger than before.
        malloc_trim(0);
        return;
    }
    TfrmTab* next = m_releasedWindows.takeFirst();
    connect(next, &QObject::destroyed, this, &TfrmRunning::DestroyReleasedWindow);
    next->deleteLater();
}

void TfrmRunning::TakeItemsInOrder() {
    // The tabs can be used before their reads are done: one that opens, or whose model is asked
    // for, takes its items at once. The rest are taken here in the order of the tabs, so that the
    // messages of unreadable shortcuts come in that order whichever read finishes first; the items
    // read before such a shortcut stay.
    while (m_itemsTaken < m_tabWindows.size() && m_tabWindows.at(m_itemsTaken)->ItemsReadFinished()) {
        m_tabWindows.at(m_itemsTaken)->TakeItems();
        ++m_itemsTaken;
    }
}

bool TfrmRunning::PromptNewTab() {
    m_newTabFailed = false;
    const QString answer = m_prompts.askText(this, UiText("Prompt.NewTabTitle", "New Tab"),
                                             UiText("Prompt.NewTab", "Enter name for Tab:"), QString());
    if (answer.isEmpty())
        return false;
    // A folder that cannot be made (the tabs folder is a file, say) would bring back the same
    // question over and over without a word: say why instead, and count it as no new tab.
    const QString folder = m_folder.tabsDir() + QLatin1Char('/') + EscapeName(answer);
    if (!QDir().mkpath(folder)) {
        m_prompts.message(
            this, ApplicationCaption(),
            UiText("Error.UnableToCreate", "Unable to create %1").arg(QDir::toNativeSeparators(folder)));
        m_newTabFailed = true;
        return false;
    }
    RebuildTabs();
    return true;
}

void TfrmRunning::ShowPopup(const TItem& target, const QPoint& screenPos, TfrmTab* opener) {
    m_popupItem = target;
    const bool anim = opener && opener->tmrAnim().isActive();
    const bool drop = opener && opener->tmrDrop().isActive();
    const bool onTop = m_tmrOnTop.isActive();
    if (opener) {
        opener->tmrAnim().stop();
        opener->tmrDrop().stop();
    }
    m_tmrOnTop.stop();
    m_menu.N2->setVisible(m_popupItem.Index >= 0);
    m_menu.Edit1->setVisible(m_popupItem.Index >= 0);
    QPointer<TfrmTab> guard(opener);
    m_menu.pmMain->exec(screenPos);
    // A command may have rebuilt the tab set and released the opener meanwhile.
    if (guard) {
        if (anim)
            guard->tmrAnim().start();
        if (drop)
            guard->tmrDrop().start();
    }
    if (onTop)
        m_tmrOnTop.start();
}

bool TfrmRunning::AskUser(const QString& caption, const QString& text) {
    return m_prompts.question(this, caption, text);
}

void TfrmRunning::NewTab1Click() {
    PromptNewTab();
}

void TfrmRunning::Refresh1Click() {
    RebuildTabs();
}

void TfrmRunning::Rename1Click() {
    const TItem target = m_popupItem;
    if (target.Index < 0) {
        const QString answer =
            m_prompts.askText(this, UiText("Prompt.RenameTabTitle", "Rename Tab"),
                              UiText("Prompt.NewName", "Enter new name:"), target.Data.Name);
        if (answer == target.Data.Name)
            return;
        // The answer is used as typed. One holding "/" would move the tab into another folder,
        // so RenameEntry refuses it like any name the file system does not take.
        const QString newPath = m_folder.tabsDir() + QLatin1Char('/') + answer;
        if (NameTaken(target.Data.LinkFile, newPath))
            ReportError(UiText("Error.TabExists", "A tab named %1 already exists.").arg(answer));
        else if (!RenameEntry(target.Data.LinkFile, newPath))
            ReportError(UiText("Error.TabNotRenamed", "Unable to rename the tab %1 to %2.")
                            .arg(target.Data.Name, answer));
        RebuildTabs();
        return;
    }
    const ItemFileName parts = SplitItemFileName(target.Data.LinkFile);
    // A desktop entry shows the name it holds rather than its file's: that name is what is renamed.
    const bool entry = IsDesktopEntryName(target.Data.LinkFile);
    const QString shown = entry ? target.Data.Name : parts.Base;
    const QString answer = m_prompts.askText(this, UiText("Prompt.RenameItemTitle", "Rename Item"),
                                             UiText("Prompt.NewName", "Enter new name:"), shown);
    if (answer == shown)
        return;
    const QString newPath = RenamedItemPath(target.Data.LinkFile, answer, parts.Extension);
    const bool moves = newPath != target.Data.LinkFile;
    // A rename that cannot happen changes nothing, the order file included: moving the new name
    // in it would move the other item of that name instead.
    if (moves && NameTaken(target.Data.LinkFile, newPath)) {
        ReportError(UiText("Error.ItemExists", "An item named %1 already exists.").arg(answer));
        return;
    }
    const QString failed =
        UiText("Error.ItemNotRenamed", "Unable to rename the item %1 to %2.").arg(shown, answer);
    if (entry) {
        // The entry that cannot take its new name (one linked from elsewhere, a read-only file)
        // keeps its file name as well.
        try {
            SetDesktopEntryName(target.Data.LinkFile, answer);
        } catch (const Error& error) {
            ReportError(failed + QLatin1Char(' ') + Worded(error.text()));
            return;
        }
    }
    if (moves && !RenameEntry(target.Data.LinkFile, newPath)) {
        ReportError(failed);
        // An entry shows its new name all the same.
        if (entry)
            RebuildTabs();
        return;
    }
    if (moves) {
        const QFileInfo info(newPath);
        SetOrderPosition(info.path(), info.fileName(), target.Index);
    }
    RebuildTabs();
}

void TfrmRunning::Edit1Click() {
    if (m_popupItem.Index < 0)
        return;
    ShowItemProperties(m_popupItem.Data.LinkFile, this);
}

void TfrmRunning::Delete1Click() {
    DeleteToRecycleBin(m_popupItem.Data.LinkFile, [this](const QString& caption, const QString& text) {
        return m_prompts.question(this, caption, text, true);
    });
    RebuildTabs();
}

void TfrmRunning::Exit1Click() {
    RequestEnd();
}

void TfrmRunning::ImportLegacyIni() {
    const QString legacy = m_folder.legacyIniFile();
    if (!QFileInfo(legacy).isFile())
        return;
    const QString shownList = QDir::toNativeSeparators(legacy);
    const IniFile ini(legacy);
    for (const QString& section : ini.sectionNames()) {
        const QString tabFolder = m_folder.tabsDir() + QLatin1Char('/') + LegacyTabFolderName(section);
        if (!QDir().mkpath(tabFolder)) {
            ReportError(UiText("Import.TabNotMade",
                               "The tab %1 of the older tab list %2 is not imported: the "
                               "folder %3 cannot be made.")
                            .arg(section, shownList, QDir::toNativeSeparators(tabFolder)));
            continue;
        }
        for (const QString& key : ini.keyNames(section)) {
            const QString value = ini.readString(section, key, QString());
            if (value.isEmpty())
                continue;
            const QString file = tabFolder + QLatin1Char('/') + EscapeName(key) + QStringLiteral(".lnk");
            const QFileInfo existing(file);
            // A shortcut of that name is the user's (made by an earlier import and maybe edited
            // since): it is kept as it is. Anything else of that name is in the way.
            QString reason;
            if (existing.isSymLink() || (existing.exists() && !existing.isFile()))
                reason = UiText("Import.InTheWay", "another entry of that name is in the way");
            else if (existing.exists())
                continue;
            if (reason.isEmpty()) {
                const LegacyShortcut parsed = ParseLegacyValue(value);
                TShortcutLink link;
                link.Target = parsed.Target;
                link.Arguments = parsed.Arguments;
                link.WorkingDir = parsed.WorkingDir;
                link.ShortcutFile = file;
                link.ShowCmd = scShowNormal;
                try {
                    link.Write();
                } catch (const EShortcutError& e) {
                    reason = Worded(e.reason().isEmpty() ? e.text() : e.reason());
                }
            }
            if (!reason.isEmpty())
                ReportError(UiText("Import.ShortcutNotImported",
                                   "The shortcut %1 of the older tab list %2 is not imported as %3: %4.")
                                .arg(key, shownList, QDir::toNativeSeparators(file), reason));
        }
    }
    SetAsideLegacyIni(legacy);
}

void TfrmRunning::SetAsideLegacyIni(const QString& legacy) {
    // The list is imported once: it goes to the first free name of "<list>.bak", "<list>.bak2",
    // ..., never over an earlier one, whose failure would bring the import back at every start.
    for (int n = 1; n <= 1000; ++n) {
        const QString aside = legacy + QStringLiteral(".bak") + (n > 1 ? QString::number(n) : QString());
        const QFileInfo taken(aside);
        if (taken.exists() || taken.isSymLink())
            continue;
        if (RenameWithoutReplacing(legacy, aside))
            return;
        if (!QFileInfo(aside).exists() && !QFileInfo(aside).isSymLink())
            break;
    }
    ReportError(UiText("Import.NotRenamed",
                       "The older tab list %1 could not be renamed, so it is imported again at "
                       "the next start; shortcuts already there are kept as they are.")
                    .arg(QDir::toNativeSeparators(legacy)));
}

TfrmLoading* TfrmRunning::LoadingSplash() const {
    return m_loadingSplash;
}

void TfrmRunning::TranslateAll() {
    QList<QObject*> windows;
    for (TfrmTab* window : std::as_const(m_tabWindows))
        windows.append(window);
    try {
        ::TranslateAll(this, windows, m_configDialog.data(), m_stored.TranslationPath);
    } catch (const Error& e) {
        ReportError(Worded(e.text()));
    }
    // Qt's own texts (edit fields' context menus, file dialogs) follow in the same language.
    LoadQtTranslations(QtLanguageFor(m_stored.TranslationPath));
}

TfrmConfig* TfrmRunning::ConfigDialog() const {
    return m_configDialog;
}

void TfrmRunning::Config1Click() {
    if (m_configOpen)
        return;
    m_configDialog = new TfrmConfig(*this, TfrmConfig::Use::Interactive, this);
    try {
        ApplyTranslation(m_configDialog, m_stored.TranslationPath, ConfigSection);
    } catch (const Error& e) {
        ReportError(Worded(e.text()));
    }
    m_configDialog->show();
    m_configOpen = true;
}

void TfrmRunning::configClosed() {
    m_configOpen = false;
    m_configDialog = nullptr;
    // The dialog may have closed while its shortcut field held the key.
    GrabShortcutKey();
}

void TfrmRunning::WriteTranslationFile1Click() {
    WriteTranslationTemplateFile(*this, this, m_tabWindows.isEmpty() ? nullptr : m_tabWindows.first());
}

int TfrmRunning::monitorCount() const {
    return int(QGuiApplication::screens().size());
}

void TfrmRunning::setAggressiveTimer(bool on) {
    // The dialog has set the mode in the stored settings; the tab windows follow it too.
    m_context.aot = m_stored.AOTMode;
    if (on)
        m_tmrOnTop.start();
    else
        m_tmrOnTop.stop();
}

void TfrmRunning::dropPendingUpdateCheck() {
    if (m_updateCheck)
        m_updateCheck->cancel();
}

void TfrmRunning::openUrl(const QUrl& url) {
    const QString address = url.toString();
    if (!IsOpenableTarget(address)) {
        ReportError(UiText("Error.AddressNoHost", "The address \"%1\" cannot be opened: it has no host.")
                        .arg(address));
        return;
    }
    QDesktopServices::openUrl(url);
}
