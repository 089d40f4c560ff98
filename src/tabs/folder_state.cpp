#include "tabs/folder_state.h"

#include <QCryptographicHash>
#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSet>

#include "common/names.h"
#include "formats/order_list_format.h"

namespace {

// Order files are a few kilobytes; a larger one is taken by its size and time alone.
constexpr qint64 kMaxOrderFileSize = 1024 * 1024;

const QString OrderFile = QStringLiteral("order.lst");

// Adds folder's entries and its order to the digest; returns its sub-folders.
QStringList AddFolder(QCryptographicHash& digest, const QString& folder) {
    const QFileInfoList entries = QDir(folder).entryInfoList(
        QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot, QDir::Name);
    QStringList subFolders;
    QSet<QString> names; // folded, for matching order-file lines
    QString orderFile;
    digest.addData(QFile::encodeName(folder));
    for (const QFileInfo& entry : entries) {
        const QString name = entry.fileName();
        names.insert(FoldCase(name));
        if (SameName(name, OrderFile) && entry.isFile()) {
            orderFile = entry.filePath();
            continue;
        }
        // A folder's own time changes with every file written in it, the order file included;
        // its content is taken on its own.
        if (entry.isDir()) {
            subFolders.append(entry.filePath());
            digest.addData((name + QStringLiteral("|d\n")).toUtf8());
            continue;
        }
        const QString line = QStringLiteral("%1|f|%2|%3\n")
                                 .arg(name)
                                 .arg(entry.size())
                                 .arg(entry.lastModified().toMSecsSinceEpoch());
        digest.addData(line.toUtf8());
    }
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
