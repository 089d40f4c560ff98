#include "config/graphic_panel.h"

#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>

TGraphicPanel::TGraphicPanel(QWidget* parent) : QWidget(parent) {
    setMouseTracking(true);
    setAttribute(Qt::WA_OpaquePaintEvent);
}

void TGraphicPanel::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    Q_EMIT paint(painter);
}

void TGraphicPanel::mouseMoveEvent(QMouseEvent* event) {
    Q_EMIT mouseMoved(event->position().toPoint());
}

void TGraphicPanel::mouseReleaseEvent(QMouseEvent* event) {
    if (event->button() == Qt::LeftButton && rect().contains(event->position().toPoint()))
        Q_EMIT clicked();
}

void TGraphicPanel::keyPressEvent(QKeyEvent* event) {
    event->ignore();
    Q_EMIT keyPressed(event);
    if (!event->isAccepted())
        QWidget::keyPressEvent(event);
}

void TGraphicPanel::focusInEvent(QFocusEvent* event) {
    QWidget::focusInEvent(event);
    update();
}

void TGraphicPanel::focusOutEvent(QFocusEvent* event) {
    QWidget::focusOutEvent(event);
    update();
}
