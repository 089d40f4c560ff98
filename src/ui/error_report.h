#pragma once

#include <QString>

class TfrmError;

// Appends the message as a new line to the one error report window and shows the window,
// modeless at its built-in place, if it is hidden. The window is made on the first call, belongs
// to the application (no parent) and is destroyed when the application ends.
void ReportError(const QString& message);

// The error report window, or null before the first error.
TfrmError* ErrorDialog();
