#include "tabwindow/work_area.h"

#include <QGuiApplication>
#include <QList>
#include <QScreen>

#include "tabs/tab_geometry.h"
#include "tabwindow/tab_context.h"

QRect MonitorWorkArea(qint32 screen) {
    QList<QRect> monitors;
    for (const QScreen* s : QGuiApplication::screens())
        monitors.append(s->availableGeometry());
    const QScreen* primary = QGuiApplication::primaryScreen();
    return ChooseWorkArea(screen, monitors, primary ? primary->availableGeometry() : QRect());
}

QRect TabWorkArea(const TabContext& context) {
    if (context.workArea)
        return context.workArea();
    return MonitorWorkArea(context.settings ? context.settings->Screen : 1);
}

ScreenWatcher::ScreenWatcher(QObject* parent) : QObject(parent) {
    for (QScreen* screen : QGuiApplication::screens())
        watch(screen);
    connect(qGuiApp, &QGuiApplication::screenAdded, this, [this](QScreen* screen) {
        watch(screen);
        Q_EMIT changed();
    });
    connect(qGuiApp, &QGuiApplication::screenRemoved, this, &ScreenWatcher::changed);
    connect(qGuiApp, &QGuiApplication::primaryScreenChanged, this, &ScreenWatcher::changed);
}

void ScreenWatcher::watch(QScreen* screen) {
    connect(screen, &QScreen::geometryChanged, this, &ScreenWatcher::changed);
    connect(screen, &QScreen::availableGeometryChanged, this, &ScreenWatcher::changed);
}
