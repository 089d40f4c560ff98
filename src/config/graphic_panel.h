#pragma once

#include <QWidget>

// A plain control whose painting is left to its owner: the paint routine only raises paint().
// Clicks and mouse moves (tracked without a pressed button) are passed on as signals.
class TGraphicPanel : public QWidget {
    Q_OBJECT
public:
    explicit TGraphicPanel(QWidget* parent = nullptr);

Q_SIGNALS:
    void paint(QPainter& painter);
    void clicked();
    void mouseMoved(QPoint position);

protected:
    void paintEvent(QPaintEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
};
