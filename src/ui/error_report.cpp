#include "ui/error_report.h"

#include <QCoreApplication>
#include <QPointer>

#include "ui/error_window.h"

namespace {

QPointer<TfrmError>& Instance() {
    static QPointer<TfrmError> instance;
    return instance;
}

void DestroyErrorDialog() {
    delete Instance().data();
}

} // namespace

TfrmError* ErrorDialog() {
    return Instance().data();
}

void ReportError(const QString& message) {
    QPointer<TfrmError>& dialog = Instance();
    if (!dialog) {
        dialog = new TfrmError;
        qAddPostRoutine(DestroyErrorDialog);
    }
    dialog->AppendLine(message);
    if (!dialog->isVisible()) {
        dialog->move(318, 156);
        dialog->show();
    }
}
