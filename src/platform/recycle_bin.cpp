#include "platform/recycle_bin.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStandardPaths>

#include "translation/ui_text.h"

bool DeleteToRecycleBin(const QString& path, const UserQuestion& ask) {
    const QFileInfo info(path);
    if (!info.exists() && !info.isSymLink())
        return false;
    const QString absolute = info.absoluteFilePath();
    const bool folder = info.isDir() && !info.isSymLink();
    const QString text =
        folder ? UiText("Delete.FolderQuestion",
                        "Are you sure you want to move the folder '%1' and all its contents to the Trash?")
               : UiText("Delete.FileQuestion", "Are you sure you want to move '%1' to the Trash?");
    const QString caption = folder ? UiText("Delete.FolderTitle", "Confirm Folder Delete")
                                   : UiText("Delete.FileTitle", "Confirm File Delete");
    if (ask && !ask(caption, text.arg(info.fileName())))
        return false;
    // Without the data folder, moveToTrash reports success yet moves the entry into "files" of the
    // current folder and returns a relative path: make the folder first, and never trust such a path.
    const QString dataFolder = QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation);
    if (dataFolder.isEmpty() || !QDir().mkpath(dataFolder))
        return false;
    QString pathInTrash;
    if (!QFile::moveToTrash(absolute, &pathInTrash))
        return false;
    return QFileInfo(pathInTrash).isAbsolute();
}
