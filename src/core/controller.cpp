#include "core/controller.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QGuiApplication>
#include <QMenu>
#include <QScreen>

#include "common/error.h"
#include "common/ini_file.h"
#include "common/names.h"
#include "core/tab_set_names.h"
#include "formats/shortcut_link.h"
#include "platform/recycle_bin.h"
#include "platform/user_prompts.h"
#include "skins/skin_fonts.h"
#include "skins/skin_list.h"
#include "tabs/order_file.h"
#include "tabwindow/tab_window.h"
#include "ui/error_report.h"
#include "ui/item_properties_dialog.h"
#include "ui/loading_window.h"
#include "update/update_check.h"
#include "update/update_window.h"

namespace {

QAction* AddItem(QMenu* menu, const char* name, const QString& caption) {
    QAction* action = menu->addAction(caption);
    action->setObjectName(QString::fromLatin1(name));
    return action;
}

// Separators carry the tag -1, which keeps them out of translation files.
QAction* AddSeparator(QMenu* menu, const char* name) {
    QAction* action = menu->addSeparator();
    action->setObjectName(QString::fromLatin1(name));
    action->setProperty("tag", -1);
    return action;
}

} // namespace

TfrmRunning::TfrmRunning(const ProgramFolder& folder, const QStringList& arguments, UserPrompts& prompts)
    : m_folder(folder), m_prompts(prompts) {
    setObjectName(QStringLiteral("frmRunning"));
    setWindowFlags(Qt::Tool | Qt::FramelessWindowHint);
    BuildMenu();
    m_tmrOnTop.setObjectName(QStringLiteral("tmrOnTop"));
    m_tmrOnTop.setInterval(1000);
    connect(&m_tmrOnTop, &QTimer::timeout, this, &TfrmRunning::tmrOnTopTimer);

    // The splash shows during the rest of the start, until the first rebuild hides it.
    m_loadingSplash = new TfrmLoading(m_folder.splashClip(), this);

    for (const QString& argument : arguments) {
        if (argument.toUpper() == QLatin1String("NONT"))
            m_isNT = false;
    }
    if (!m_isNT) {
        m_prompts.message(this, ApplicationCaption(),
                          QStringLiteral("Sorry, Kelvara 2.0 doesn't work on windows 95/98/ME"));
        RequestEnd();
    }
    m_layeredMode = m_isNT;
    QCoreApplication::processEvents();

    m_stored = LoadSettings(m_folder.settingsFile(), m_folder.appDir());
    m_context.settings = &m_stored.settings;
    m_context.skin = &m_skin;
    m_context.layeredMode = m_layeredMode;
    SetStackingMode(m_stored.AOTMode);

    m_skinList = FindSkins(m_folder.appDir());
    if (m_skinList.isEmpty()) {
        m_prompts.message(this, ApplicationCaption(), QStringLiteral("No skins found!"));
        RequestEnd();
        return;
    }
    LoadCurrentSkin();
    ConnectScreens();

    m_updateCheck = new UpdateCheck(m_folder, m_prompts, this, this);
    connect(m_updateCheck, &UpdateCheck::closeProgramRequested, this, &TfrmRunning::RequestEnd);
    if (m_stored.AutoUpdate)
        m_updateCheck->start(m_isNT);
}

TfrmRunning::~TfrmRunning() {
    qDeleteAll(std::exchange(m_tabWindows, {}));
    UnregisterSkinFonts();
    delete m_loadingSplash.data();
}

void TfrmRunning::BuildMenu() {
    m_pmMain = new QMenu(this);
    m_pmMain->setObjectName(QStringLiteral("pmMain"));
    QAction* config = AddItem(m_pmMain, "Config1", QStringLiteral("&Config"));
    m_n2 = AddSeparator(m_pmMain, "N2");
    QAction* newTab = AddItem(m_pmMain, "NewTab1", QStringLiteral("&New Tab"));
    QAction* refresh = AddItem(m_pmMain, "Refresh1", QStringLiteral("Re&fresh"));
    auto* advanced = new QMenu(QStringLiteral("Advanced"), m_pmMain);
    advanced->setObjectName(QStringLiteral("Advanced1Menu"));
    m_advanced1 = m_pmMain->addMenu(advanced);
    m_advanced1->setObjectName(QStringLiteral("Advanced1"));
    QAction* writeTranslation = AddItem(advanced, "WriteTranslationFile1", QStringLiteral("Write Translation File"));
    AddSeparator(m_pmMain, "N3");
    QAction* rename = AddItem(m_pmMain, "Rename1", QStringLiteral("&Rename"));
    m_edit1 = AddItem(m_pmMain, "Edit1", QStringLiteral("&Edit"));
    QAction* remove = AddItem(m_pmMain, "Delete1", QStringLiteral("&Delete"));
    AddSeparator(m_pmMain, "N1");
    QAction* exit = AddItem(m_pmMain, "Exit1", QStringLiteral("E&xit"));

    Q_UNUSED(config);
    Q_UNUSED(writeTranslation);
    connect(newTab, &QAction::triggered, this, &TfrmRunning::NewTab1Click);
    connect(refresh, &QAction::triggered, this, &TfrmRunning::Refresh1Click);
    connect(rename, &QAction::triggered, this, &TfrmRunning::Rename1Click);
    connect(m_edit1, &QAction::triggered, this, &TfrmRunning::Edit1Click);
    connect(remove, &QAction::triggered, this, &TfrmRunning::Delete1Click);
    connect(exit, &QAction::triggered, this, &TfrmRunning::Exit1Click);
    // "Advanced" is offered only while Shift is held at the moment the menu opens.
    connect(m_pmMain, &QMenu::aboutToShow, this, [this] {
        m_advanced1->setVisible(QGuiApplication::queryKeyboardModifiers() & Qt::ShiftModifier);
    });
}

void TfrmRunning::RequestEnd() {
    m_endRequested = true;
    // Takes effect when the message loop next fetches a message; steps still running finish.
    QMetaObject::invokeMethod(QCoreApplication::instance(), &QCoreApplication::quit, Qt::QueuedConnection);
}

void TfrmRunning::LoadCurrentSkin() {
    try {
        m_skin.Load(m_stored.SkinName, m_stored.settings, m_skinList, m_folder.appDir(), m_layeredMode);
    } catch (const SkinNotFound& e) {
        m_prompts.message(this, ApplicationCaption(), e.message());
        RequestEnd();
    }
}

void TfrmRunning::ReloadSkin() {
    LoadCurrentSkin();
}

void TfrmRunning::SaveSettings() {
    ::SaveSettings(m_folder.settingsFile(), m_stored);
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
}

void TfrmRunning::tmrOnTopTimer() {
    if (m_configOpen)
        return;
    for (TfrmTab* window : std::as_const(m_tabWindows))
        window->ApplyStacking();
}

void TfrmRunning::ConnectScreens() {
    auto watch = [this](QScreen* screen) {
        connect(screen, &QScreen::geometryChanged, this, &TfrmRunning::PlaceTabs);
        connect(screen, &QScreen::availableGeometryChanged, this, &TfrmRunning::PlaceTabs);
    };
    for (QScreen* screen : QGuiApplication::screens())
        watch(screen);
    connect(qApp, &QGuiApplication::screenAdded, this, [this, watch](QScreen* screen) {
        watch(screen);
        PlaceTabs();
    });
    connect(qApp, &QGuiApplication::screenRemoved, this, [this] {
        // The removed screen is still listed while the signal runs.
        QMetaObject::invokeMethod(this, &TfrmRunning::PlaceTabs, Qt::QueuedConnection);
    });
}

void TfrmRunning::PlaceTabs() {
    ::PlaceTabs(m_tabWindows, m_context);
}

void TfrmRunning::RedrawAllTabs() {
    ::RedrawAllTabs(m_tabWindows);
}

void TfrmRunning::RebuildTabs() {
    if (m_rebuilding) {
        m_rebuildAgain = true;
        return;
    }
    struct Guard {
        bool& flag;
        ~Guard() { flag = false; }
    } guard{m_rebuilding};
    m_rebuilding = true;
    do {
        m_rebuildAgain = false;
        RebuildOnce();
    } while (m_rebuildAgain);

    if (m_tabWindows.isEmpty() && !m_endRequested && !PromptNewTab())
        RequestEnd();
}

void TfrmRunning::RebuildOnce() {
    if (m_loadingSplash)
        m_loadingSplash->show();
    // Released windows are destroyed once control is back in the event loop, so a tab window
    // may start a rebuild from its own handler.
    const QList<TfrmTab*> old = std::exchange(m_tabWindows, {});
    for (TfrmTab* window : old) {
        window->hide();
        window->deleteLater();
        QCoreApplication::processEvents();
    }

    const QList<OrderedName> names =
        OrderedListing(m_folder.tabsDir(), QStringLiteral("*.*"), false, true);
    for (qsizetype i = 0; i < names.size(); ++i) {
        auto* window = new TfrmTab(m_context);
        m_tabWindows.append(window);
        TTab& model = window->TabModel();
        model.TabName = names.at(i).name;
        model.TabFolder = m_folder.tabsDir() + QLatin1Char('/') + names.at(i).entryName;
        // A shortcut that cannot be read ends that tab's load with its message; the items read
        // before it stay, and the other tabs are built as usual.
        try {
            model.LoadItems();
        } catch (const Error& e) {
            ReportError(e.message());
        }
        model.TabIndex = int(i);
        model.TabCount = int(names.size());
        window->RebuildImage();
        QCoreApplication::processEvents();
    }
    QCoreApplication::processEvents();
    PlaceTabs();
    for (TfrmTab* window : std::as_const(m_tabWindows))
        window->show();
    if (m_loadingSplash)
        m_loadingSplash->hide();
}

bool TfrmRunning::PromptNewTab() {
    const QString answer =
        m_prompts.askText(this, QStringLiteral("New Tab"), QStringLiteral("Enter name for Tab:"), QString());
    if (answer.isEmpty())
        return false;
    QDir().mkpath(m_folder.tabsDir() + QLatin1Char('/') + EscapeName(answer));
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
    m_n2->setVisible(m_popupItem.Index >= 0);
    m_edit1->setVisible(m_popupItem.Index >= 0);
    QPointer<TfrmTab> guard(opener);
    m_pmMain->exec(screenPos);
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

void TfrmRunning::NewTab1Click() {
    PromptNewTab();
}

void TfrmRunning::Refresh1Click() {
    RebuildTabs();
}

void TfrmRunning::Rename1Click() {
    const TItem target = m_popupItem;
    if (target.Index < 0) {
        const QString answer = m_prompts.askText(this, QStringLiteral("Rename Tab"),
                                                 QStringLiteral("Enter new name:"), target.Data.Name);
        if (answer == target.Data.Name)
            return;
        // The answer is used as typed. One holding "/" would move the tab into another folder,
        // so RenameEntry refuses it like any name the file system does not take.
        RenameEntry(target.Data.LinkFile, m_folder.tabsDir() + QLatin1Char('/') + answer);
        RebuildTabs();
        return;
    }
    const ItemFileName parts = SplitItemFileName(target.Data.LinkFile);
    const QString answer =
        m_prompts.askText(this, QStringLiteral("Rename Item"), QStringLiteral("Enter new name:"), parts.Base);
    if (answer == parts.Base)
        return;
    const QString newPath = RenamedItemPath(target.Data.LinkFile, answer, parts.Extension);
    RenameEntry(target.Data.LinkFile, newPath);
    const QFileInfo info(newPath);
    SetOrderPosition(info.path(), info.fileName(), target.Index);
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
    const IniFile ini(legacy);
    for (const QString& section : ini.sectionNames()) {
        const QString tabFolder = m_folder.tabsDir() + QLatin1Char('/') + LegacyTabFolderName(section);
        QDir().mkpath(tabFolder);
        for (const QString& key : ini.keyNames(section)) {
            const QString value = ini.readString(section, key, QString());
            if (value.isEmpty())
                continue;
            const LegacyShortcut parsed = ParseLegacyValue(value);
            TShortcutLink link;
            link.Target = parsed.Target;
            link.Arguments = parsed.Arguments;
            link.WorkingDir = parsed.WorkingDir;
            link.ShortcutFile = tabFolder + QLatin1Char('/') + EscapeName(key) + QStringLiteral(".lnk");
            link.ShowCmd = scShowNormal;
            link.Write();
        }
    }
    QFile::rename(legacy, legacy + QStringLiteral(".bak"));
}

TfrmLoading* TfrmRunning::LoadingSplash() const {
    return m_loadingSplash;
}
