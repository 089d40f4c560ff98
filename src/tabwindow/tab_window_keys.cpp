// The keyboard in a tab window: opening from a key with the keyboard focus, moving the highlight,
// going to the neighbouring tab, launching, the popup menu, finding an item by its first letters,
// and closing with the focus given back.
#include "tabwindow/tab_window.h"

#include <QAccessible>
#include <QApplication>
#include <QKeyEvent>

#include "platform/x11_focus.h"
#include "skins/skin.h"
#include "tabs/keyboard_navigation.h"
#include "tabs/pointer_geometry.h"
#include "tabs/tab_geometry.h"
#include "tabwindow/tab_host.h"

void TfrmTab::OpenFromKeyboard(quint32 timestamp, quintptr focusBefore) {
    m_keyboardOpen = true;
    m_pointerCame = false;
    m_focusBefore = focusBefore;
    m_typed.clear();
    setFocusPolicy(Qt::StrongFocus);
    const Settings& s = *m_ctx.settings;
    if (m_anim.Closing()) {
        // A closing tab only turns round; writing Open would wait for the closing to end.
        m_anim.Reopen(FullExtent(), s.OpenAnim);
        DrawItemsPart();
        SetTopmost(true);
        m_tmrDrop.start();
        m_tmrAnim.start(0);
    } else {
        SetOpen(true);
    }
    // The highlight is moved again below, so that a screen reader hears of it once the tab has
    // the focus.
    SetHotIndex(-1);
    setFocus(Qt::ShortcutFocusReason);
    TakeFocus(this, timestamp);
    MoveHighlight(m_tab.Items.isEmpty() ? -1 : 0);
}

bool TfrmTab::KeyboardOpen() const {
    return m_keyboardOpen && m_anim.Open() && !m_anim.Closing();
}

QRect TfrmTab::ItemGeometry(int index) const {
    return ItemRect(PointerGeometry(), index, m_ctx.skin ? m_ctx.skin->TabWidth : 0);
}

void TfrmTab::MoveHighlight(int index) {
    // The highlighted item is brought into view.
    const qint32 count = qint32(m_tab.Items.size());
    if (index >= 0 && m_tab.ScrollTo(FirstShowing(index, m_tab.FirstShown, count, m_tab.ShownCount()))) {
        m_tab.HotIndex = index;
        RedrawTab();
        ShowCaptionTip();
    }
    SetHotIndex(index);
    // Without a screen reader listening no interface is built for it.
    if (!m_keyboardOpen || index < 0 || !QAccessible::isActive())
        return;
    // The highlight is the keyboard's focus, so a screen reader reads the item under it.
    QAccessibleEvent event(this, QAccessible::Focus);
    event.setChild(index);
    QAccessible::updateAccessibility(&event);
}

void TfrmTab::CloseFromKeyboard(bool giveFocusBack) {
    m_keyboardOpen = false;
    SetHotIndex(-1);
    SetOpen(false);
    if (giveFocusBack)
        GiveFocusBack(m_focusBefore);
}

void TfrmTab::GoToNeighbour(int step, bool wrap, quint32 timestamp) {
    TfrmTab* next = m_ctx.host ? m_ctx.host->NeighbourTab(this, step, wrap) : nullptr;
    if (next == nullptr)
        return;
    const quintptr focusBefore = m_focusBefore;
    CloseFromKeyboard(false);
    next->OpenFromKeyboard(timestamp, focusBefore);
}

void TfrmTab::TypeAhead(const QString& text) {
    // Letters typed within the keyboard's input interval make one word.
    if (!m_typedAt.isValid() || m_typedAt.elapsed() > QApplication::keyboardInputInterval())
        m_typed.clear();
    m_typedAt.start();
    m_typed += text;
    QStringList captions;
    for (const TItem& item : std::as_const(m_tab.Items))
        captions.append(item.Data.Name);
    const int found = TypeAheadMatch(captions, m_tab.HotIndex, m_typed);
    if (found >= 0)
        MoveHighlight(found);
}

void TfrmTab::keyPressEvent(QKeyEvent* event) {
    if (!m_keyboardOpen) {
        QWidget::keyPressEvent(event);
        return;
    }
    const int count = int(m_tab.Items.size());
    const auto key = Qt::Key(event->key());
    const Qt::KeyboardModifiers modifiers = event->modifiers() & ~Qt::KeypadModifier;
    const TabEdge edge = m_ctx.settings->TabPos;
    // On X11 a key event carries the server's time, which the next tab takes the focus with.
    const auto time = quint32(event->timestamp());
    if (const int step = ItemStep(edge, key); step != 0 && modifiers == Qt::NoModifier) {
        MoveHighlight(SteppedHighlight(m_tab.HotIndex, count, step));
    } else if (const int tabStep = TabStep(edge, key); tabStep != 0 && modifiers == Qt::NoModifier) {
        GoToNeighbour(tabStep, false, time);
    } else if (key == Qt::Key_Tab && modifiers == Qt::NoModifier) {
        GoToNeighbour(1, true, time);
    } else if (key == Qt::Key_Backtab || (key == Qt::Key_Tab && modifiers == Qt::ShiftModifier)) {
        GoToNeighbour(-1, true, time);
    } else if (key == Qt::Key_Home) {
        MoveHighlight(count > 0 ? 0 : -1);
    } else if (key == Qt::Key_End) {
        MoveHighlight(count - 1);
    } else if (key == Qt::Key_Return || key == Qt::Key_Enter) {
        const int index = m_tab.HotIndex;
        if (index < 0 || index >= count)
            return;
        // The launched program takes the focus from the window the user worked in, as after a
        // click; the closed tab keeps none.
        m_keyboardOpen = false;
        GiveFocusBack(m_focusBefore);
        LaunchItem(index);
    } else if (key == Qt::Key_Escape) {
        CloseFromKeyboard(true);
    } else if (key == Qt::Key_Menu || (key == Qt::Key_F10 && modifiers == Qt::ShiftModifier)) {
        const int index = m_tab.HotIndex;
        const QRect place = index >= 0 && index < count ? ItemGeometry(index) : rect();
        ShowPopup(index, mapToGlobal(place.center()));
    } else if (!event->text().isEmpty() && event->text().front().isPrint() &&
               !(modifiers & (Qt::ControlModifier | Qt::AltModifier | Qt::MetaModifier))) {
        TypeAhead(event->text());
    } else {
        QWidget::keyPressEvent(event);
    }
}

void TfrmTab::changeEvent(QEvent* event) {
    // Another window has taken the keyboard (a click elsewhere, the window manager): the tab
    // closes as it would when the pointer leaves it. The popup menu and the dialogs of its
    // commands take the keyboard for a while and leave the tab as it is.
    if (event->type() == QEvent::ActivationChange && m_keyboardOpen && !isActiveWindow() &&
        QApplication::activePopupWidget() == nullptr && QApplication::activeModalWidget() == nullptr)
        CloseFromKeyboard(false);
    QWidget::changeEvent(event);
}

bool TfrmTab::focusNextPrevChild(bool) {
    return false;
}
