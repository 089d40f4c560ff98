#include "update/download_name.h"

#include <QDir>
#include <QFileInfo>
#include <QRegularExpression>

#include "common/error.h"
#include "common/names.h"
#include "common/program_folder.h"
#include "translation/ui_text.h"

QString DownloadNameFromUrl(const QString& url) {
    return url.mid(url.lastIndexOf(QLatin1Char('/')) + 1);
}

void CheckDownloadName(const QString& name, const ProgramFolder& folder) {
    if (name.isEmpty())
        throw Error(UiText("Download.NoFileName",
                           "The update cannot be saved: its address does not end in a file name."));
    if (name == QLatin1String(".") || name == QLatin1String("..") || name.contains(QLatin1Char('/')) ||
        name.contains(QLatin1Char('\\')) || name.contains(QChar(0)))
        throw Error(
            UiText("Download.BadName", "The update cannot be saved under the name \"%1\".").arg(name));

    const QString ownNames[] = {
        QFileInfo(folder.executablePath()).fileName(),
        QFileInfo(folder.settingsFile()).fileName(),
        QFileInfo(folder.legacyIniFile()).fileName(),
        QFileInfo(folder.legacyIniFile()).fileName() + QStringLiteral(".bak"),
        QStringLiteral("Tabs"),
        QStringLiteral("Translation"),
        QStringLiteral("Loading.avi"),
    };
    bool own = false;
    for (const QString& ownName : ownNames)
        own = own || SameName(name, ownName);
    // A skin is any folder of the user's folder that holds a skin definition.
    own = own || QFileInfo(folder.userDir() + name + QStringLiteral("/skin.ini")).isFile();
    if (own)
        throw Error(UiText("Download.OwnName",
                           "The update cannot be saved as \"%1\": that name belongs to one of "
                           "Kelvara's own files.")
                        .arg(name));
}

QStringList RemoveStaleDownloads(const QString& folder) {
    static const QRegularExpression own(QStringLiteral("^.+\\.[A-Za-z0-9]{6}") +
                                        QRegularExpression::escape(QLatin1StringView(kDownloadTemporaryTag)) +
                                        u'$');
    QStringList removed;
    const QFileInfoList entries =
        QDir(folder).entryInfoList({QStringLiteral("*") + QLatin1StringView(kDownloadTemporaryTag)},
                                   QDir::Files | QDir::Hidden | QDir::System);
    for (const QFileInfo& entry : entries) {
        if (entry.isSymLink() || !entry.isFile() || !own.match(entry.fileName()).hasMatch())
            continue;
        if (QFile::remove(entry.filePath()))
            removed.append(entry.filePath());
    }
    return removed;
}
