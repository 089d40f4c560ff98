#include "core/tab_set_names.h"

#include <algorithm>

#include <QDir>
#include <QFileInfo>

#include "common/names.h"
#include "platform/rename_without_replacing.h"

LegacyShortcut ParseLegacyValue(const QString& value) {
    LegacyShortcut shortcut;
    // The first "#" splits target and arguments unless it is the last character.
    const qsizetype hash = value.indexOf(QLatin1Char('#'));
    if (hash >= 0 && hash < value.size() - 1) {
        shortcut.Target = value.left(hash);
        shortcut.Arguments = value.mid(hash + 1);
    } else {
        shortcut.Target = value;
    }
    qsizetype end = -1;
    for (qsizetype i = 0; i < shortcut.Target.size(); ++i) {
        const QChar c = shortcut.Target.at(i);
        if (c == QLatin1Char('\\') || c == QLatin1Char('/') || c == QLatin1Char(':'))
            end = i;
    }
    shortcut.WorkingDir = shortcut.Target.left(end + 1);
    return shortcut;
}

QString LegacyTabFolderName(const QString& section) {
    if (section.isEmpty())
        return QStringLiteral("%20");
    if (section == QLatin1String("."))
        return QStringLiteral("%2E");
    if (section == QLatin1String(".."))
        return QStringLiteral("%2E%2E");
    if (section.contains(QLatin1Char('/')) || section.contains(QChar(0)))
        return EscapeName(section).replace(QChar(0), QLatin1String("%00"));
    return section;
}

ItemFileName SplitItemFileName(const QString& linkFile) {
    const QString name = UnescapeName(QFileInfo(linkFile).fileName());
    const qsizetype dot = name.lastIndexOf(QLatin1Char('.'));
    ItemFileName parts;
    if (dot < 0) {
        parts.Base = name;
        return parts;
    }
    parts.Base = name.left(dot);
    parts.Extension = name.mid(dot + 1);
    return parts;
}

QString RenamedItemPath(const QString& linkFile, const QString& answer, const QString& extension) {
    const QString folder = QFileInfo(linkFile).path();
    return folder + QLatin1Char('/') + EscapeName(answer) + QLatin1Char('.') + extension;
}

bool NameTaken(const QString& from, const QString& to) {
    const QFileInfo target(to);
    const QString own = QFileInfo(from).fileName();
    const QStringList entries =
        target.dir().entryList(QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot);
    return std::any_of(entries.cbegin(), entries.cend(), [&](const QString& entry) {
        return entry != own && SameName(entry, target.fileName());
    });
}

bool RenameEntry(const QString& from, const QString& to) {
    const QFileInfo source(from);
    const QFileInfo target(to);
    const QString name = target.fileName();
    if (name.isEmpty() || name == QLatin1String(".") || name == QLatin1String("..") ||
        name.contains(QChar(0)))
        return false;
    if (target.absolutePath() != source.absolutePath())
        return false;
    return RenameWithoutReplacing(from, to);
}
