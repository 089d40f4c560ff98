#pragma once

#include <QWidget>

// A plain control whose painting is left to its owner: the paint routine only raises paint().
// Clicks, mouse moves (tracked without a pressed button) and keys are passed on as signals.
class TGraphicPanel : public QWidget {
    Q_OBJECT
public:
    explicit TGraphicPanel(QWidget* parent = nullptr);

Q_SIGNALS:
    void paint(QPainter& painter);
    void clicked();
    void mouseMoved(QPoint position);
    // A key pressed while the panel has the focus; a receiver that uses it accepts the event.
    void keyPressed(QKeyEvent* event);

protected:
    void paintEvent(QPaintEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    // The owner draws a focus mark while the panel has the focus.
    void focusInEvent(QFocusEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;
};
