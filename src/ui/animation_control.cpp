#include "ui/animation_control.h"

#include <algorithm>

#include <QPainter>

#include "common/error.h"
#include "common/regular_file.h"

namespace {

// No clip the splash could sensibly play is anywhere near this size.
constexpr qint64 MaxClipFileBytes = qint64(64) << 20;

} // namespace

TAnimate::TAnimate(QWidget* parent) : QWidget(parent) {
    setAttribute(Qt::WA_OpaquePaintEvent);
    m_timer.setTimerType(Qt::PreciseTimer);
    connect(&m_timer, &QTimer::timeout, this, &TAnimate::NextFrame);
}

std::optional<AviClip> ReadClipFile(const QString& fileName) {
    // One byte past the limit tells a larger file; a FIFO or a device is not read at all.
    const std::optional<QByteArray> bytes = ReadRegularFile(fileName, MaxClipFileBytes + 1);
    if (!bytes || bytes->size() > MaxClipFileBytes)
        return std::nullopt;
    try {
        return ReadAvi(*bytes);
    } catch (const Error&) {
        return std::nullopt;
    }
}

bool TAnimate::Open(const QString& fileName) {
    const std::optional<AviClip> clip = ReadClipFile(fileName);
    if (clip)
        SetClip(*clip);
    return clip.has_value();
}

void TAnimate::SetClip(const AviClip& clip) {
    m_clip = clip;
    m_frame = 0;
    setFixedSize(clip.frameSize);
    const qint64 ms = (clip.framePeriodUs + 500) / 1000;
    m_timer.setInterval(int(std::clamp<qint64>(ms, 1, 60000)));
    update();
    Q_EMIT FrameChanged();
}

void TAnimate::Play() {
    if (!HasClip() || m_playing)
        return;
    m_playing = true;
    m_frame = 0;
    if (isVisible())
        m_timer.start();
    update();
    Q_EMIT FrameChanged();
}

QImage TAnimate::CurrentFrame() const {
    return HasClip() ? m_clip.frames[m_frame] : QImage();
}

void TAnimate::NextFrame() {
    m_frame = (m_frame + 1) % int(m_clip.frames.size());
    update();
    Q_EMIT FrameChanged();
}

void TAnimate::showEvent(QShowEvent* event) {
    QWidget::showEvent(event);
    if (m_playing)
        m_timer.start();
}

void TAnimate::hideEvent(QHideEvent* event) {
    QWidget::hideEvent(event);
    m_timer.stop();
}

void TAnimate::paintEvent(QPaintEvent*) {
    if (!HasClip())
        return;
    QPainter painter(this);
    painter.drawImage(0, 0, m_clip.frames[m_frame]);
}
