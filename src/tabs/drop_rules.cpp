#include "tabs/drop_rules.h"

#include "common/names.h"

DropPath SplitDropPath(const QString& path) {
    DropPath parts;
    parts.path = path;
    const qsizetype slash = path.lastIndexOf(QLatin1Char('/'));
    parts.name = path.mid(slash + 1);
    parts.directory = path.left(slash + 1);
    // The search for the type does not stop at the separators: "a.d/file" has the type "d/file".
    const qsizetype dot = path.lastIndexOf(QLatin1Char('.'));
    if (dot >= 0)
        parts.type = path.mid(dot + 1).toLower();
    return parts;
}

DropEffect DropEffectForPath(const QString& path, bool ctrlHeld,
                             const std::function<bool(const QString&)>& isShortcut) {
    if (SplitDropPath(path).type == QLatin1String("lnk") && isShortcut(path))
        return ctrlHeld ? DropEffect::Copy : DropEffect::Move;
    return DropEffect::Link;
}

DropEffect DropEffectFor(const QStringList& paths, bool ctrlHeld,
                         const std::function<bool(const QString&)>& isShortcut) {
    if (paths.isEmpty())
        return DropEffect::None;
    const DropEffect first = DropEffectForPath(paths.front(), ctrlHeld, isShortcut);
    for (qsizetype i = 1; i < paths.size(); ++i) {
        if (DropEffectForPath(paths[i], ctrlHeld, isShortcut) != first)
            return DropEffect::Link;
    }
    return first;
}

QString LinkFileName(const QString& droppedName) {
    const qsizetype dot = droppedName.lastIndexOf(QLatin1Char('.'));
    const QString stem = dot > 0 ? droppedName.left(dot) : droppedName;
    return EscapeName(stem) + QStringLiteral(".lnk");
}

QString LinkDescription(const QString& droppedName) {
    return QStringLiteral("Launches ") + droppedName + QLatin1Char('.');
}

bool LiesInTabFolder(const DropPath& dropped, const QString& tabFolder) {
    return SameName(dropped.path, tabFolder + QLatin1Char('/') + dropped.name);
}
