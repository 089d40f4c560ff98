#pragma once

#include <QString>
#include <QStringList>

// The names of the skin folders in the folders roots (each with a trailing "/"), root by root, each
// in the order the directory listing gives them: every folder, not hidden, that holds a file
// "skin.ini" (in any letter case). A name that an earlier root has listed already (letters A to Z
// compared without case) is left out, so the user's skins hide shipped ones of the same name.
QStringList FindSkins(const QStringList& roots);

// The folder, with a trailing "/", of the skin called name: in the first of roots that holds one,
// the folder spelt exactly so, else one whose name differs only in the case of A to Z. When no
// root holds it: the path it would have in the first root.
QString FindSkinFolder(const QStringList& roots, const QString& name);
