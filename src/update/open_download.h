#pragma once

#include <QByteArrayView>
#include <QString>

// Whether a file starting with these bytes is a program this system starts by itself: an ELF
// executable or a script with a "#!" line.
bool IsProgramFile(QByteArrayView head);

// Makes the saved update executable when it is a program, so that it can be run later as well.
void MakeProgramExecutable(const QString& path);

// Runs the saved update: a program is started in its folder, any other file is opened with the
// desktop's default application for it. Returns whether something was started.
bool OpenDownloadedFile(const QString& path);
