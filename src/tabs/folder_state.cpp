#include "tabs/folder_state.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <QCryptographicHash>
#include <QDir>
#include <QFile>
#include <QSet>

#include "common/names.h"
#include "formats/order_list_format.h"

namespace {

// Order files are a few kilobytes; a larger one is taken by its size and time alone.
constexpr qint64 kMaxOrderFileSize = 1024 * 1024;

const QString OrderFile = QStringLiteral("order.lst");

// Adds folder's entries and its order to the digest; returns its sub-folders. Each entry's kind,
// size and time come from one fstatat: QFileInfo's times are local times, and turning each into
// one and back reads the time zone twice per file, most of the time a large tab set takes here.
QStringList AddFolder(QCryptographicHash& digest, const QString& folder) {
    const QStringList entries = QDir(folder).entryList(
        QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot, QDir::Name);
    QStringList subFolders;
    QSet<QString> names; // folded, for matching order-file lines
    QString orderFile;
    digest.addData(QFile::encodeName(folder));
    const int dir = ::open(QFile::encodeName(folder).constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    for (const QString& name : entries) {
        names.insert(FoldCase(name));
        struct stat info {};
        // A link is taken by what it points to; a broken one by the link itself.
        if (dir < 0 ||
            (::fstatat(dir, QFile::encodeName(name).constData(), &info, 0) != 0 &&
             ::fstatat(dir, QFile::encodeName(name).constData(), &info, AT_SYMLINK_NOFOLLOW) != 0)) {
            digest.addData((name + QStringLiteral("|?\n")).toUtf8());
            continue;
        }
        const QString path = folder + u'/' + name;
        if (SameName(name, OrderFile) && S_ISREG(info.st_mode)) {
            orderFile = path;
            continue;
        }
        // A folder's own time changes with every file written in it, the order file included;
        // its content is taken on its own.
        if (S_ISDIR(info.st_mode)) {
            subFolders.append(path);
            digest.addData((name + QStringLiteral("|d\n")).toUtf8());
            continue;
        }
        const QString line = QStringLiteral("%1|f|%2|%3.%4\n")
                                 .arg(name)
                                 .arg(qint64(info.st_size))
                                 .arg(qint64(info.st_mtim.tv_sec))
                                 .arg(qint64(info.st_mtim.tv_nsec));
        digest.addData(line.toUtf8());
    }
    if (dir >= 0)
        ::close(dir);
    if (orderFile.isEmpty())
        return subFolders;
    QFile file(orderFile);
    if (file.size() > kMaxOrderFileSize || !file.open(QIODevice::ReadOnly)) {
        digest.addData(QByteArray::number(file.size()));
        return subFolders;
    }
    digest.addData("order\n");
    for (const QString& line : ParseOrderLines(file.readAll())) {
        if (names.contains(FoldCase(line)))
            digest.addData((line + u'\n').toUtf8());
    }
    return subFolders;
}

} // namespace

QByteArray TabSetState(const QString& tabsFolder) {
    QCryptographicHash digest(QCryptographicHash::Sha1);
    for (const QString& tab : AddFolder(digest, tabsFolder))
        AddFolder(digest, tab);
    return digest.result();
}
