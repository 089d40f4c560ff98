#pragma once

#include <functional>

#include <QString>

#include "common/user_text.h"

// Called with the reason when a launch fails after it has begun.
using LateFailure = std::function<void(const UserText& reason)>;

// Opens a document, a folder or an address with the desktop's default application through
// xdg-open (package xdg-utils), which knows each desktop's own way of doing it. Returns an empty
// text when xdg-open was started, else why not. xdg-open tells whether it found an application
// only when it ends: a failure then reaches lateFailure, from the event loop. The programs started
// do not get Kelvara's own environment variables. Only what IsOpenableTarget takes is handed on.
UserText OpenWithDesktop(const QString& target, const LateFailure& lateFailure);

// A target that names a web address or another URL ("https://...", "mailto:...") rather than a
// file; a single letter before ":" is a Windows drive.
bool IsAddress(const QString& target);

// Whether target may go to xdg-open: an absolute file path, a "file:" address of one, or an
// address with a scheme and a host. Anything else could be read as an option or a relative name.
bool IsOpenableTarget(const QString& target);
