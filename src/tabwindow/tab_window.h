#pragma once

#include <memory>

#include <QElapsedTimer>
#include <QImage>
#include <QList>
#include <QRegion>
#include <QFuture>
#include <QTimer>
#include <QWidget>

#include "tabs/pointer_geometry.h"
#include "tabs/tab.h"
#include "tabs/tab_animation.h"
#include "tabwindow/tab_context.h"

class BackgroundItems;
class QPainter;
class QWindow;

// How long a closed tab keeps its items part drawn. Opening a tab again within this time (the
// pointer slipping off and back, a tab closed by a launch and hovered again) shows it at once;
// after it, the memory, which grows with the items, goes back. Drawing the part again costs a few
// milliseconds at the next opening.
inline constexpr int ItemsKeptClosedMs = 5000;

// Whether `window` is `owner` or belongs to it through its chain of transient parents and
// parents: a menu or dialog of the tab counts as the tab.
bool OwnedBy(const QWindow* window, const QWindow* owner);

// The window of one tab: it stands at the screen edge, shows the pre-rendered tab and slides
// out of the edge when it opens. The picture is drawn at the window's device pixel ratio, and
// drawn again when the window comes onto a screen of another ratio. A closed tab holds only its
// head; the items part is drawn when the tab opens and given back ItemsKeptClosedMs after it has
// closed.
class TfrmTab : public QWidget {
    Q_OBJECT
public:
    explicit TfrmTab(const TabContext& context, QWidget* parent = nullptr);
    ~TfrmTab() override;

    // The tab model, with any items read in the background put in first (TakeItems).
    TTab& TabModel() {
        TakeItems();
        return m_tab;
    }
    // The tab model as it is: items still being read in the background are not in it yet.
    const TTab& TabModel() const { return m_tab; }
    // The whole open tab as this window draws it, at its device pixel ratio: the picture it holds
    // while the items part is drawn, or else one drawn for the caller (with the icons read so far).
    QImage TabImage() const;
    // The items part is drawn and held.
    bool ItemsDrawn() const { return m_itemsDrawn; }

    // Reads the tab folder's shortcuts on a worker thread (TabFolder must be set); itemsRead
    // follows. The items stay out of the model until TakeItems, which the tab calls itself as soon
    // as it opens or its model is asked for. Nothing is read before `after` has finished.
    void ReadItemsInBackground(QFuture<void> after = {});
    // No background read is waiting to be taken, or the one waiting has finished.
    bool ItemsReadFinished() const;
    // Drops a background read that no worker has begun: a released window needs no items.
    void CancelItemsRead();
    // Puts the items read in the background into the model (reading them now when no worker has
    // begun); a shortcut that could not be read goes to the error report. Nothing when none wait.
    void TakeItems();

    // Reading gives the open state; writing starts the opening or the closing.
    bool Open() const { return m_anim.Open(); }
    // True while the user works with the tab: it is open or moving, or an item is pressed or
    // being dragged out. The tab set is not rebuilt from under it meanwhile.
    bool Busy() const;
    void SetOpen(bool value);
    void SetAnimParams(AnimMode mode);
    // Lets the running animation (or a new one) head for another extent; the open state stays.
    void SetTargetExtent(qint32 target) { m_anim.SetTarget(target); }
    qint32 TargetExtent() const { return m_anim.TargetExtent(); }
    const TabAnimation& Animation() const { return m_anim; }

    // Puts the window's top left corner there; the extent changes keep it along the edge.
    void Place(QPoint topLeft);
    void ApplyExtent();
    void RebuildImage();
    void RedrawTab();
    // Drops the icons read from the old icon theme; the items part, when drawn, is drawn again
    // with icons from the new one.
    void IconThemeChanged();
    // Reads the items from the tab folder again and shows them.
    void ReloadTab();
    void ApplyStacking();
    // Highlights an item (-1: none); the tab is drawn again only when the highlight changes.
    void SetHotIndex(qint32 index);
    // Launches the item at index as a click does, then closes the tab.
    void LaunchItem(int index);

    // Opens the tab from the keyboard with its first item highlighted and gives it the keyboard
    // focus, as the answer to a key pressed at the X server time timestamp. focusBefore (a window
    // of FocusedWindow()) gets the focus back when Escape closes the tab. Until the pointer comes
    // onto the tab, its leaving does not close it.
    void OpenFromKeyboard(quint32 timestamp, quintptr focusBefore);
    // True while the tab is open from the keyboard and holds the keyboard focus.
    bool KeyboardOpen() const;
    // Where item index is drawn once the tab is fully open, in window coordinates.
    QRect ItemGeometry(int index) const;

    QTimer& tmrAnim() { return m_tmrAnim; }
    QTimer& tmrDrop() { return m_tmrDrop; }
    // Gives the items part back once the tab has been closed for ItemsKeptClosedMs.
    QTimer& tmrFreeItems() { return m_freeItems; }
    void tmrAnimTimer();
    void tmrDropTimer();
    // Leave detection for the window under the pointer: outside the tab it closes.
    void CheckPointer(const QWindow* underPointer);

    // The item under a client point (NoItem on the head or while no item area shows); may lie
    // beyond the last item.
    int HitIndex(QPoint point) const;

    // How many times the tab has been drawn into TabImage.
    int RenderCount() const { return m_renderCount; }
    // The shape given to the window at the last extent change, in window coordinates.
    const QRegion& WindowShapeRegion() const { return m_windowShape; }
    bool Translucent() const { return m_translucent; }

Q_SIGNALS:
    // A worker has read the shortcuts of ReadItemsInBackground; TakeItems returns at once now.
    void itemsRead();

protected:
    void showEvent(QShowEvent* event) override;
    void paintEvent(QPaintEvent* event) override;
    void enterEvent(QEnterEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void wheelEvent(QWheelEvent* event) override;
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dragMoveEvent(QDragMoveEvent* event) override;
    void dragLeaveEvent(QDragLeaveEvent* event) override;
    void dropEvent(QDropEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void changeEvent(QEvent* event) override;
    // Tab and Shift+Tab go to the neighbouring tab, not along a focus chain.
    bool focusNextPrevChild(bool next) override;

private:
    qint32 FullExtent() const { return m_tab.ItemsLength; }
    qint32 ClosedExtent() const;
    // The length of the items part in TabImage: the full extent once drawn, else 0.
    qint32 DrawnExtent() const { return m_itemsDrawn ? FullExtent() : 0; }
    QImage DrawImage(bool withItems) const;
    void Render();
    void DrawItemsPart();
    void FreeItemsPart();
    void ScreenChanged();
    void SetTopmost(bool on);
    void UpdateShape();
    TabGeometry PointerGeometry() const;
    // Scrolling a tab longer than its screen. The rows it may show follow the work area.
    void UpdateRowLimit();
    // Scrolls by rows items (negative: toward the first) and draws the tab again when that changed
    // what shows; the highlight follows the pointer when it is over the tab (its tooltip is the
    // caller's to show).
    void ScrollBy(int rows);
    // The whole name of the highlighted item as a tooltip when its caption is shortened; no
    // tooltip otherwise.
    void ShowCaptionTip();
    void tmrDragScrollTimer();
    // Mouse handling.
    // Hover at a client point: opens a closed tab (unless it opens by click) and highlights the
    // item under the pointer; nothing while the tab animates.
    void Hover(QPoint pos);
    void FinishTabMove(QPoint screenPos);
    void DragItemOut(int index);
    void ShowPopup(int index, QPoint screenPos);
    // Drop handling.
    void DragOver(QPoint pos);
    void SetDropIndex(int index);
    void PaintDropMarker(QPainter& painter) const;
    // Keyboard handling.
    void MoveHighlight(int index);
    void GoToNeighbour(int step, bool wrap, quint32 timestamp);
    void CloseFromKeyboard(bool giveFocusBack);
    void TypeAhead(const QString& text);

    const TabContext& m_ctx;
    TTab m_tab;
    TabAnimation m_anim;
    std::unique_ptr<BackgroundItems> m_pendingItems;
    // The head alone, or the whole tab while the items part is drawn.
    QImage m_tabImage;
    bool m_itemsDrawn = false;
    QTimer m_freeItems;
    // What is painted when it is not TabImage itself: TabImage with KeyColour made transparent
    // while a compositor runs, or with the key colour filled in at fractional ratios.
    QImage m_paintImage;
    // The visible part of TabImage in image coordinates, found once per rendering.
    QRegion m_imageShape;
    QRegion m_windowShape;
    QTimer m_tmrAnim;
    QTimer m_tmrDrop;
    // Scrolls a tab while a drag is held near one of its ends, from the drag's last point.
    QTimer m_dragScroll;
    QPoint m_dragPos;
    // Wheel turns not yet worth a whole item (high-resolution wheels send parts of a notch).
    int m_wheelDelta = 0;
    bool m_translucent = false;
    bool m_draggingOut = false;
    int m_renderCount = 0;
    // The user drags the whole tab along the edge, from this client point.
    bool MovingTab = false;
    QPoint MoveOrigin;
    // The left button went down on item PressedIndex at this client point.
    bool ItemPressed = false;
    QPoint PressOrigin;
    int PressedIndex = -1;
    // Opened from the keyboard: the window to give the focus back to, and whether the pointer has
    // come onto the tab since (only then does its leaving close the tab).
    // Where the window was put (Place), which the size changes start from.
    QPoint m_placed;
    bool m_screenWatched = false;
    bool m_keyboardOpen = false;
    bool m_pointerCame = false;
    quintptr m_focusBefore = 0;
    // Letters typed in a row to find an item, and when the last one came.
    QString m_typed;
    QElapsedTimer m_typedAt;
};

// Puts every window at its place along the edge, in list order; sizes are not touched.
void PlaceTabs(const QList<TfrmTab*>& windows, const TabContext& context);

// Draws every tab again, in list order.
void RedrawAllTabs(const QList<TfrmTab*>& windows);
