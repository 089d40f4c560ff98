#pragma once

#include <QApplication>

// The application object. An exception that leaves an event handler, a timer or a menu command
// is caught here: its message goes to the error report, and the event loop carries on with the
// next event.
class KelvaraApplication : public QApplication {
    Q_OBJECT

public:
    KelvaraApplication(int& argc, char** argv);

    bool notify(QObject* receiver, QEvent* event) override;
};
