#include "tabs/order_file.h"

#include <algorithm>
#include <optional>
#include <utility>
#include <vector>

#include <QDir>
#include <QFileInfo>
#include <QHash>
#include <QSet>

#include "common/error.h"
#include "common/names.h"
#include "common/regular_file.h"
#include "common/replacing_file.h"
#include "formats/order_list_format.h"
#include "tabs/name_mask.h"

namespace {

QString OrderFilePath(const QString& folder) {
    return folder + QStringLiteral("/order.lst");
}

// The sort key of a name as the Windows file system orders a folder: each UTF-16 code unit in
// upper case.
QString SortKey(const QString& name) {
    QString key = name;
    for (QChar& c : key)
        c = c.toUpper();
    return key;
}

// Equal keys ("a" and "A" may both exist here) fall back to the name itself, so that the order
// never depends on how the folder happens to be stored.
bool SortsBefore(const std::pair<QString, QFileInfo>& a, const std::pair<QString, QFileInfo>& b) {
    if (a.first != b.first)
        return a.first < b.first;
    return a.second.fileName() < b.second.fileName();
}

QFileInfoList DirectoryEntries(const QString& folder) {
    const QFileInfoList found = QDir(folder).entryInfoList(
        QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot, QDir::Unsorted);
    std::vector<std::pair<QString, QFileInfo>> keyed;
    keyed.reserve(size_t(found.size()));
    for (const QFileInfo& entry : found)
        keyed.emplace_back(SortKey(entry.fileName()), entry);
    std::sort(keyed.begin(), keyed.end(), SortsBefore);
    QFileInfoList sorted;
    sorted.reserve(found.size());
    for (auto& entry : keyed)
        sorted.append(std::move(entry.second));
    return sorted;
}

// The lines of a folder's order file, and whether they are all of it. A file larger than an order
// file can be is read in part, and anything but a regular file not at all: neither is written
// back, or the rest of the user's order would be lost.
struct OrderLines {
    QStringList lines;
    bool complete = true;
};

OrderLines ReadOrderLines(const QString& folder) {
    const QString path = OrderFilePath(folder);
    // One byte past the limit tells a file of exactly the limit from a larger one.
    const std::optional<QByteArray> bytes = ReadRegularFile(path, kMaxOrderFileSize + 1);
    if (!bytes)
        return {{}, !QFileInfo::exists(path)};
    return {ParseOrderLines(*bytes), bytes->size() <= kMaxOrderFileSize};
}

bool WriteOrderLines(const QString& folder, const QStringList& lines, bool* refusedLink = nullptr) {
    return ReplaceFileContents(OrderFilePath(folder), SerializeOrderLines(lines), refusedLink);
}

// A name that holds a line break cannot be a line of the order file.
bool FitsOnOneLine(const QString& name) {
    return !name.contains(QLatin1Char('\r')) && !name.contains(QLatin1Char('\n'));
}

// How many times in all an ordered listing repeats names its order file lists more than once.
// Repeats are kept, but a file of nothing but one name must not make a listing of a hundred
// thousand tabs or items.
constexpr qsizetype kMaxRepeatedNames = 4096;

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
    const OrderLines order = ReadOrderLines(folder);
    if (!order.complete)
        return;
    QSet<QString> existing;
    for (const QString& entry : ListEntries(folder, QStringLiteral("*"), true, true))
        existing.insert(FoldCase(entry));
    // The order file itself is an entry: without it the folder could not be listed, and every
    // line would look stale.
    if (!existing.contains(FoldCase(QStringLiteral("order.lst"))))
        return;
    QStringList kept;
    for (const QString& line : order.lines) {
        if (existing.contains(FoldCase(line)))
            kept.append(line);
    }
    // Only an order that changes is written: a start or a refresh leaves a tidy file alone, and
    // read-only folders too. A file that is a link stays as it is (the writer refuses it); its
    // stale lines name nothing and are skipped by every listing.
    if (kept.size() != order.lines.size())
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
    qsizetype repeats = 0;
    for (const QString& line : ReadOrderLines(folder).lines) {
        const auto entry = first.constFind(FoldCase(line));
        if (entry == first.constEnd())
            continue;
        if (matched[*entry] && ++repeats > kMaxRepeatedNames)
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
    SetOrderPositions(folder, QStringList{name}, position);
}

void SetOrderPositions(const QString& folder, const QStringList& given, int position) {
    QStringList names;
    for (const QString& name : given) {
        if (!FitsOnOneLine(name))
            throw Error(UserText("Order.NotKept", "'%1' cannot be kept in an order file").arg(name));
        names.removeIf([&](const QString& earlier) { return SameName(earlier, name); });
        names.append(name);
    }
    position = qMax(position, 0);
    if (!QFileInfo::exists(OrderFilePath(folder)))
        CreateOrderFile(folder);
    const OrderLines order = ReadOrderLines(folder);
    if (!order.complete)
        throw Error(UserText("Order.NotWhole",
                             "Unable to write %1: the file is not a whole order file (larger "
                             "than %2 bytes, or not a regular file), and writing it would "
                             "lose the rest")
                        .arg(QDir::toNativeSeparators(OrderFilePath(folder)))
                        .arg(kMaxOrderFileSize));
    QStringList lines = order.lines;
    for (qsizetype i = lines.size() - 1; i >= 0; --i) {
        const bool placed = std::any_of(names.cbegin(), names.cend(),
                                        [&](const QString& name) { return SameName(lines[i], name); });
        if (placed) {
            lines.removeAt(i);
            if (i < position)
                --position;
        }
    }
    position = int(std::min<qsizetype>(position, lines.size()));
    for (qsizetype i = 0; i < names.size(); ++i)
        lines.insert(position + i, names[i]);
    bool link = false;
    if (!WriteOrderLines(folder, lines, &link))
        throw Error(WriteFailureMessage(UserText("Order.UnableToWrite", "Unable to write %1")
                                            .arg(QDir::toNativeSeparators(OrderFilePath(folder))),
                                        link));
}
