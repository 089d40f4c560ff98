#include "skins/skin_list.h"

#include <QDir>
#include <QFileInfo>

#include "skins/skin_folder.h"

QStringList FindSkins(const QString& appDir) {
    QStringList skins;
    // Without QDir::Hidden the listing leaves out dot names.
    const QStringList names =
        QDir(appDir).entryList(QDir::Dirs | QDir::Files | QDir::NoDotAndDotDot, QDir::Unsorted);
    for (const QString& name : names) {
        const QString folder = appDir + name;
        if (!QFileInfo(folder).isDir())
            continue;
        if (!SkinFolder(folder + u'/').findFile(QStringLiteral("skin.ini")).isEmpty())
            skins.append(name);
    }
    return skins;
}
