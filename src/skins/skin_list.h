#pragma once

#include <QString>
#include <QStringList>

// The names of the skin folders of the program folder appDir (with a trailing "/"), in the order
// the directory listing gives them: every folder, not hidden, that holds a file "skin.ini" (in
// any letter case).
QStringList FindSkins(const QString& appDir);
