#include "tabs/tab.h"

#include <QFileInfo>
#include <QHash>

#include "common/device_pixels.h"
#include "common/error.h"
#include "common/names.h"
#include "formats/shortcut_link.h"
#include "skins/skin.h"
#include "tabs/item_icon.h"
#include "tabs/launch.h"
#include "tabs/order_file.h"
#include "tabs/screen_resolution.h"

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

TItemData ReadItemRecord(const QString& path, const QString& fileName) {
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
    record.Description = link.Description;
    record.IconLocation = link.IconLocation;
    record.IconIndex = link.IconNumber;
    return record;
}

ItemRecords ReadItemRecords(const QString& folder) {
    return ReadListedItemRecords(folder, OrderedListing(folder, QStringLiteral("*.lnk"), true, false));
}

ItemRecords ReadListedItemRecords(const QString& folder, const QList<OrderedName>& names) {
    ItemRecords read;
    for (const OrderedName& name : names) {
        const QString path = folder + QLatin1Char('/') + name.entryName;
        try {
            read.records.append(ReadItemRecord(path, name.name));
        } catch (const Error&) {
            // Deleted since the listing (by another program, or moved away by a drop): it is no
            // longer an item, and the items after it still load.
            if (!QFileInfo(path).exists())
                continue;
            read.error = std::current_exception();
            break;
        }
    }
    return read;
}

void TTab::LoadItems() {
    TakeRecords(ReadItemRecords(TabFolder));
}

void TTab::LoadListedItems(const QList<OrderedName>& names) {
    TakeRecords(ReadListedItemRecords(TabFolder, names));
}

void TTab::TakeRecords(const ItemRecords& read) {
    Items.clear();
    for (const TItemData& record : read.records) {
        TItem item;
        item.Index = qint32(Items.size());
        item.Data = record;
        Items.append(std::move(item));
    }
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
    const QString& source = record.IconLocation.isEmpty() ? record.Target : record.IconLocation;
    item.Icon = ExtractItemIcon(source, record.IconIndex);
    item.IconRatio = 1;
    Items.append(std::move(item));
    UpdateLength();
}

void TTab::ReadIcons(qreal ratio) {
    const int pixelSize = DeviceLength(kItemIconSize, ratio);
    // Marking an icon with its ratio copies it, so an icon that several items share is read and
    // marked once and then shared.
    QHash<QString, QImage> read;
    for (TItem& item : Items) {
        if (item.IconRatio == ratio)
            continue;
        const TItemData& record = item.Data;
        const QString& source = record.IconLocation.isEmpty() ? record.Target : record.IconLocation;
        if (source.isEmpty())
            continue; // nothing to read: an icon given by hand stays
        const QString key = source + u'\n' + QString::number(record.IconIndex);
        auto known = read.constFind(key);
        if (known == read.cend()) {
            QImage icon = ExtractItemIcon(source, record.IconIndex, pixelSize);
            icon.setDevicePixelRatio(ratio);
            known = read.insert(key, icon);
        }
        item.Icon = *known;
        item.IconRatio = ratio;
    }
}

void TTab::FreeIcons() {
    for (TItem& item : Items) {
        if (item.IconRatio != 0) {
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

void TTab::ExecuteItem(int index) const {
    if (index < 0 || index >= Items.size())
        return;
    const TItemData& data = Items[index].Data;
    if (data.Target.toLower() != kScreenResMacro) {
        LaunchItem(data);
        return;
    }
    ChangeDisplayMode(ParseScreenResolution(data.Arguments));
}

void TTab::UpdateLength() {
    ItemsLength = Skin ? qint32(Items.size()) * Skin->ItemHeight : 0;
}
