#pragma once

#include <QApplication>

// Sets what the display connection must know before the application object is made: the X11
// platform in a Wayland session (tab windows need X11; they go through XWayland), and window
// contents sent without shared memory. Tab windows change size on every tick of their sliding
// animation, and Qt's shared-memory backing store makes a new segment (system calls and X round
// trips) each time a window grows: an opening tick cost five times a closing one. Plain image
// transfer costs the same at every size. Values the user set are left alone.
void PrepareDisplayEnvironment();

// False when the X11 platform is the one to be used (Kelvara's tab windows need it) and no X
// server answers at DISPLAY. Another platform, chosen with QT_QPA_PLATFORM or -platform, is not
// checked.
bool X11DisplayReachable(int argc, char** argv);

// The application object. An exception that leaves an event handler, a timer or a menu command
// is caught here: its message goes to the error report, and the event loop carries on with the
// next event.
class KelvaraApplication : public QApplication {
    Q_OBJECT

public:
    KelvaraApplication(int& argc, char** argv);

    bool notify(QObject* receiver, QEvent* event) override;

    // The window system's time stamp of the latest mouse or key event: a program started from a
    // click tells the window manager when that click was.
    static unsigned long LastInputTime() { return s_lastInputTime; }

private:
    static inline unsigned long s_lastInputTime = 0;
};
