#pragma once

#include <QObject>
#include <QRect>

class QScreen;

// The work area of monitor `screen` (1 is the first); the primary monitor's when there is no
// such monitor.
QRect MonitorWorkArea(qint32 screen);

// Reports every change of the monitors or their work areas, so that the tabs can be placed anew.
class ScreenWatcher : public QObject {
    Q_OBJECT
public:
    explicit ScreenWatcher(QObject* parent = nullptr);

Q_SIGNALS:
    void changed();

private:
    void watch(QScreen* screen);
};
