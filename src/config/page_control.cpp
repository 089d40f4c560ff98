#include "config/page_control.h"

#include <QKeySequence>
#include <QPainter>
#include <QShortcut>
#include <QStyleOptionTabWidgetFrame>
#include <QTabBar>

namespace {

constexpr int FrameMargin = 4;

} // namespace

PageControl::PageControl(QWidget* parent) : QWidget(parent), m_tabs(new QTabBar(this)) {
    m_tabs->setObjectName(QStringLiteral("tabs"));
    m_tabs->setDrawBase(false);
    m_tabs->setExpanding(false);
    m_tabs->setUsesScrollButtons(false);
    // Names too long for the row show cut, and whole in their hints.
    m_tabs->setElideMode(Qt::ElideRight);
    // The style's default padding leaves no room for six captions in a dialog 401 pixels wide.
    m_tabs->setStyleSheet(QStringLiteral(
        "QTabBar::tab { padding: 3px 6px; border: 1px solid palette(mid); border-bottom: none;"
        " border-top-left-radius: 2px; border-top-right-radius: 2px; background: palette(button); }"
        "QTabBar::tab:selected { background: palette(window); }"
        "QTabBar::tab:!selected { margin-top: 2px; }"));
    connect(m_tabs, &QTabBar::currentChanged, this, [this](int index) {
        showPage(index);
        Q_EMIT currentChanged(index);
    });
    const struct {
        QKeyCombination keys;
        int by;
    } steps[] = {
        {Qt::CTRL | Qt::Key_Tab, 1},
        {Qt::CTRL | Qt::Key_PageDown, 1},
        {Qt::CTRL | Qt::SHIFT | Qt::Key_Backtab, -1},
        {Qt::CTRL | Qt::SHIFT | Qt::Key_Tab, -1},
        {Qt::CTRL | Qt::Key_PageUp, -1},
    };
    for (const auto& [keys, by] : steps) {
        auto* shortcut = new QShortcut(QKeySequence(keys), this);
        shortcut->setContext(Qt::WidgetWithChildrenShortcut);
        connect(shortcut, &QShortcut::activated, this, [this, by = by] { step(by); });
    }
}

void PageControl::step(int by) {
    if (m_pages.isEmpty())
        return;
    const int count = int(m_pages.size());
    setCurrentIndex((currentIndex() + by + count) % count);
    // The focus goes with the page, onto the row of page captions, as in other tabbed dialogs.
    m_tabs->setFocus(Qt::TabFocusReason);
}

void PageControl::addPage(QWidget* page, const QString& caption) {
    page->setParent(this);
    m_pages.append(page);
    page->setGeometry(pageArea());
    page->setVisible(false);
    m_tabs->addTab(caption);
    showPage(m_tabs->currentIndex());
}

void PageControl::setPageCaption(int index, const QString& caption) {
    m_tabs->setTabText(index, caption);
    m_tabs->setTabToolTip(index, caption);
}

int PageControl::currentIndex() const {
    return m_tabs->currentIndex();
}

void PageControl::setCurrentIndex(int index) {
    m_tabs->setCurrentIndex(index);
}

void PageControl::showPage(int index) {
    for (int i = 0; i < m_pages.size(); ++i) {
        if (i != index)
            m_pages[i]->setVisible(false);
    }
    if (QWidget* shown = page(index))
        shown->setVisible(true);
}

QRect PageControl::pageArea() const {
    const int top = m_tabs->sizeHint().height();
    return QRect(FrameMargin, top + FrameMargin, width() - 2 * FrameMargin, height() - top - 2 * FrameMargin);
}

void PageControl::resizeEvent(QResizeEvent*) {
    m_tabs->setGeometry(2, 0, width() - 4, m_tabs->sizeHint().height());
    for (QWidget* p : m_pages)
        p->setGeometry(pageArea());
}

void PageControl::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    QStyleOptionTabWidgetFrame frame;
    frame.initFrom(this);
    frame.rect =
        QRect(0, m_tabs->sizeHint().height() - 1, width(), height() - m_tabs->sizeHint().height() + 1);
    frame.tabBarSize = m_tabs->sizeHint();
    frame.shape = QTabBar::RoundedNorth;
    frame.lineWidth = style()->pixelMetric(QStyle::PM_DefaultFrameWidth, nullptr, this);
    style()->drawPrimitive(QStyle::PE_FrameTabWidget, &frame, &painter, this);
}
