#include "tabwindow/tab_window.h"

#include <algorithm>
#include <cmath>

#include <QCursor>
#include <QGuiApplication>
#include <QPainter>
#include <QScreen>
#include <QTextDocument>
#include <QToolTip>
#include <QWindow>

#include "common/device_pixels.h"
#include "common/error.h"
#include "core/tooltip_display.h"
#include "platform/x11_window_state.h"
#include "skins/skin.h"
#include "tabs/background_items.h"
#include "tabs/tab_geometry.h"
#include "tabs/tab_painter.h"
#include "tabs/tab_shape.h"
#include "tabwindow/tab_host.h"
#include "translation/ui_text.h"
#include "ui/error_report.h"

namespace {

// The pace of the animation and of leave detection.
constexpr int TimerIntervalMs = 10;
// How fast a drag held near an end scrolls: an item per interval.
constexpr int DragScrollIntervalMs = 150;

} // namespace

bool OwnedBy(const QWindow* window, const QWindow* owner) {
    for (const QWindow* w = window; w != nullptr;
         w = w->transientParent() ? w->transientParent() : w->parent()) {
        if (w == owner)
            return true;
    }
    return false;
}

TfrmTab::TfrmTab(const TabContext& context, QWidget* parent)
    : QWidget(parent, Qt::Tool | Qt::FramelessWindowHint), m_ctx(context) {
    setObjectName(QStringLiteral("frmTab"));
    m_tab.Skin = m_ctx.skin;
    m_tmrAnim.setObjectName(QStringLiteral("tmrAnim"));
    m_tmrDrop.setObjectName(QStringLiteral("tmrDrop"));
    for (QTimer* timer : {&m_tmrAnim, &m_tmrDrop}) {
        timer->setInterval(TimerIntervalMs);
        timer->setTimerType(Qt::PreciseTimer);
    }
    connect(&m_tmrAnim, &QTimer::timeout, this, &TfrmTab::tmrAnimTimer);
    connect(&m_tmrDrop, &QTimer::timeout, this, &TfrmTab::tmrDropTimer);
    m_dragScroll.setInterval(DragScrollIntervalMs);
    connect(&m_dragScroll, &QTimer::timeout, this, &TfrmTab::tmrDragScrollTimer);
    m_freeItems.setSingleShot(true);
    m_freeItems.setInterval(ItemsKeptClosedMs);
    connect(&m_freeItems, &QTimer::timeout, this, &TfrmTab::FreeItemsPart);

    ApplyStacking();
    if (m_ctx.layeredMode) {
        // Without a compositor a translucent window shows its transparent pixels black, so the
        // alpha channel is used only while one runs; the mask cuts the shape out either way.
        m_translucent = m_ctx.compositing;
        setAttribute(Qt::WA_TranslucentBackground, m_translucent);
        if (m_ctx.settings && m_ctx.settings->Alpha)
            setWindowOpacity((m_ctx.settings->AlphaV & 0xFF) / 255.0);
    }
    setAttribute(Qt::WA_NoSystemBackground);
    // Tabs appear and slide without taking the keyboard from the window the user works in.
    setAttribute(Qt::WA_ShowWithoutActivating);
    m_tab.HotIndex = -1;
    m_tab.DropIndex = -1;
    m_tab.OpenExtent = ClosedExtent();
    const qint32 width = m_ctx.skin ? std::max(1, m_ctx.skin->TabWidth) : 1;
    resize(width, width);
    ApplyExtent();
    setMouseTracking(true); // hover works without a button held
    setAcceptDrops(true);
    // The native window is made when the tab is first shown, where the rebuild has placed it:
    // made earlier, every move and resize on the way would come back from the display server as
    // a configure event that Qt answers with several round trips of its own.
}

TfrmTab::~TfrmTab() = default;

void TfrmTab::ReadItemsInBackground(QFuture<void> after) {
    m_pendingItems = std::make_unique<BackgroundItems>(m_tab.TabFolder, after);
    connect(m_pendingItems.get(), &BackgroundItems::finished, this, &TfrmTab::itemsRead);
}

bool TfrmTab::ItemsReadFinished() const {
    return !m_pendingItems || m_pendingItems->isFinished();
}

void TfrmTab::CancelItemsRead() {
    m_pendingItems.reset();
}

void TfrmTab::TakeItems() {
    if (!m_pendingItems)
        return;
    const ItemRecords read = m_pendingItems->take();
    m_pendingItems.reset();
    // As with a load on this thread: the items before an unreadable shortcut stay, and its
    // message goes to the error report.
    UpdateRowLimit();
    try {
        m_tab.TakeRecords(read);
    } catch (const Error& e) {
        ReportError(Worded(e.text()));
    }
}

bool TfrmTab::Busy() const {
    return m_anim.Open() || m_tmrAnim.isActive() || MovingTab || ItemPressed || m_draggingOut;
}

void TfrmTab::ReloadTab() {
    // What a background read would bring is older than what is read now.
    CancelItemsRead();
    UpdateRowLimit();
    m_tab.LoadItems();
    RebuildImage();
    update();
    if (m_ctx.host)
        m_ctx.host->OwnChangeShown();
}

qint32 TfrmTab::ClosedExtent() const {
    return m_ctx.skin ? m_ctx.skin->TabHeight - m_ctx.skin->HeadHeight : 0;
}

void TfrmTab::SetOpen(bool value) {
    const Settings& s = *m_ctx.settings;
    // An opening tab needs its items: their number sets how far it opens. It opens at its first
    // items, with as many rows as its screen has room for.
    if (value && !Open()) {
        TakeItems();
        UpdateRowLimit();
        if (m_tab.FirstShown != 0) {
            m_tab.FirstShown = 0;
            if (m_itemsDrawn)
                Render();
        }
    }
    switch (m_anim.SetOpen(value, FullExtent(), ClosedExtent(), s.OpenAnim, s.CloseAnim)) {
    case TabAnimation::Change::StartOpening:
        DrawItemsPart();
        SetTopmost(true); // an opening tab always rises above everything
        m_tmrDrop.start();
        // The first step is taken as soon as the event loop is back, not one interval later: the
        // tab answers the pointer at once, and the later steps keep their pace.
        m_tmrAnim.start(0);
        if (m_ctx.host)
            m_ctx.host->TabOpening(this);
        break;
    case TabAnimation::Change::StartClosing:
        m_tmrDrop.stop();
        m_tmrAnim.start();
        break;
    case TabAnimation::Change::None:
        break;
    }
}

void TfrmTab::SetAnimParams(AnimMode mode) {
    m_anim.SetAnimParams(mode, FullExtent());
}

void TfrmTab::tmrAnimTimer() {
    if (m_tmrAnim.interval() != TimerIntervalMs)
        m_tmrAnim.setInterval(TimerIntervalMs);
    if (m_anim.Tick(m_tab.OpenExtent) == TabAnimation::TickResult::Ended) {
        ApplyStacking();
        m_tmrAnim.stop();
        if (!Open())
            m_freeItems.start();
    }
    ApplyExtent();
}

void TfrmTab::tmrDropTimer() {
    CheckPointer(QGuiApplication::topLevelAt(QCursor::pos()));
}

void TfrmTab::CheckPointer(const QWindow* underPointer) {
    // A tab opened from the keyboard stays while the pointer is elsewhere, until it has come by.
    if (OwnedBy(underPointer, windowHandle()) || (m_keyboardOpen && !m_pointerCame))
        return;
    SetHotIndex(-1);
    SetOpen(false);
}

void TfrmTab::Place(QPoint topLeft) {
    m_placed = topLeft;
    move(topLeft);
}

void TfrmTab::UpdateRowLimit() {
    if (m_ctx.skin == nullptr || m_ctx.settings == nullptr)
        return;
    m_tab.RowLimit = RowsThatFit(m_ctx.settings->TabPos, TabWorkArea(m_ctx), m_ctx.skin->HeadHeight,
                                 m_ctx.skin->ItemHeight);
    m_tab.UpdateLength();
}

void TfrmTab::ApplyExtent() {
    if (m_ctx.skin == nullptr)
        return;
    // From where the window was put, not from where Qt last heard it is: under a window manager
    // that puts the window into a frame, Qt may hold the frame's first place (0, 0) for a while.
    QRect r = ExtentGeometry(QRect(m_placed, size()), m_ctx.settings->TabPos, TabWorkArea(m_ctx),
                             m_tab.OpenExtent, m_ctx.skin->HeadHeight);
    // A window needs at least one pixel each way; the shape hides what a skin would not show.
    r.setWidth(std::max(1, r.width()));
    r.setHeight(std::max(1, r.height()));
    setGeometry(r);
    UpdateShape();
    update();
}

void TfrmTab::UpdateShape() {
    const QPoint offset = PaintOffset(m_ctx.settings->TabPos, m_tab.OpenExtent, DrawnExtent());
    m_windowShape = WindowShape(m_imageShape, offset, size());
    // An empty mask would mean "no mask"; a region outside the window hides it all instead.
    const QRegion mask = m_windowShape.isEmpty() ? QRegion(-1, -1, 1, 1) : m_windowShape;
    if (mask != this->mask())
        setMask(mask);
}

QImage TfrmTab::DrawImage(bool withItems) const {
    if (m_ctx.skin == nullptr)
        return {};
    const QSize size = TabImageSize(m_ctx.settings->TabPos, m_ctx.skin->TabWidth, m_ctx.skin->HeadHeight,
                                    withItems ? FullExtent() : 0);
    if (size.width() <= 0 || size.height() <= 0)
        return {};
    const qreal ratio = devicePixelRatio();
    QImage image(DeviceSize(size, ratio), QImage::Format_RGB32);
    image.setDevicePixelRatio(ratio);
    // What no picture covers stays see-through.
    image.fill(PixelFromColour(KeyColour));
    if (withItems)
        PaintTab(m_tab, image, *m_ctx.settings);
    else
        PaintTabHead(m_tab, image, *m_ctx.settings);
    return image;
}

QImage TfrmTab::TabImage() const {
    return m_itemsDrawn ? m_tabImage : DrawImage(true);
}

void TfrmTab::Render() {
    if (m_itemsDrawn)
        m_tab.ReadIcons(devicePixelRatio());
    m_tabImage = DrawImage(m_itemsDrawn);
    ++m_renderCount;
    if (m_ctx.layeredMode) {
        m_imageShape = OpaqueRegion(m_tabImage);
    } else {
        const QSize logical =
            TabImageSize(m_ctx.settings->TabPos, m_ctx.skin->TabWidth, m_ctx.skin->HeadHeight, DrawnExtent());
        m_imageShape = EdgeOutlineRegion(m_tab, m_ctx.settings->TabPos, logical);
    }
    if (m_translucent) {
        m_paintImage = m_tabImage.convertToFormat(QImage::Format_ARGB32);
        const QRgb key = PixelFromColour(KeyColour) & 0xFFFFFF;
        for (int y = 0; y < m_paintImage.height(); ++y) {
            auto* line = reinterpret_cast<QRgb*>(m_paintImage.scanLine(y));
            for (int x = 0; x < m_paintImage.width(); ++x) {
                if ((line[x] & 0xFFFFFF) == key)
                    line[x] = 0;
            }
        }
    } else if (m_ctx.layeredMode &&
               m_tabImage.devicePixelRatio() != std::floor(m_tabImage.devicePixelRatio())) {
        // The window's shape is cut in logical pixels and scaled to device pixels rectangle by
        // rectangle, rounded; at a fractional ratio that can take in a device row or column of a
        // see-through neighbour, which must not show the key colour.
        m_paintImage = KeyFilledFromNeighbours(m_tabImage);
    } else {
        m_paintImage = QImage();
    }
}

void TfrmTab::RebuildImage() {
    if (m_ctx.skin == nullptr)
        return;
    // A closed tab shows its head only; the items part is drawn when it opens.
    if (!Open()) {
        m_freeItems.stop();
        m_itemsDrawn = false;
        m_tab.FreeIcons();
    }
    Render();
    ApplyExtent();
}

void TfrmTab::RedrawTab() {
    if (m_tabImage.isNull())
        return;
    Render();
    UpdateShape();
    update();
}

void TfrmTab::IconThemeChanged() {
    m_tab.FreeIcons();
    if (m_itemsDrawn)
        RedrawTab();
}

void TfrmTab::DrawItemsPart() {
    m_freeItems.stop();
    if (m_itemsDrawn || m_ctx.skin == nullptr)
        return;
    m_itemsDrawn = true;
    Render();
    UpdateShape();
    update();
}

void TfrmTab::FreeItemsPart() {
    if (Open() || !m_itemsDrawn)
        return;
    m_itemsDrawn = false;
    m_tab.FreeIcons();
    Render();
    UpdateShape();
    update();
}

void TfrmTab::ScreenChanged() {
    // A screen of another ratio needs the picture in its own device pixels.
    if (!m_tabImage.isNull() && m_tabImage.devicePixelRatio() != devicePixelRatio())
        RedrawTab();
}

void TfrmTab::SetHotIndex(qint32 index) {
    if (index == m_tab.HotIndex)
        return;
    m_tab.HotIndex = index;
    RedrawTab();
    ShowCaptionTip();
}

void TfrmTab::ShowCaptionTip() {
    const int index = m_tab.HotIndex;
    if (!isVisible() || !CaptionShortened(m_tab, index)) {
        QToolTip::hideText();
        return;
    }
    // Beside the item's row, for the pointer and the keyboard's highlight alike: over the row it
    // would hide the caption it completes.
    const QRect item = ItemGeometry(index);
    const QPoint at = CaptionTipAnchor(m_ctx.settings->TabPos, item);
    // The name comes from a file name or a desktop entry: escaped, so that it is never read as markup.
    QToolTip::showText(mapToGlobal(at), Qt::convertFromPlainText(m_tab.Items[index].Data.Name), this, item,
                       TooltipDisplayMs);
}

void TfrmTab::ApplyStacking() {
    SetTopmost(m_ctx.aot != StackingMode::Disabled);
}

void TfrmTab::SetTopmost(bool on) {
    // Switched on the existing native window: changing the widget's flags would create it anew.
    if (QWindow* window = windowHandle())
        window->setFlag(Qt::WindowStaysOnTopHint, on);
    else
        setWindowFlag(Qt::WindowStaysOnTopHint, on);
    if (on && isVisible())
        raise();
}

void TfrmTab::showEvent(QShowEvent* event) {
    // The native window exists from the first showing on; it is not mapped yet.
    if (!m_screenWatched) {
        m_screenWatched = true;
        connect(windowHandle(), &QWindow::screenChanged, this, &TfrmTab::ScreenChanged);
    }
    // On every workspace, with no taskbar or pager entry; given before every mapping of the window.
    SetDesktopWindowState(this, WindowMapState::Unmapped);
    QWidget::showEvent(event);
    // The rebuild that made the window has drawn it already; drawing it again would only cost
    // time. A window shown before it was ever drawn is drawn now, and one drawn for the ratio of
    // another screen than the one it was made on is drawn again.
    if (m_renderCount == 0)
        RebuildImage();
    else
        ScreenChanged();
}

void TfrmTab::paintEvent(QPaintEvent*) {
    if (m_tabImage.isNull())
        return;
    QPainter painter(this);
    // The picture is in the window's device pixels. One still drawn for another ratio (the window
    // has just changed screens) is enlarged pixel by pixel, never smoothed.
    painter.setRenderHint(QPainter::SmoothPixmapTransform, false);
    painter.setCompositionMode(QPainter::CompositionMode_Source);
    const QPoint offset = PaintOffset(m_ctx.settings->TabPos, m_tab.OpenExtent, DrawnExtent());
    painter.drawImage(offset, m_paintImage.isNull() ? m_tabImage : m_paintImage);
    PaintDropMarker(painter);
}

void PlaceTabs(const QList<TfrmTab*>& windows, const TabContext& context) {
    if (context.skin == nullptr || context.settings == nullptr)
        return;
    const QRect area = TabWorkArea(context);
    const TabRow row = RowFor(*context.settings, *context.skin);
    const qint32 n = static_cast<qint32>(windows.size());
    for (qint32 i = 0; i < n; ++i)
        windows[i]->Place(PlacedPosition(i, n, context.settings->TabPos, area, row, context.skin->TabHeight));
}

void RedrawAllTabs(const QList<TfrmTab*>& windows) {
    for (TfrmTab* window : windows)
        window->RedrawTab();
}
