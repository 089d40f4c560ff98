#pragma once

// Marks the steps of the program's start in the logging category "kelvara.startup", which is off
// unless asked for (QT_LOGGING_RULES="kelvara.startup.debug=true"). Each line names the step and
// gives the main thread's processor time since the process began (the dynamic loader included)
// and the wall time since main() began, both in milliseconds, so that a profile of the start can
// be read per step on any build without a profiler:
//     kelvara.startup: settings read cpu=31.2 wall=35.0
// Marking when the category is off costs one test of a flag.
void StartupStep(const char* step);

class QWindow;

// Marks the step when the window is first exposed (shown by the display server), once.
void StartupStepOnExpose(QWindow* window, const char* step);
