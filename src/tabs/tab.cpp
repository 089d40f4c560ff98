#include "tabs/tab.h"

#include <algorithm>

#include <QDir>
#include <QFileInfo>
#include <QHash>
#include <QSet>

#include "common/device_pixels.h"
#include "common/error.h"
#include "common/names.h"
#include "common/replacing_file.h"
#include "common/undecodable_names.h"
#include "formats/shortcut_link.h"
#include "skins/skin.h"
#include "tabs/desktop_file.h"
#include "tabs/item_icon.h"
#include "tabs/launch.h"
#include "tabs/order_file.h"
#include "tabs/screen_resolution.h"
#include "tabs/tab_geometry.h"

namespace {

const QLatin1String kScreenResMacro("macro:screenres");

qint32 StoredShowCmd(TShowCmd cmd) {
    switch (cmd) {
    case scShowMaximized:
        return 3;
    case scShowMinimized:
        return 2;
    case scShowNormal:
        break;
    }
    return 1;
}

} // namespace

namespace {

// A desktop entry put into the tab folder is an item of its own: it starts itself, and shows the
// name and icon it gives. Hidden and NoDisplay entries stay items: the user put them there.
TItemData ReadDesktopItem(const QString& path, const QString& fileName) {
    const std::optional<DesktopFileInfo> entry = ReadDesktopFile(path);
    if (!entry)
        throw Error(UserText("Entry.Unreadable", "Unable to read desktop entry"));
    TItemData record;
    record.LinkFile = path;
    record.Target = path;
    record.Name = entry->name.isEmpty()
                      ? UnescapeName(QFileInfo(fileName.isEmpty() ? path : fileName).completeBaseName())
                      : entry->name;
    return record;
}

} // namespace

bool IsDesktopEntryName(const QString& path) {
    return path.endsWith(QLatin1String(".desktop"), Qt::CaseInsensitive);
}

TItemData ReadItemRecord(const QString& path, const QString& fileName) {
    if (IsDesktopEntryName(path))
        return ReadDesktopItem(path, fileName);
    TShortcutLink link;
    link.ShortcutFile = path;
    link.Read();
    TItemData record;
    record.LinkFile = path;
    record.Target = link.Target;
    record.Arguments = link.Arguments;
    record.WorkingDir = link.WorkingDir;
    record.ShowCmd = StoredShowCmd(link.ShowCmd);
    record.Name = UnescapeName(QFileInfo(fileName.isEmpty() ? path : fileName).completeBaseName());
    // Shortcuts made from a dropped ".desktop" file used to be named after that file, and most
    // applications name theirs in reverse-DNS style. A name the user gave stays as it is.
    const QFileInfo target(record.Target);
    if (target.suffix() == QLatin1String("desktop") && record.Name == target.completeBaseName()) {
        if (const std::optional<DesktopFileInfo> entry = ReadDesktopFile(record.Target);
            entry && !entry->name.isEmpty())
            record.Name = entry->name;
    }
    record.Description = link.Description;
    record.IconLocation = link.IconLocation;
    record.IconIndex = link.IconNumber;
    return record;
}

ItemRecords ReadItemRecords(const QString& folder) {
    return ReadListedItemRecords(folder, OrderedListing(folder, kItemMasks, true, false));
}

ItemRecords ReadListedItemRecords(const QString& folder, const QList<OrderedName>& names) {
    ItemRecords read;
    QList<UserText> problems;
    for (const QString& path : UndecodableEntries(folder, true, false, ".lnk"))
        problems.append(UserText("Shortcut.NameNotUtf8",
                                 "Unable to open link file: %1 (its name is not valid UTF-8; rename it)")
                            .arg(path));
    for (const QString& path : UndecodableEntries(folder, true, false, ".desktop"))
        problems.append(UserText("Entry.NameNotUtf8",
                                 "Unable to read desktop entry: %1 (its name is not valid UTF-8; rename it)")
                            .arg(path));
    // An order file naming a shortcut again does not make it a second item.
    QList<OrderedName> unique;
    QSet<QString> seen;
    for (const OrderedName& name : names) {
        if (!seen.contains(name.entryName)) {
            seen.insert(name.entryName);
            unique.append(name);
        }
    }
    if (unique.size() > kMaxTabItems)
        problems.append(
            UserText("Tab.TooManyItems", "The tab \"%1\" holds %2 items; only the first %3 are shown.")
                .arg(QFileInfo(folder).fileName())
                .arg(unique.size())
                .arg(kMaxTabItems));
    unique.resize(std::min(unique.size(), kMaxTabItems));
    for (const OrderedName& name : std::as_const(unique)) {
        const QString path = folder + QLatin1Char('/') + name.entryName;
        TItem item;
        try {
            item.Data = ReadItemRecord(path, name.name);
        } catch (const Error& e) {
            // Deleted since the listing (by another program, or moved away by a drop), it is no
            // longer an item. Any other failure is named; either way the items after it load.
            if (QFileInfo(path).exists())
                problems.append(WithReason(e.text(), UserText::plain(QDir::toNativeSeparators(path))));
            continue;
        }
        item.IconSource = ResolveItemIcon(item.Data);
        read.items.append(std::move(item));
    }
    if (!problems.isEmpty())
        read.error = std::make_exception_ptr(Error(UserText::lines(problems)));
    return read;
}

void TTab::LoadItems() {
    TakeRecords(ReadItemRecords(TabFolder));
}

void TTab::LoadListedItems(const QList<OrderedName>& names) {
    TakeRecords(ReadListedItemRecords(TabFolder, names));
}

void TTab::TakeRecords(const ItemRecords& read) {
    Items = read.items;
    for (qsizetype i = 0; i < Items.size(); ++i)
        Items[i].Index = qint32(i);
    UpdateLength();
    if (read.error)
        std::rethrow_exception(read.error);
}

void TTab::ReadItem(const QString& path, TItemData& record, const QString& fileName) {
    record = ReadItemRecord(path, fileName);
    UpdateLength();
}

void TTab::AddItem(const TItemData& record) {
    TItem item;
    item.Index = qint32(Items.size());
    item.Data = record;
    item.IconSource = ResolveItemIcon(record);
    item.Icon = ItemIconImage(item.IconSource);
    item.IconRatio = 1;
    Items.append(std::move(item));
    UpdateLength();
}

void TTab::ReadIcons(qreal ratio) {
    const int pixelSize = DeviceLength(kItemIconSize, ratio);
    // Marking an icon with its ratio copies it, so an icon that several items share is made and
    // marked once and then shared.
    QHash<QString, QImage> made;
    const qint32 end = FirstShown + ShownCount();
    for (qint32 i = 0; i < Items.size(); ++i) {
        TItem& item = Items[i];
        if (item.IconGiven)
            continue;
        if (i < FirstShown || i >= end) {
            item.Icon = QImage();
            item.IconRatio = 0;
            continue;
        }
        if (item.IconRatio == ratio)
            continue;
        const ItemIconSource& source = item.IconSource;
        QString key = QString::number(int(source.kind)) + u'\n' + source.themeNames.join(u'\n');
        for (const ItemIconSource::File& file : source.files)
            key += u'\n' + file.path + u'#' + QString::number(file.index);
        key += u'\n' + source.fallbackTarget;
        auto known = made.constFind(key);
        if (known == made.cend()) {
            QImage icon = ItemIconImage(source, pixelSize);
            icon.setDevicePixelRatio(ratio);
            known = made.insert(key, icon);
        }
        item.Icon = *known;
        item.IconRatio = ratio;
    }
}

void TTab::FreeIcons() {
    for (TItem& item : Items) {
        if (!item.IconGiven) {
            item.Icon = QImage();
            item.IconRatio = 0;
        }
    }
}

int TTab::FindItem(const QString& path) const {
    for (qsizetype i = Items.size() - 1; i >= 0; --i) {
        if (SameName(Items[i].Data.LinkFile, path))
            return int(i);
    }
    return -1;
}

void TTab::MoveItem(int from, int to) {
    if (from < 0 || from >= Items.size() || to < 0 || to > Items.size())
        return;
    // Exchanging neighbours step by step: the items in between shift by one.
    for (int i = from; i < to - 1; ++i)
        Items.swapItemsAt(i, i + 1);
    for (int i = from; i > to; --i)
        Items.swapItemsAt(i, i - 1);
}

void TTab::ExecuteItem(int index, const std::function<void(const UserText&)>& failed) const {
    if (index < 0 || index >= Items.size())
        return;
    const TItemData& data = Items[index].Data;
    if (data.Target.toLower() != kScreenResMacro) {
        // A failure must not look like success: the user learns which item did not start and why.
        const auto report = [name = data.Name, failed](const UserText& reason) {
            if (failed)
                failed(UserText("Launch.Failed", "Unable to start \"%1\": %2").arg(name).arg(reason));
        };
        if (const UserText reason = LaunchItem(data, report); !reason.isEmpty())
            report(reason);
        return;
    }
    ChangeDisplayMode(ParseScreenResolution(data.Arguments));
}

qint32 TTab::ShownCount() const {
    return qint32(std::min<qsizetype>(Items.size(), std::max(0, RowLimit)));
}

bool TTab::ScrollTo(qint32 first) {
    const qint32 clamped = ClampFirstShown(first, qint32(Items.size()), ShownCount());
    if (clamped == FirstShown)
        return false;
    FirstShown = clamped;
    return true;
}

void TTab::UpdateLength() {
    FirstShown = ClampFirstShown(FirstShown, qint32(Items.size()), ShownCount());
    // Counted in 64 bits and capped, so that a folder of very many items cannot overflow the sums
    // of lengths that placement and drawing make.
    constexpr qint64 kMaxItemsLength = qint64(1) << 24;
    ItemsLength = Skin ? qint32(std::min(qint64(ShownCount()) * Skin->ItemHeight, kMaxItemsLength)) : 0;
}
