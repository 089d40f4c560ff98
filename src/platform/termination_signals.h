#pragma once

// SIGTERM and SIGINT end the program as its own Exit does: the event loop ends and every object is
// destroyed, so that a download under way removes its temporary file. The signal handler only
// writes a byte to a pipe; the event loop reads it.

// Installs the handlers; needs the application object. Later calls do nothing.
void QuitOnTerminationSignals();

// Whether one of the signals has arrived (also before the event loop ran).
bool TerminationRequested();
