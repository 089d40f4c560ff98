// A tab window as a drop target: the effect offered while dragging, the insertion marker, and
// the drop itself.
#include "tabwindow/tab_window.h"

#include <QDragEnterEvent>
#include <QDragLeaveEvent>
#include <QDragMoveEvent>
#include <QDropEvent>
#include <QMimeData>
#include <QPainter>
#include <QUrl>

#include "formats/shortcut_link.h"
#include "skins/skin.h"
#include "tabs/pointer_geometry.h"
#include "tabwindow/drop_operation.h"
#include "tabwindow/tab_host.h"

namespace {

// The local files of a drag; anything that is not a local file makes the list unusable, so that
// the drop is refused as a whole.
QStringList DraggedPaths(const QMimeData* data) {
    QStringList paths;
    if (data == nullptr)
        return paths;
    for (const QUrl& url : data->urls()) {
        if (!url.isLocalFile())
            return {};
        QString path = url.toLocalFile();
        // A folder dragged from a file manager may come with a trailing separator.
        while (path.size() > 1 && path.endsWith(QLatin1Char('/')))
            path.chop(1);
        paths.append(path);
    }
    return paths;
}

Qt::DropAction ActionFor(DropEffect effect) {
    switch (effect) {
    case DropEffect::Copy:
        return Qt::CopyAction;
    case DropEffect::Move:
        return Qt::MoveAction;
    case DropEffect::Link:
        return Qt::LinkAction;
    case DropEffect::None:
        break;
    }
    return Qt::IgnoreAction;
}

DropEffect EffectOf(const QDropEvent* event) {
    return DropEffectFor(DraggedPaths(event->mimeData()), event->modifiers() & Qt::ControlModifier,
                         ReadsAsShortcut);
}

// The effect is the tab's own decision, whatever the source offered.
void Answer(QDropEvent* event, DropEffect effect) {
    if (effect == DropEffect::None) {
        event->ignore();
        return;
    }
    event->setDropAction(ActionFor(effect));
    event->accept();
}

} // namespace

void TfrmTab::dragEnterEvent(QDragEnterEvent* event) {
    // Accepted even when it cannot be dropped, so that the tab still opens and marks the place;
    // the move events that follow tell the source that it cannot drop.
    if (event->mimeData() && event->mimeData()->hasUrls()) {
        event->setDropAction(ActionFor(EffectOf(event)));
        event->accept();
    } else {
        event->ignore();
    }
}

void TfrmTab::dragMoveEvent(QDragMoveEvent* event) {
    DragOver(event->position().toPoint());
    Answer(event, EffectOf(event));
}

void TfrmTab::dragLeaveEvent(QDragLeaveEvent*) {
    m_dragScroll.stop();
    SetDropIndex(-1);
}

void TfrmTab::DragOver(QPoint pos) {
    SetOpen(true);
    m_dragPos = pos;
    SetDropIndex(DropBoundary(PointerGeometry(), pos));
    // Held near an end with more items past it, the drag scrolls the tab until it moves away.
    if (DragScrollStep(PointerGeometry(), int(m_tab.Items.size()), pos) == 0)
        m_dragScroll.stop();
    else if (!m_dragScroll.isActive())
        m_dragScroll.start();
}

void TfrmTab::tmrDragScrollTimer() {
    // While the tab still slides open, its rows are not where the geometry puts them yet.
    if (m_tmrAnim.isActive())
        return;
    const int step = DragScrollStep(PointerGeometry(), int(m_tab.Items.size()), m_dragPos);
    if (step == 0) {
        m_dragScroll.stop();
        return;
    }
    ScrollBy(step);
    ShowCaptionTip();
    SetDropIndex(DropBoundary(PointerGeometry(), m_dragPos));
}

void TfrmTab::SetDropIndex(int index) {
    if (index == m_tab.DropIndex)
        return;
    m_tab.DropIndex = index;
    update(); // paintEvent draws the marker of the new boundary over the image
}

void TfrmTab::PaintDropMarker(QPainter& painter) const {
    if (m_tab.DropIndex < 0 || m_ctx.skin == nullptr)
        return;
    const int position = MarkerPosition(PointerGeometry(), m_tab.DropIndex);
    // A white line in XOR mode inverts the pixels under it, so it shows on any skin.
    painter.setCompositionMode(QPainter::RasterOp_SourceXorDestination);
    QPen pen(Qt::white, 2);
    pen.setCapStyle(Qt::FlatCap);
    painter.setPen(pen);
    painter.drawLine(MarkerLine(m_ctx.settings->TabPos, position, m_ctx.skin->TabWidth));
}

void TfrmTab::dropEvent(QDropEvent* event) {
    const QStringList paths = DraggedPaths(event->mimeData());
    const DropEffect effect = EffectOf(event);
    const int dropIndex = m_tab.DropIndex;
    m_dragScroll.stop();
    // The next drag starts without a boundary, so that its first marker always shows.
    SetDropIndex(-1);
    if (effect == DropEffect::None) {
        event->ignore();
        return;
    }
    // After a move the tab has moved the file itself: the source is told "copied", so that it
    // does not delete the file as well.
    event->setDropAction(effect == DropEffect::Link ? Qt::LinkAction : Qt::CopyAction);
    event->accept();
    TabHost* host = m_ctx.host;
    const UserQuestion ask = [host](const QString& caption, const QString& text) {
        return host != nullptr && host->AskUser(caption, text);
    };
    DropOutcome outcome = DropOutcome::Nothing;
    try {
        if (paths.size() == 1)
            outcome = CarryOutDrop(m_tab, paths.front(), effect, dropIndex, ask);
        else
            outcome = CarryOutDrops(m_tab, paths, event->modifiers() & Qt::ControlModifier, dropIndex, ask);
    } catch (...) {
        // What is shown is what is on disk: not an order that was not saved, and every file that
        // did come in.
        ReloadTab();
        throw;
    }
    switch (outcome) {
    case DropOutcome::Reordered:
        RedrawTab();
        if (host)
            host->OwnChangeShown();
        break;
    case DropOutcome::Added:
        ReloadTab();
        SetTargetExtent(m_tab.ItemsLength);
        SetAnimParams(AnimMode::Linear);
        m_tmrAnim.start();
        break;
    case DropOutcome::Linked:
        if (host)
            host->RequestRebuild();
        break;
    case DropOutcome::Nothing:
        break;
    }
}
