#include "ui/loading_window.h"

#include <QFutureWatcher>
#include <QGuiApplication>
#include <QtConcurrent>
#include <QScreen>
#include <QShowEvent>
#include <QWindow>

#include <utility>

#include "common/background_priority.h"
#include "common/opaque_region.h"
#include "platform/x11_window_state.h"
#include "translation/ui_text.h"
#include "ui/animation_control.h"
#include "ui/error_report.h"

namespace {

constexpr QSize BuiltInSize(142, 107);

} // namespace

QPoint CentredPosition(const QRect& screen, const QSize& window) {
    return screen.topLeft() +
           QPoint(screen.width() / 2 - window.width() / 2, screen.height() / 2 - window.height() / 2);
}

TfrmLoading::TfrmLoading(const QString& clipFile, QWidget* parent, ClipLoading loading)
    : QWidget(parent,
              Qt::Tool | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint | Qt::WindowDoesNotAcceptFocus),
      m_animate(new TAnimate(this)) {
    setObjectName(QStringLiteral("frmLoading"));
    // Tells the splash from the tabs to whoever watches the display (the start-up benchmark).
    setWindowRole(QStringLiteral("kelvara-splash"));
    setAttribute(Qt::WA_ShowWithoutActivating);
    QPalette lime = palette();
    lime.setColor(QPalette::Window, QColor::fromRgb(KeyLime));
    setPalette(lime);
    setAutoFillBackground(true);
    resize(BuiltInSize);

    m_animate->setObjectName(QStringLiteral("Animate1"));
    m_animate->move(0, 0);
    connect(m_animate, &TAnimate::FrameChanged, this, &TfrmLoading::UpdateShape);
    if (loading == ClipLoading::Now) {
        TakeClip(ReadClipFile(clipFile));
        return;
    }
    m_clipPending = true;
    auto* reading = new QFutureWatcher<std::optional<AviClip>>(this);
    connect(reading, &QFutureWatcherBase::finished, this, [this, reading] {
        m_clipPending = false;
        TakeClip(reading->result());
        reading->deleteLater();
    });
    reading->setFuture(QtConcurrent::run([clipFile] {
        RunAtBackgroundPriority();
        return ReadClipFile(clipFile);
    }));
}

void TfrmLoading::TakeClip(const std::optional<AviClip>& clip) {
    if (clip) {
        m_animate->SetClip(*clip);
        resize(m_animate->size());
    } else {
        ReportError(UiText("Error.NoClip", "Cannot open AVI"));
    }
    UpdateShape();
    setVisible(m_wanted);
    m_created = true;
}

void TfrmLoading::showEvent(QShowEvent* event) {
    QWidget::showEvent(event);
    if (!event->spontaneous())
        Showing(WindowMapState::Unmapped);
}

void TfrmLoading::Showing(WindowMapState state) {
    if (const QScreen* screen = QGuiApplication::primaryScreen())
        move(CentredPosition(screen->geometry(), size()));
    SetDesktopWindowState(this, state);
    if (m_animate->HasClip())
        m_animate->Play();
    else if (m_created)
        ReportError(UiText("Error.NoClip", "Cannot open AVI"));
}

void TfrmLoading::setVisible(bool visible) {
    if (m_clipPending) {
        m_wanted = visible;
        return;
    }
    QWindow* window = windowHandle();
    if (!visible && isVisible() && window != nullptr && !window->isExposed()) {
        // The window is shown but its map has not come back yet: the expose that follows the map
        // hides it.
        if (!m_hideWhenMapped)
            window->installEventFilter(this);
        m_hideWhenMapped = true;
        return;
    }
    const bool wasPending = std::exchange(m_hideWhenMapped, false);
    if (wasPending && window != nullptr)
        window->removeEventFilter(this);
    QWidget::setVisible(visible);
    // Shown again before the hide took place: the window never went, but this is a showing all
    // the same.
    if (wasPending && visible)
        Showing(WindowMapState::Ask);
}

bool TfrmLoading::eventFilter(QObject* watched, QEvent* event) {
    if (m_hideWhenMapped && event->type() == QEvent::Expose && watched == windowHandle() &&
        windowHandle()->isExposed()) {
        // Hidden once the expose has been handled: the window must be known as mapped first.
        QMetaObject::invokeMethod(
            this,
            [this] {
                if (m_hideWhenMapped)
                    setVisible(false);
            },
            Qt::QueuedConnection);
    }
    return QWidget::eventFilter(watched, event);
}

void TfrmLoading::UpdateShape() {
    QRegion shape = OpaqueRegion(m_animate->CurrentFrame(), KeyLime).translated(m_animate->pos());
    // An empty region would take the mask away and show the whole lime window; a region outside
    // the window keeps it shaped and all see-through.
    if (shape.isEmpty())
        shape = QRegion(-1, -1, 1, 1);
    setMask(shape);
}
