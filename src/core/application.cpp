#include "core/application.h"

#include <exception>

#include "common/error.h"
#include "ui/error_report.h"

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
