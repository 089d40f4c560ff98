#pragma once

#include <QWidget>

class TAnimate;

// The splash: a borderless window in the middle of the primary screen that plays the loading
// clip while the tab windows are built. Lime is its colour key: every lime pixel, of the window
// and of the clip's frames, is see-through.
class TfrmLoading : public QWidget {
    Q_OBJECT

public:
    static constexpr QRgb KeyLime = 0xFF00FF00;

    // Opens the clip and shows the window; a clip that cannot be opened is reported as
    // "Cannot open AVI", and the window stays at its built-in size, empty.
    explicit TfrmLoading(const QString& clipFile, QWidget* parent = nullptr);

    TAnimate* Animate1() const { return m_animate; }

protected:
    void showEvent(QShowEvent* event) override;

private:
    void UpdateShape();

    TAnimate* m_animate;
    bool m_created = false;
};

// The top-left corner that centres a window of `window` size on a screen of `screen` geometry:
// half the screen's size less half the window's, each halved with integer division.
QPoint CentredPosition(const QRect& screen, const QSize& window);
