#include "tabs/order_file.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QHash>
#include <QSaveFile>
#include <QSet>

#include "common/error.h"
#include "common/names.h"
#include "formats/order_list_format.h"
#include "tabs/name_mask.h"

namespace {

QString OrderFilePath(const QString& folder) {
    return folder + QStringLiteral("/order.lst");
}

QFileInfoList DirectoryEntries(const QString& folder) {
    return QDir(folder).entryInfoList(QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot,
                                      QDir::Unsorted);
}

// The raw bytes of the order file, at most the size an order file may have.
QByteArray ReadOrderBytes(const QString& folder) {
    QFile file(OrderFilePath(folder));
    if (!file.open(QIODevice::ReadOnly))
        return {};
    return file.read(kMaxOrderFileSize);
}

bool WriteOrderLines(const QString& folder, const QStringList& lines) {
    const QByteArray bytes = SerializeOrderLines(lines);
    QSaveFile file(OrderFilePath(folder));
    // Unbuffered, so that a write the disk cuts short fails here: a buffered one fails only in the
    // flush at commit, which QSaveFile does not notice, and a cut-off file would replace the old.
    return file.open(QIODevice::WriteOnly | QIODevice::Unbuffered) && file.write(bytes) == bytes.size() &&
           file.commit();
}

// A name that holds a line break cannot be a line of the order file.
bool FitsOnOneLine(const QString& name) {
    return !name.contains(QLatin1Char('\r')) && !name.contains(QLatin1Char('\n'));
}

} // namespace

QStringList ListEntries(const QString& folder, const QString& masks, bool files, bool folders) {
    const QFileInfoList entries = DirectoryEntries(folder);
    QStringList names;
    for (const QString& mask : masks.split(QLatin1Char(';'))) {
        if (mask.isEmpty())
            continue;
        for (const QFileInfo& entry : entries) {
            const bool listed = (files && entry.isFile()) || (folders && entry.isDir());
            if (listed && MatchesMask(entry.fileName(), mask))
                names.append(entry.fileName());
        }
    }
    return names;
}

void CleanOrderFile(const QString& folder) {
    if (!QFileInfo::exists(OrderFilePath(folder)))
        return;
    const QByteArray bytes = ReadOrderBytes(folder);
    QSet<QString> existing;
    for (const QString& entry : ListEntries(folder, QStringLiteral("*"), true, true))
        existing.insert(FoldCase(entry));
    // The order file itself is an entry: without it the folder could not be listed, and every
    // line would look stale.
    if (!existing.contains(FoldCase(QStringLiteral("order.lst"))))
        return;
    QStringList kept;
    for (const QString& line : ParseOrderLines(bytes)) {
        if (existing.contains(FoldCase(line)))
            kept.append(line);
    }
    // Only a file whose text would change is rewritten, which also leaves read-only folders alone.
    if (SerializeOrderLines(kept) != bytes)
        WriteOrderLines(folder, kept);
}

QList<OrderedName> OrderedListing(const QString& folder, const QString& masks, bool files, bool folders) {
    CleanOrderFile(folder);
    const QStringList found = ListEntries(folder, masks, files, folders);
    // The first entry of each folded name: a line names it even when an earlier line did.
    QHash<QString, qsizetype> first;
    for (qsizetype i = found.size() - 1; i >= 0; --i)
        first.insert(FoldCase(found[i]), i);
    QList<bool> matched(found.size(), false);
    QList<OrderedName> listing;
    for (const QString& line : ParseOrderLines(ReadOrderBytes(folder))) {
        const auto entry = first.constFind(FoldCase(line));
        if (entry == first.constEnd())
            continue;
        matched[*entry] = true;
        listing.append({line, found[*entry]});
    }
    for (qsizetype i = 0; i < found.size(); ++i) {
        if (!matched[i])
            listing.append({found[i], found[i]});
    }
    return listing;
}

void CreateOrderFile(const QString& folder) {
    QStringList lines = ListEntries(folder, QStringLiteral("*.*"), true, true);
    lines.removeIf([](const QString& name) { return !FitsOnOneLine(name); });
    WriteOrderLines(folder, lines);
}

void SetOrderPosition(const QString& folder, const QString& name, int position) {
    if (!FitsOnOneLine(name))
        throw Error(QStringLiteral("'%1' cannot be kept in an order file").arg(name));
    position = qMax(position, 0);
    if (!QFileInfo::exists(OrderFilePath(folder)))
        CreateOrderFile(folder);
    QStringList lines = ParseOrderLines(ReadOrderBytes(folder));
    for (qsizetype i = lines.size() - 1; i >= 0; --i) {
        if (SameName(lines[i], name)) {
            lines.removeAt(i);
            if (i < position)
                --position;
        }
    }
    if (position < lines.size())
        lines.insert(position, name);
    else
        lines.append(name);
    if (!WriteOrderLines(folder, lines))
        throw Error(
            QStringLiteral("Unable to write %1").arg(QDir::toNativeSeparators(OrderFilePath(folder))));
}
