#pragma once

#include "config/plain_controls.h"

// A static text drawn as a web link (blue, underlined, hand cursor) that reports clicks. It takes
// the focus with Tab, shows it with a dotted frame, and Return, Enter or Space open it as a click.
class LinkLabel : public PlainLabel {
    Q_OBJECT
public:
    explicit LinkLabel(QWidget* parent = nullptr);

Q_SIGNALS:
    void clicked();

protected:
    void mouseReleaseEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void paintEvent(QPaintEvent* event) override;
};
