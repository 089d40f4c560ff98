#pragma once

#include <QByteArray>
#include <QProcessEnvironment>
#include <QStringList>

// Environment variables Kelvara sets for itself (to reach XWayland, to send window contents
// without shared memory) must not reach the programs it starts: a Qt program started from a tab
// would otherwise run through XWayland too. Values the user set are not recorded.

// Sets the variable in this process and remembers its name.
void SetOwnEnvironmentVariable(const char* name, const QByteArray& value);

// The names set with SetOwnEnvironmentVariable, to be left out of started programs' environment.
QStringList OwnEnvironmentVariables();

// This process's environment without those variables: the one for programs Kelvara starts.
QProcessEnvironment EnvironmentForPrograms();
