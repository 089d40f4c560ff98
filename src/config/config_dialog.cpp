#include "config/config_dialog.h"

#include <algorithm>

#include <QCloseEvent>
#include <QKeyEvent>
#include <QPushButton>

#include "config/about_page.h"
#include "config/animation_page.h"
#include "config/appearance_page.h"
#include "config/config_host.h"
#include "config/general_page.h"
#include "config/page_control.h"
#include "config/plain_controls.h"
#include "config/position_page.h"
#include "config/skins_page.h"
#include "config/startup_entry.h"
#include "translation/ui_text.h"

TfrmConfig::TfrmConfig(ConfigHost& host, Use use, QWidget* parent)
    : QWidget(parent, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                          Qt::WindowMinimizeButtonHint | Qt::WindowCloseButtonHint),
      m_host(host), m_use(use) {
    setObjectName(QStringLiteral("frmConfig"));
    // A window of its own: the walk of the controller's translation does not enter it.
    setProperty("form", true);
    setFont(QFont(QStringLiteral("MS Sans Serif"), 8));
    setFixedSize(401, 334);
    // Hints show even while another window has the focus.
    setAttribute(Qt::WA_AlwaysShowToolTips);
    move(195, 117);

    if (use == Use::Interactive) {
        setAttribute(Qt::WA_DeleteOnClose);
        m_host.dropPendingUpdateCheck();
    }

    Pages = new PageControl(this);
    Pages->setObjectName(QStringLiteral("Pages"));
    Pages->setGeometry(0, 0, 401, 334);
    Pages->addPage(new GeneralPage(*this, use == Use::Interactive ? StartupEntryPath() : QString(), this),
                   QString());
    Pages->addPage(new SkinsPage(*this, use == Use::Interactive, this), QString());
    Pages->addPage(new AnimationPage(*this, this), QString());
    m_position = new PositionPage(*this, this);
    Pages->addPage(m_position, QString());
    Pages->addPage(new AppearancePage(*this, this), QString());
    m_about = new AboutPage(*this, this);
    Pages->addPage(m_about, QString());
    Pages->setCurrentIndex(0);
    setTexts();

    btnApply = new PlainPushButton(this);
    btnApply->setObjectName(QStringLiteral("btnApply"));
    btnApply->setText(QStringLiteral("&Apply"));
    btnApply->setToolTip(HintLines({QStringLiteral("Click this button to show any visible"),
                                    QStringLiteral("changes you have made to the tabs. If"),
                                    QStringLiteral("you do not click this after making"),
                                    QStringLiteral("changes, they will not be shown until"),
                                    QStringLiteral("the configuration dialog is closed.")}));
    btnApply->setEnabled(false);
    fitApplyButton();
    watchMouseMove(btnApply);

    connect(btnApply, &QPushButton::clicked, this, &TfrmConfig::apply);
    connect(Pages, &PageControl::currentChanged, this, [this] {
        if (m_shownOnce)
            pageChanged();
    });
}

void TfrmConfig::setTexts() {
    setWindowTitle(UiText("Config.Title", "Kelvara Configuration"));
    const QString names[] = {
        UiText("Config.PageGeneral", "General"),       UiText("Config.PageSkins", "Skins"),
        UiText("Config.PageAnimation", "Animation"),   UiText("Config.PagePosition", "Position"),
        UiText("Config.PageAppearance", "Appearance"), UiText("Config.PageAbout", "About"),
    };
    for (int i = 0; i < Pages->count(); ++i) {
        Pages->setPageCaption(i, names[i]);
        if (auto* page = qobject_cast<ConfigPage*>(Pages->page(i)))
            page->setTexts();
    }
}

void TfrmConfig::changeEvent(QEvent* event) {
    QWidget::changeEvent(event);
    if (event->type() != QEvent::LanguageChange)
        return;
    setTexts();
    // The shown page composes some of its lines (the skin's author, the system lines) anew.
    if (m_shownOnce)
        pageChanged();
}

void TfrmConfig::keyPressEvent(QKeyEvent* event) {
    // Escape closes the dialog as its close button does; changes are already saved.
    if (event->key() == Qt::Key_Escape && event->modifiers() == Qt::NoModifier) {
        close();
        return;
    }
    QWidget::keyPressEvent(event);
}

void TfrmConfig::apply() {
    btnApply->setEnabled(false);
    PendingChanges& pending = m_host.pending();
    if (pending.skinReload) {
        pending.skinReload = false;
        m_host.reloadSkin();
        m_host.redrawAllTabs();
    }
    if (pending.rebuild) {
        pending.rebuild = false;
        m_host.rebuildTabs();
    }
}

bool TfrmConfig::event(QEvent* event) {
    // The Apply button's caption changed (a translation).
    if (event->type() == QEvent::LayoutRequest)
        fitApplyButton();
    return QWidget::event(event);
}

void TfrmConfig::fitApplyButton() {
    // The button keeps its right edge and grows to the left with a longer caption, up to a width
    // that leaves the Skins page's button, in the same row, its room; beyond that the caption is
    // cut and whole in the hint.
    const int width = FittedButtonWidth(*btnApply, ApplyWidth, MaxApplyWidth);
    btnApply->setGeometry(ApplyRight - width, 300, width, 25);
}

void TfrmConfig::showEvent(QShowEvent* event) {
    QWidget::showEvent(event);
    if (!m_shownOnce) {
        m_shownOnce = true;
        pageChanged();
    }
}

void TfrmConfig::closeEvent(QCloseEvent* event) {
    event->accept();
    m_about->stopAnimation();
    if (m_use != Use::Interactive || m_closed)
        return;
    m_closed = true;
    m_host.configClosed();
    // Changes that were never applied show at least after a rebuild; the skin is not reloaded.
    if (btnApply->isEnabled())
        m_host.rebuildTabs();
}

bool TfrmConfig::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::MouseMove)
        m_position->clearHover();
    return QWidget::eventFilter(watched, event);
}

void TfrmConfig::markRebuild() {
    m_host.pending().rebuild = true;
    btnApply->setEnabled(true);
}

void TfrmConfig::markReload() {
    m_host.pending().skinReload = true;
    btnApply->setEnabled(true);
}

void TfrmConfig::watchMouseMove(QWidget* control) {
    control->setMouseTracking(true);
    control->installEventFilter(this);
}

void TfrmConfig::pageChanged() {
    m_about->stopAnimation();
    QWidget* shown = Pages->currentWidget();
    if (auto* page = qobject_cast<ConfigPage*>(shown))
        page->load();
    btnApply->setVisible(shown != m_about);
}
