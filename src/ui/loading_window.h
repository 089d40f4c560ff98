#pragma once

#include <optional>

#include <QWidget>

#include "formats/avi_reader.h"

#include "platform/x11_window_state.h"

class TAnimate;

// The splash: a borderless window in the middle of the primary screen that plays the loading
// clip while the tab windows are built. Lime is its colour key: every lime pixel, of the window
// and of the clip's frames, is see-through.
class TfrmLoading : public QWidget {
    Q_OBJECT

public:
    static constexpr QRgb KeyLime = 0xFF00FF00;

    // Now: the clip is read before the constructor returns. InBackground: it is read and decoded
    // on a worker thread, and the window, which wants to show from its creation on, shows once
    // the clip is there (if it has not been hidden meanwhile): the program's start does not wait
    // for the clip, and nobody sees the splash without its picture.
    enum class ClipLoading { Now, InBackground };

    // Opens the clip and shows the window; a clip that cannot be opened is reported as
    // "Cannot open AVI", and the window stays at its built-in size, empty.
    explicit TfrmLoading(const QString& clipFile, QWidget* parent = nullptr,
                         ClipLoading loading = ClipLoading::Now);

    TAnimate* Animate1() const { return m_animate; }

    // A hide asked for before the window manager has mapped the window waits until it has: a
    // window withdrawn while the manager's map of it is under way is mapped by the manager after
    // the withdrawal, forgotten, and taken in again as a window mapped behind its back, so it
    // would stay on screen (GNOME's mutter does this when it is slow to map a new window).
    void setVisible(bool visible) override;
    bool HidePending() const { return m_hideWhenMapped; }
    // The clip is still being read; meanwhile showing and hiding only set what happens after.
    bool ClipPending() const { return m_clipPending; }

protected:
    void showEvent(QShowEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    // What every showing does: centre the window, play the clip or report that it is missing.
    void Showing(WindowMapState state);
    void UpdateShape();
    void TakeClip(const std::optional<AviClip>& clip);

    TAnimate* m_animate;
    bool m_created = false;
    bool m_hideWhenMapped = false;
    bool m_clipPending = false;
    bool m_wanted = true; // shown or hidden as soon as the clip is there
};

// The top-left corner that centres a window of `window` size on a screen of `screen` geometry:
// half the screen's size less half the window's, each halved with integer division.
QPoint CentredPosition(const QRect& screen, const QSize& window);
