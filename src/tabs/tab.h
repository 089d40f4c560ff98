#pragma once

#include <exception>

#include <QImage>
#include <QList>
#include <QString>

#include "tabs/order_file.h"

class TSkin;

// What one shortcut file says about an item.
struct TItemData {
    QString Name;     // caption: the unescaped file name without its extension
    QString LinkFile; // full path of the shortcut file
    QString Target;   // target path, or "macro:screenres"
    QString Arguments;
    QString WorkingDir;
    QString Description;
    QString IconLocation; // empty: the target itself
    qint32 IconIndex = 0;
    qint32 ShowCmd = 1; // 1 normal, 2 minimized, 3 maximized
};

struct TItem {
    QImage Icon; // null when the item has no icon
    // The device pixel ratio Icon was read for; 0 while it has not been read.
    qreal IconRatio = 0;
    qint32 Index = 0;
    TItemData Data;
};

// What reading a tab folder's shortcuts gave: the records in display order and, when a shortcut
// could not be read, the error that ended the read (the records read before it are kept).
struct ItemRecords {
    QList<TItemData> records;
    std::exception_ptr error;
};

// Fills a record from the shortcut file at path: every field is set. fileName is the name the
// caption is made from (the order file's spelling of the file name); empty means the file name of
// path. Raises the shortcut's or the name's error. Safe on any thread, as are the two below.
TItemData ReadItemRecord(const QString& path, const QString& fileName = QString());

// The shortcut files of folder read in the order of its order file.
ItemRecords ReadItemRecords(const QString& folder);
// The same for a listing made before: a listed shortcut that is gone by the time it is read is
// left out.
ItemRecords ReadListedItemRecords(const QString& folder, const QList<OrderedName>& names);

// The model of one tab: its folder, its items in display order, and the state the tab window
// keeps in it (opening extent, highlighted item, drop position).
class TTab {
public:
    QString TabFolder;
    QString TabName;
    qint32 OpenExtent = 0;
    qint32 ItemsLength = 0;
    QList<TItem> Items;
    qint32 HotIndex = -1;
    qint32 DropIndex = -1;
    const TSkin* Skin = nullptr; // borrowed
    qint32 TabIndex = 0;
    qint32 TabCount = 0;

    // Rebuilds Items from the shortcut files of TabFolder, in the order of its order file. A
    // shortcut that cannot be read, or a file name with a malformed escape, raises its error and
    // ends the load; the items read before it stay. Icons are not read (see ReadIcons).
    void LoadItems();
    // LoadItems for a listing made before: a listed shortcut that is gone by the time it is read
    // is left out.
    void LoadListedItems(const QList<OrderedName>& names);
    // Puts the records read elsewhere (on a worker thread) into Items, then raises their error.
    void TakeRecords(const ItemRecords& read);

    // Reads the icon of every item for drawing at a device pixel ratio, unless it was read for
    // that ratio already. Icons are what a tab's items cost most, so they are read only for a tab
    // whose items are drawn, and given back with FreeIcons. An item without a target or icon
    // location keeps the icon it was given.
    void ReadIcons(qreal ratio);
    void FreeIcons();

    // Fills record from the shortcut file at path: every field is set, so nothing of an earlier
    // record remains. fileName is the name the caption is made from (the order file's spelling of
    // the file name); empty means the file name of path.
    void ReadItem(const QString& path, TItemData& record, const QString& fileName = QString());

    // Appends an item for record and extracts its icon (for ratio 1).
    void AddItem(const TItemData& record);

    // The highest index whose LinkFile equals path without regard to the case of A to Z; -1 if none.
    int FindItem(const QString& path) const;

    // Moves the item at from to the insertion position to (counted before the move, 0..count).
    // Indexes out of range do nothing.
    void MoveItem(int from, int to);

    // Launches the item at index, or runs the screen-resolution macro it stands for. An index out
    // of range does nothing. Macro arguments that are not numbers raise the conversion error.
    void ExecuteItem(int index) const;

    // ItemsLength := item count x the skin's item height (0 without a skin).
    void UpdateLength();
};
