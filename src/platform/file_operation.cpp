#include "platform/file_operation.h"

#include <filesystem>
#include <system_error>

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include "platform/recycle_bin.h"
#include "platform/rename_without_replacing.h"
#include "translation/ui_text.h"

namespace fs = std::filesystem;

namespace {

fs::path ToPath(const QString& path) {
    return fs::path(QFile::encodeName(path).toStdString());
}

// Whether anything, even a dangling symbolic link, has this name.
bool EntryExists(const QString& path) {
    std::error_code ec;
    return fs::exists(fs::symlink_status(ToPath(path), ec));
}

// An unused hidden name beside path, for work that becomes visible only when it is complete.
QString SideName(const QString& path, const QString& purpose) {
    const QFileInfo info(path);
    const QString stem = info.absolutePath() + QStringLiteral("/.") + info.fileName() + purpose;
    QString candidate = stem;
    for (int n = 1; EntryExists(candidate); ++n)
        candidate = stem + QString::number(n);
    return candidate;
}

// Copies a file, a symbolic link or a whole folder tree to a new name.
bool CopyEntry(const QString& source, const QString& destination) {
    std::error_code ec;
    fs::copy(ToPath(source), ToPath(destination),
             fs::copy_options::recursive | fs::copy_options::copy_symlinks, ec);
    return !ec;
}

void RemoveEntry(const QString& path) {
    std::error_code ec;
    fs::remove_all(ToPath(path), ec);
}

// Puts the finished staged entry at destination. An entry already there is set aside first and
// only removed once the new one is in place, so a failure keeps the old one.
bool PlaceStaged(const QString& staged, const QString& destination, bool replacing) {
    if (!replacing)
        return RenameWithoutReplacing(staged, destination);
    const QString old = SideName(destination, QStringLiteral(".replaced"));
    if (!RenameWithoutReplacing(destination, old))
        return false;
    if (!RenameWithoutReplacing(staged, destination)) {
        RenameWithoutReplacing(old, destination);
        return false;
    }
    RemoveEntry(old);
    return true;
}

QString CanonicalOrAbsolute(const QString& path) {
    const QFileInfo info(path);
    const QString canonical = info.canonicalFilePath();
    return canonical.isEmpty() ? info.absoluteFilePath() : canonical;
}

} // namespace

QStringList TAMHFileOp::SplitFileList(const QString& list) {
    return list.split(QLatin1Char(';'), Qt::SkipEmptyParts);
}

bool TAMHFileOp::execute() {
    if (FilesFrom.isEmpty())
        return false;
    bool all = true;
    switch (Operation) {
    case foDelete:
        for (const QString& source : FilesFrom)
            all = DeleteToRecycleBin(source, AskUser) && all;
        return all;
    case foRename:
        if (FilesTo.size() != FilesFrom.size())
            return false;
        for (qsizetype i = 0; i < FilesFrom.size(); ++i)
            all = rename(FilesFrom[i], FilesTo[i]) && all;
        return all;
    case foCopy:
    case foMove:
        break;
    }
    const bool move = Operation == foMove;
    if (FilesTo.size() == FilesFrom.size()) {
        for (qsizetype i = 0; i < FilesFrom.size(); ++i)
            all = transfer(FilesFrom[i], FilesTo[i], move) && all;
        return all;
    }
    if (FilesTo.size() != 1 || !QDir().mkpath(FilesTo.front()))
        return false;
    for (const QString& source : FilesFrom)
        all = transfer(source, FilesTo.front(), move) && all;
    return all;
}

bool TAMHFileOp::transfer(const QString& source, const QString& destination, bool move) {
    if (!EntryExists(source))
        return false;
    QString to = QFileInfo(destination).absoluteFilePath();
    const QFileInfo destinationInfo(to);
    if (destinationInfo.isDir() && !destinationInfo.isSymLink() &&
        CanonicalOrAbsolute(to) != CanonicalOrAbsolute(source))
        to += QLatin1Char('/') + QFileInfo(source).fileName();
    return place(source, to, move);
}

bool TAMHFileOp::place(const QString& source, const QString& to, bool move) {
    const QString from = CanonicalOrAbsolute(source);
    const QString toCanonical =
        CanonicalOrAbsolute(QFileInfo(to).absolutePath()) + QLatin1Char('/') + QFileInfo(to).fileName();
    // Onto itself, or a folder into its own tree.
    if (toCanonical == from || toCanonical.startsWith(from + QLatin1Char('/')))
        return false;

    const bool replacing = EntryExists(to);
    if (replacing) {
        const QFileInfo existing(to);
        const QFileInfo sourceInfo(source);
        const bool folders =
            existing.isDir() && !existing.isSymLink() && sourceInfo.isDir() && !sourceInfo.isSymLink();
        const QString question =
            folders ? UiText("Drop.MergeQuestion",
                             "This folder already contains a folder named '%1'.\n\n"
                             "If the files in the existing folder have the same name as files in the "
                             "folder you are moving or copying, they will be replaced. Do you still want "
                             "to move or copy the folder?")
                    : UiText("Drop.ReplaceQuestion", "This folder already contains a file named '%1'.\n\n"
                                                     "Would you like to replace the existing file?");
        if (!AskUser || !AskUser(QStringLiteral("Kelvara 2.0"), question.arg(existing.fileName())))
            return false;
        // A folder onto a folder merges them, as the file manager does: what is only in the
        // existing folder stays.
        if (folders)
            return merge(source, to, move);
    }
    if (!QDir().mkpath(QFileInfo(to).absolutePath()))
        return false;

    // The entry is assembled under a hidden name and appears under its own name only when complete.
    const QString staged = SideName(to, QStringLiteral(".partial"));
    // On one file system a move is a rename and copies nothing.
    const bool renamed = move && RenameWithoutReplacing(source, staged);
    if (!renamed && !CopyEntry(source, staged)) {
        RemoveEntry(staged);
        return false;
    }
    if (!PlaceStaged(staged, to, replacing)) {
        if (renamed)
            RenameWithoutReplacing(staged, source);
        else
            RemoveEntry(staged);
        return false;
    }
    if (move && !renamed) {
        std::error_code ec;
        fs::remove_all(ToPath(source), ec);
        return !ec;
    }
    return true;
}

bool TAMHFileOp::merge(const QString& source, const QString& to, bool move) {
    bool all = true;
    const QFileInfoList entries =
        QDir(source).entryInfoList(QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot);
    for (const QFileInfo& entry : entries)
        all = place(entry.absoluteFilePath(), to + QLatin1Char('/') + entry.fileName(), move) && all;
    if (move && all)
        all = QDir().rmdir(source);
    return all;
}

bool TAMHFileOp::rename(const QString& source, const QString& destination) {
    return RenameWithoutReplacing(source, destination);
}
