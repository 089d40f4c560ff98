#pragma once

#include <QList>
#include <QTimer>
#include <QWidget>

#include "formats/avi_reader.h"

// Plays an AVI clip: every frame from the first to the last, again and again, at the clip's
// frame rate, drawn opaque at the widget's top-left corner. Opening a clip sizes the widget to
// its frames.
class TAnimate : public QWidget {
    Q_OBJECT

public:
    explicit TAnimate(QWidget* parent = nullptr);

    // Reads the clip from a file; false (and no clip) when it is missing or not a clip we can play.
    bool Open(const QString& fileName);
    bool HasClip() const { return !m_clip.frames.isEmpty(); }

    // Starts playing from the first frame, unless it already plays: once started it never stops.
    void Play();
    bool Active() const { return m_timer.isActive(); }

    int FrameIndex() const { return m_frame; }
    QImage CurrentFrame() const;
    int IntervalMs() const { return m_timer.interval(); }

Q_SIGNALS:
    void FrameChanged();

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    void SetClip(const AviClip& clip);
    void NextFrame();

    AviClip m_clip;
    int m_frame = 0;
    QTimer m_timer;
};
