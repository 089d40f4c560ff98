#pragma once

#include "config/plain_controls.h"

// A static text drawn as a web link (blue, underlined, hand cursor) that reports clicks.
class LinkLabel : public PlainLabel {
    Q_OBJECT
public:
    explicit LinkLabel(QWidget* parent = nullptr);

Q_SIGNALS:
    void clicked();

protected:
    void mouseReleaseEvent(QMouseEvent* event) override;
};
