#include "core/application.h"

#include <exception>

#include "common/error.h"
#include "ui/error_report.h"

void PrepareDisplayEnvironment() {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM") && !qEnvironmentVariableIsEmpty("WAYLAND_DISPLAY"))
        qputenv("QT_QPA_PLATFORM", "xcb");
    if (!qEnvironmentVariableIsSet("QT_XCB_NO_MITSHM"))
        qputenv("QT_XCB_NO_MITSHM", "1");
}

KelvaraApplication::KelvaraApplication(int& argc, char** argv) : QApplication(argc, argv) {}

bool KelvaraApplication::notify(QObject* receiver, QEvent* event) {
    try {
        return QApplication::notify(receiver, event);
    } catch (const Error& error) {
        ReportError(error.message());
    } catch (const std::exception& error) {
        ReportError(QString::fromLocal8Bit(error.what()));
    }
    return false;
}
