#pragma once

#include <QString>
#include <QStringList>

#include "platform/instance_request.h"

// What the command line asks for. It is read before the application object exists, so that
// --help, --version and a wrong option need no display.
struct CommandLine {
    enum class Outcome {
        Run,     // start, or hand the request to the instance that runs already
        Help,    // print text and end with status 0
        Version, // print text and end with status 0
        Error,   // print text (one line) and end with status 2
    };

    Outcome outcome = Outcome::Run;
    QString text;
    // For Run: what the instance is to do. A plain start activates it.
    InstanceRequest request;
};

// Reads the arguments (without the program name). Options of Qt's own (-platform, -display,
// ...) are let through for the application object; other arguments that are not options are
// kept for the switch the controller looks for, and the first of them names the tab of --open
// and --add-applications.
CommandLine ParseCommandLine(const QStringList& arguments);
