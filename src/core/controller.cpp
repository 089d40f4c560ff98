#include "core/controller.h"

#include <QApplication>
#include <QDir>
#include <QFileInfo>
#include <QGuiApplication>
#include <QMenu>
#include <QScreen>

#include "common/error.h"
#include "common/names.h"
#include "core/tab_set_names.h"
#include "core/user_prompts.h"
#include "formats/shortcut_link.h"
#include "platform/file_operation.h"
#include "skins/skin_loader.h"
#include "tabs/order_file.h"
#include "tabwindow/tab_window.h"
#include "ui/error_report.h"
#include "ui/loading_window.h"

namespace {

// Marks a component that translation files leave alone, with everything it owns.
void ExcludeFromTranslation(QObject* object) {
    object->setProperty("tag", -1);
}

QAction* AddItem(QMenu* menu, const char* name, const QString& caption) {
    QAction* action = menu->addAction(caption);
    action->setObjectName(QString::fromLatin1(name));
    return action;
}

QAction* AddSeparator(QMenu* menu, const char* name) {
    QAction* action = menu->addSeparator();
    action->setObjectName(QString::fromLatin1(name));
    ExcludeFromTranslation(action);
    return action;
}

} // namespace

TfrmRunning::TfrmRunning(const ProgramFolder& folder, const QStringList& arguments, UserPrompts* prompts)
    : m_folder(folder), m_prompts(prompts) {
    setObjectName(QStringLiteral("frmRunning"));
    setWindowFlags(Qt::Tool | Qt::FramelessWindowHint);
    if (!m_prompts) {
        m_ownPrompts = std::make_unique<DialogPrompts>(this);
        m_prompts = m_ownPrompts.get();
    }
    BuildMenu();
    m_tmrOnTop.setInterval(1000);
    connect(&m_tmrOnTop, &QTimer::timeout, this, &TfrmRunning::tmrOnTopTimer);

    // The splash shows during the rest of the start, until the first rebuild hides it.
    m_loadingSplash = new TfrmLoading(m_folder.splashClip(), this);
    m_loadingSplash->show();

    for (const QString& argument : arguments) {
        if (argument.toUpper() == QLatin1String("NONT"))
            m_isNT = false;
    }
    if (!m_isNT) {
        m_prompts->showMessage(QStringLiteral("Sorry, Kelvara 2.0 doesn't work on windows 95/98/ME"));
        RequestEnd();
    }
    m_layeredMode = m_isNT;
    QCoreApplication::processEvents();

    m_stored = LoadSettings(m_folder.settingsFile(), m_folder.appDir());
    m_tmrOnTop.setActive(m_stored.AOTMode == StackingMode::Aggressive);
    TranslateAll();
    FindSkins();
    if (m_skinList.isEmpty()) {
        m_prompts->showMessage(QStringLiteral("No skins found!"));
        RequestEnd();
        m_noSkins = true;
        return;
    }
    LoadCurrentSkin();
    ConnectScreens();
}

TfrmRunning::~TfrmRunning() {
    for (const QPointer<TfrmTab>& window : std::as_const(m_tabWindows))
        delete window.data();
    UnregisterSkinFonts();
}

void TfrmRunning::BuildMenu() {
    m_pmMain = new QMenu(this);
    m_pmMain->setObjectName(QStringLiteral("pmMain"));
    m_config1 = AddItem(m_pmMain, "Config1", QStringLiteral("&Config"));
    m_n2 = AddSeparator(m_pmMain, "N2");
    QAction* newTab = AddItem(m_pmMain, "NewTab1", QStringLiteral("&New Tab"));
    QAction* refresh = AddItem(m_pmMain, "Refresh1", QStringLiteral("Re&fresh"));
    QMenu* advanced = new QMenu(QStringLiteral("Advanced"), m_pmMain);
    m_advanced1 = m_pmMain->addMenu(advanced);
    m_advanced1->setObjectName(QStringLiteral("Advanced1"));
    QAction* writeTranslation = AddItem(advanced, "WriteTranslationFile1", QStringLiteral("Write Translation File"));
    AddSeparator(m_pmMain, "N3");
    QAction* rename = AddItem(m_pmMain, "Rename1", QStringLiteral("&Rename"));
    m_edit1 = AddItem(m_pmMain, "Edit1", QStringLiteral("&Edit"));
    QAction* remove = AddItem(m_pmMain, "Delete1", QStringLiteral("&Delete"));
    AddSeparator(m_pmMain, "N1");
    QAction* exit = AddItem(m_pmMain, "Exit1", QStringLiteral("E&xit"));

    connect(m_config1, &QAction::triggered, this, &TfrmRunning::Config1Click);
    connect(newTab, &QAction::triggered, this, &TfrmRunning::NewTab1Click);
    connect(refresh, &QAction::triggered, this, &TfrmRunning::Refresh1Click);
    connect(writeTranslation, &QAction::triggered, this, &TfrmRunning::WriteTranslationFile1Click);
    connect(rename, &QAction::triggered, this, &TfrmRunning::Rename1Click);
    connect(m_edit1, &QAction::triggered, this, &TfrmRunning::Edit1Click);
    connect(remove, &QAction::triggered, this, &TfrmRunning::Delete1Click);
    connect(exit, &QAction::triggered, this, &TfrmRunning::Exit1Click);
    // "Advanced" shows only while Shift is held at the moment the menu opens.
    connect(m_pmMain, &QMenu::aboutToShow, this, [this] {
        m_advanced1->setVisible(QGuiApplication::queryKeyboardModifiers() & Qt::ShiftModifier);
    });
}

void TfrmRunning::RequestEnd() {
    m_endRequested = true;
    // Takes effect when the message loop next fetches a message; steps still running finish.
    QMetaObject::invokeMethod(QCoreApplication::instance(), &QCoreApplication::quit, Qt::QueuedConnection);
}

void TfrmRunning::Start() {
    if (m_skinList.isEmpty())
        return;
    ImportLegacyIni();
    RebuildTabs();
}

void TfrmRunning::FindSkins() {
    m_skinList = ::FindSkins(m_folder.appDir());
}

void TfrmRunning::tmrOnTopTimer() {
    if (m_configOpen)
        return;
    for (const QPointer<TfrmTab>& window : std::as_const(m_tabWindows)) {
        if (window)
            window->ApplyStacking();
    }
}

void TfrmRunning::ConnectScreens() {
    auto place = [this] { PlaceTabs(); };
    auto watch = [this, place](QScreen* screen) {
        connect(screen, &QScreen::geometryChanged, this, place);
        connect(screen, &QScreen::availableGeometryChanged, this, place);
    };
    for (QScreen* screen : QGuiApplication::screens())
        watch(screen);
    connect(qApp, &QGuiApplication::screenAdded, this, [watch, place](QScreen* screen) {
        watch(screen);
        place();
    });
    connect(qApp, &QGuiApplication::screenRemoved, this, place);
}

void TfrmRunning::RebuildTabs() {
    if (m_rebuilding) {
        m_rebuildAgain = true;
        return;
    }
    m_rebuilding = true;
    do {
        m_rebuildAgain = false;
        RebuildOnce();
    } while (m_rebuildAgain && !m_endRequested);
    m_rebuilding = false;

    if (m_tabWindows.isEmpty() && !m_endRequested) {
        if (!PromptNewTab())
            RequestEnd();
    }
}

void TfrmRunning::RebuildOnce() {
    if (m_loadingSplash)
        m_loadingSplash->show();
    // Released windows are destroyed once control is back in the event loop, so a tab window may
    // start a rebuild from its own handler.
    const QList<QPointer<TfrmTab>> old = std::exchange(m_tabWindows, {});
    for (const QPointer<TfrmTab>& window : old) {
        if (window) {
            window->hide();
            window->deleteLater();
        }
        QCoreApplication::processEvents();
    }

    const QStringList names = OrderedListing(m_folder.tabsDir(), QStringLiteral("*.*"), false, true);
    for (qsizetype i = 0; i < names.size(); ++i) {
        auto* window = new TfrmTab(context());
        m_tabWindows.append(window);
        TTab& model = window->TabModel();
        model.TabName = names.at(i);
        model.TabFolder = m_folder.tabsDir() + QLatin1Char('/') + names.at(i);
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
    for (const QPointer<TfrmTab>& window : std::as_const(m_tabWindows)) {
        if (window)
            window->show();
    }
    if (m_loadingSplash)
        m_loadingSplash->hide();
}

bool TfrmRunning::PromptNewTab() {
    const QString answer = m_prompts->askText(QStringLiteral("New Tab"), QStringLiteral("Enter name for Tab:"), QString());
    if (answer.isEmpty())
        return false;
    QDir().mkpath(m_folder.tabsDir() + QLatin1Char('/') + EscapeName(answer));
    RebuildTabs();
    return true;
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
        const QString answer = m_prompts->askText(QStringLiteral("Rename Tab"), QStringLiteral("Enter new name:"),
                                                  target.Data.Name);
        if (answer == target.Data.Name)
            return;
        // The answer is used as typed; a name holding "/" would move the tab into another folder,
        // so it is refused like any name the file system does not take.
        RenameEntry(target.Data.LinkFile, m_folder.tabsDir() + QLatin1Char('/') + answer);
        RebuildTabs();
        return;
    }
    const ItemFileName parts = SplitItemFileName(target.Data.LinkFile);
    const QString answer = m_prompts->askText(QStringLiteral("Rename Item"), QStringLiteral("Enter new name:"), parts.Base);
    if (answer == parts.Base)
        return;
    const QString newPath = RenamedItemPath(target.Data.LinkFile, answer, parts.Extension);
    RenameEntry(target.Data.LinkFile, newPath);
    const QFileInfo info(newPath);
    SetOrderPosition(info.path(), info.fileName(), target.Index);
    RebuildTabs();
}

void TfrmRunning::Delete1Click() {
    DeleteToRecycleBin(m_popupItem.Data.LinkFile);
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
            link.ShowCmd = TShowCmd::scShowNormal;
            link.Write();
        }
    }
    QFile::rename(legacy, legacy + QStringLiteral(".bak"));
}
