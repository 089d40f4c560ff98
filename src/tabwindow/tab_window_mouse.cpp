// The mouse handling of a tab window: hover and click opening, launching, dragging an item out
// and dragging the whole tab along the edge, and the popup menu.
#include "tabwindow/tab_window.h"

#include <QCursor>
#include <QDrag>
#include <QFileInfo>
#include <QMimeData>
#include <QMouseEvent>
#include <QWheelEvent>
#include <QPointer>
#include <QUrl>

#include "skins/skin.h"
#include "tabs/order_file.h"
#include "tabs/pointer_geometry.h"
#include "tabs/tab_geometry.h"
#include "tabwindow/tab_host.h"
#include "translation/ui_text.h"
#include "ui/error_report.h"

TabGeometry TfrmTab::PointerGeometry() const {
    TabGeometry geometry;
    geometry.edge = m_ctx.settings->TabPos;
    if (m_ctx.skin) {
        geometry.headHeight = m_ctx.skin->HeadHeight;
        geometry.itemHeight = m_ctx.skin->ItemHeight;
    }
    geometry.count = m_tab.ShownCount();
    geometry.first = m_tab.FirstShown;
    return geometry;
}

int TfrmTab::HitIndex(QPoint point) const {
    return ::HitIndex(PointerGeometry(), m_tab.OpenExtent, point);
}

void TfrmTab::mouseMoveEvent(QMouseEvent* event) {
    const QPoint pos = event->position().toPoint();
    if (MovingTab) {
        // The window follows the pointer along the edge only.
        if (m_ctx.settings->vertical())
            Place(QPoint(x(), m_placed.y() + pos.y() - MoveOrigin.y()));
        else
            Place(QPoint(m_placed.x() + pos.x() - MoveOrigin.x(), y()));
        return;
    }
    Hover(pos);
    if (ItemPressed && BeyondDragThreshold(PressOrigin, pos)) {
        ItemPressed = false;
        DragItemOut(PressedIndex);
    }
}

void TfrmTab::Hover(QPoint pos) {
    if (m_tmrAnim.isActive())
        return;
    int hot = NoItem;
    if (m_tab.OpenExtent > 0)
        hot = HitIndex(pos);
    else if (!m_ctx.settings->ClickOpen)
        SetOpen(true);
    if (hot >= m_tab.Items.size())
        hot = NoItem;
    SetHotIndex(hot);
}

void TfrmTab::wheelEvent(QWheelEvent* event) {
    if (!Open() || m_tab.ShownCount() >= m_tab.Items.size()) {
        QWidget::wheelEvent(event);
        return;
    }
    // A notch (120 eighths of a degree) scrolls one item; turning the wheel toward the user shows
    // the items further down the list.
    const QPoint delta = event->angleDelta();
    m_wheelDelta += delta.y() != 0 ? delta.y() : delta.x();
    const int notches = m_wheelDelta / 120;
    m_wheelDelta -= notches * 120;
    if (notches != 0)
        ScrollBy(-notches);
    // Qt hides a tooltip at every turn of the wheel; the highlighted item's stays.
    ShowCaptionTip();
    event->accept();
}

void TfrmTab::ScrollBy(int rows) {
    if (!m_tab.ScrollTo(m_tab.FirstShown + rows))
        return;
    // The item under a pointer resting on the tab is another one now.
    const QPoint pos = mapFromGlobal(QCursor::pos());
    if (rect().contains(pos) && !m_keyboardOpen) {
        const int hot = HitIndex(pos);
        m_tab.HotIndex = hot < m_tab.Items.size() ? hot : NoItem;
    }
    RedrawTab();
}

void TfrmTab::enterEvent(QEnterEvent* event) {
    // The pointer's arrival is its first movement over the tab. The platform reports it as an
    // enter, and drops the motion that came with it as no movement, so a tab would otherwise
    // wait for the next one to open.
    m_pointerCame = true;
    if (!MovingTab)
        Hover(event->position().toPoint());
    QWidget::enterEvent(event);
}

void TfrmTab::mousePressEvent(QMouseEvent* event) {
    const QPoint pos = event->position().toPoint();
    const int index = HitIndex(pos);
    const int count = int(m_tab.Items.size());
    if (event->button() == Qt::LeftButton) {
        if (index >= 0) {
            if (index >= count)
                return;
            ItemPressed = true;
            PressOrigin = pos;
            PressedIndex = index;
        } else if (m_ctx.settings->ClickOpen && m_tab.OpenExtent <= 0) {
            SetOpen(true);
        } else {
            MovingTab = true;
            grabMouse();
            m_tmrDrop.stop();
            MoveOrigin = pos;
        }
    } else if (event->button() == Qt::RightButton) {
        ShowPopup(index, event->globalPosition().toPoint());
    }
}

void TfrmTab::mouseReleaseEvent(QMouseEvent* event) {
    if (MovingTab) {
        MovingTab = false;
        releaseMouse();
        m_tmrDrop.start();
        FinishTabMove(event->globalPosition().toPoint());
    } else if (ItemPressed) {
        ItemPressed = false;
        LaunchItem(PressedIndex);
    }
}

void TfrmTab::LaunchItem(int index) {
    // The tab closes whether or not the item started; a macro's error still reaches the error
    // report through the application's handler.
    try {
        m_tab.ExecuteItem(index, [](const UserText& message) { ReportError(Worded(message)); });
    } catch (...) {
        SetOpen(false);
        throw;
    }
    SetOpen(false);
}

void TfrmTab::FinishTabMove(QPoint screenPos) {
    if (m_ctx.skin == nullptr)
        return;
    const bool vertical = m_ctx.settings->vertical();
    const int c = vertical ? screenPos.y() : screenPos.x();
    const int n = m_ctx.host ? m_ctx.host->TabWindowCount() : 1;
    const int slot = SlotAt(c, n, vertical, TabWorkArea(m_ctx), RowFor(*m_ctx.settings, *m_ctx.skin));
    const QString tabsFolder = QFileInfo(m_tab.TabFolder).absolutePath();
    // The tab set is rebuilt from disk whether or not the order was written: the dragged window
    // goes back to a place of the stored order, and a failure still reaches the error report.
    TabHost* host = m_ctx.host;
    try {
        SetOrderPosition(tabsFolder, m_tab.TabName, slot);
    } catch (...) {
        if (host)
            host->RequestRebuild();
        throw;
    }
    if (host)
        host->RequestRebuild();
}

void TfrmTab::DragItemOut(int index) {
    if (index < 0 || index >= m_tab.Items.size())
        return;
    const QString linkFile = m_tab.Items.at(index).Data.LinkFile;
    auto* data = new QMimeData;
    data->setUrls({QUrl::fromLocalFile(linkFile)});
    auto* drag = new QDrag(this);
    drag->setMimeData(data);
    // The drag runs its own loop, in which this window may be released by a rebuild.
    const QPointer<TfrmTab> self(this);
    m_draggingOut = true;
    drag->exec(Qt::CopyAction | Qt::MoveAction | Qt::LinkAction);
    if (!self)
        return;
    m_draggingOut = false;
    if (!QFileInfo::exists(linkFile))
        ReloadTab();
}

void TfrmTab::ShowPopup(int index, QPoint screenPos) {
    if (m_ctx.host == nullptr)
        return;
    TItem target;
    if (index >= 0 && index < m_tab.Items.size()) {
        target = m_tab.Items.at(index);
    } else {
        target.Index = -1;
        target.Data.Name = m_tab.TabName;
        target.Data.LinkFile = m_tab.TabFolder;
    }
    m_ctx.host->ShowPopup(target, screenPos, this);
}
