#pragma once

#include <optional>

#include <QList>
#include <QTimer>
#include <QWidget>

#include "formats/avi_reader.h"

// Reads a clip from a file: nothing when it is missing, not a regular file, too large or not a
// clip that can be played. Safe on any thread.
std::optional<AviClip> ReadClipFile(const QString& fileName);

// Plays an AVI clip: every frame from the first to the last, again and again, at the clip's
// frame rate, drawn opaque at the widget's top-left corner. Opening a clip sizes the widget to
// its frames. While the widget is hidden the clip holds its frame and no timer runs, so a hidden
// splash costs nothing; shown again, it goes on from that frame.
class TAnimate : public QWidget {
    Q_OBJECT

public:
    explicit TAnimate(QWidget* parent = nullptr);

    // Reads the clip from a file; false (and no clip) when it is missing or not a clip we can play.
    bool Open(const QString& fileName);
    // Takes a clip read elsewhere (on another thread, say).
    void SetClip(const AviClip& clip);
    bool HasClip() const { return !m_clip.frames.isEmpty(); }

    // Starts playing from the first frame, unless it already plays: once started it never stops.
    void Play();
    bool Active() const { return m_playing; }

    int FrameIndex() const { return m_frame; }
    QImage CurrentFrame() const;
    int IntervalMs() const { return m_timer.interval(); }
    // Whether the frame timer runs: only while a playing clip is shown.
    bool Ticking() const { return m_timer.isActive(); }

Q_SIGNALS:
    void FrameChanged();

protected:
    void paintEvent(QPaintEvent* event) override;
    void showEvent(QShowEvent* event) override;
    void hideEvent(QHideEvent* event) override;

private:
    void NextFrame();

    AviClip m_clip;
    int m_frame = 0;
    bool m_playing = false;
    QTimer m_timer;
};
