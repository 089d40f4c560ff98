#include "core/application.h"

#include <cstring>
#include <exception>

#include <QInputEvent>

#include "common/error.h"
#include "common/own_environment.h"
#include "translation/ui_text.h"
#include "ui/error_report.h"

#include <X11/Xlib.h>

void PrepareDisplayEnvironment() {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM") && !qEnvironmentVariableIsEmpty("WAYLAND_DISPLAY"))
        SetOwnEnvironmentVariable("QT_QPA_PLATFORM", "xcb");
    if (!qEnvironmentVariableIsSet("QT_XCB_NO_MITSHM"))
        SetOwnEnvironmentVariable("QT_XCB_NO_MITSHM", "1");
}

bool X11DisplayReachable(int argc, char** argv) {
    for (int i = 1; i < argc; ++i) {
        if (std::strcmp(argv[i], "-platform") == 0 || std::strncmp(argv[i], "-platform=", 10) == 0)
            return true;
    }
    const QByteArray platform = qgetenv("QT_QPA_PLATFORM");
    if (!platform.isEmpty() && !platform.startsWith("xcb"))
        return true;
    Display* display = XOpenDisplay(nullptr);
    if (!display)
        return false;
    XCloseDisplay(display);
    return true;
}

KelvaraApplication::KelvaraApplication(int& argc, char** argv) : QApplication(argc, argv) {}

bool KelvaraApplication::notify(QObject* receiver, QEvent* event) {
    if (event->isInputEvent())
        s_lastInputTime = static_cast<QInputEvent*>(event)->timestamp();
    try {
        return QApplication::notify(receiver, event);
    } catch (const Error& error) {
        ReportError(Worded(error.text()));
    } catch (const std::exception& error) {
        ReportError(QString::fromLocal8Bit(error.what()));
    }
    return false;
}
