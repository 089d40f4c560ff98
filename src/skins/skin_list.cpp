#include "skins/skin_list.h"

#include <algorithm>

#include <QDir>
#include <QFileInfo>

#include "common/names.h"
#include "skins/skin_folder.h"

namespace {

bool IsSkinFolder(const QString& folder) {
    return QFileInfo(folder).isDir() &&
           !SkinFolder(folder + u'/').findFile(QStringLiteral("skin.ini")).isEmpty();
}

// Without QDir::Hidden the listing leaves out dot names.
QStringList ListedNames(const QString& root) {
    return QDir(root).entryList(QDir::Dirs | QDir::Files | QDir::NoDotAndDotDot, QDir::Unsorted);
}

} // namespace

QStringList FindSkins(const QStringList& roots) {
    QStringList skins;
    for (const QString& root : roots) {
        const qsizetype listedBefore = skins.size();
        for (const QString& name : ListedNames(root)) {
            const auto earlier = skins.cbegin() + listedBefore;
            const bool hidden = std::any_of(skins.cbegin(), earlier,
                                            [&](const QString& skin) { return SameName(skin, name); });
            if (!hidden && IsSkinFolder(root + name))
                skins.append(name);
        }
    }
    return skins;
}

QString FindSkinFolder(const QStringList& roots, const QString& name) {
    for (const QString& root : roots) {
        if (IsSkinFolder(root + name))
            return root + name + u'/';
        for (const QString& listed : ListedNames(root)) {
            if (SameName(listed, name) && IsSkinFolder(root + listed))
                return root + listed + u'/';
        }
    }
    return roots.value(0) + name + u'/';
}
