#pragma once

#include <exception>
#include <functional>
#include <limits>

#include <QImage>
#include <QList>
#include <QString>

#include "common/user_text.h"
#include "tabs/item_icon.h"
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
    QImage Icon; // kItemIconSize logical pixels square; null until it is made
    // Where Icon came from, so that it can be drawn again at another size.
    ItemIconSource IconSource;
    // The device pixel ratio Icon was made for from IconSource; 0 while it has not been made.
    qreal IconRatio = 0;
    // Icon was given as it is (a demonstration, a benchmark) and is never made from IconSource.
    bool IconGiven = false;
    qint32 Index = 0;
    TItemData Data;
};

// What reading a tab folder's shortcuts gave: the items in display order, their icon sources
// resolved but no icon made, and, when some shortcuts could not be read, the Error naming them.
struct ItemRecords {
    QList<TItem> items;
    std::exception_ptr error;
};

// The most items a tab holds. A thousand rows are some thirty screens to scroll through, more than
// anyone keeps in one tab; reading them takes a fraction of a second, and what a tab holds stays a
// few megabytes however many files its folder has.
inline constexpr qsizetype kMaxTabItems = 1000;

// The files of a tab folder that are its items: shortcuts, and desktop entries put there.
inline const QString kItemMasks = QStringLiteral("*.lnk;*.desktop");

// An item file that is a desktop entry rather than a shortcut: its name ends in ".desktop".
bool IsDesktopEntryName(const QString& path);

// Fills a record from the shortcut file at path, as TTab::ReadItem does; a desktop entry (a
// ".desktop" file) gives an item that starts it, named by its Name= (its file name when it has
// none), with its icon. Raises Error when the file cannot be read as either. Safe on any thread.
TItemData ReadItemRecord(const QString& path, const QString& fileName = QString());

// The shortcut files of folder read in the order of its order file, as TTab::LoadItems reads
// them. Safe on any thread: icons are only resolved, not made.
ItemRecords ReadItemRecords(const QString& folder);
// The same for a listing made before: a listed shortcut that is gone by the time it is read is
// left out. Past kMaxTabItems names the rest is left out, and the error names the tab.
ItemRecords ReadListedItemRecords(const QString& folder, const QList<OrderedName>& names);

// The model of one tab: its folder, its items in display order, and the state the tab window
// keeps in it (opening extent, highlighted item, drop position, scrolling).
class TTab {
public:
    QString TabFolder;
    QString TabName;
    qint32 OpenExtent = 0;
    // The length of the items part as the open tab shows it: the rows shown x the item height.
    qint32 ItemsLength = 0;
    QList<TItem> Items;
    // A tab with more items than fit on its screen shows RowLimit of them, from FirstShown on.
    qint32 RowLimit = std::numeric_limits<qint32>::max();
    qint32 FirstShown = 0;
    qint32 HotIndex = -1;
    qint32 DropIndex = -1;
    const TSkin* Skin = nullptr; // borrowed
    qint32 TabIndex = 0;
    qint32 TabCount = 0;

    // Rebuilds Items from the shortcut files of TabFolder, in the order of its order file. Every
    // shortcut that can be read becomes an item; then one Error names, a line each, the shortcuts
    // that could not be read (or whose file names hold a malformed escape or are not valid UTF-8).
    // Icons are made when they are drawn (ReadIcons).
    void LoadItems();
    // LoadItems for a listing made before: a listed shortcut that is gone by the time it is read
    // is left out.
    void LoadListedItems(const QList<OrderedName>& names);
    // Puts items read elsewhere (on a worker thread) into Items, then raises their Error.
    void TakeRecords(const ItemRecords& read);

    // Makes the icon of every item shown for drawing at a device pixel ratio, unless it was made
    // for that ratio already; the icons of items scrolled out of view are given back. Icons are
    // what a tab's items cost most, so they are made only for a tab whose items are drawn, and
    // given back with FreeIcons. Icons given as they are stay. Looks names up in the icon theme:
    // for the GUI thread only.
    void ReadIcons(qreal ratio);
    void FreeIcons();

    // Fills record from the shortcut file at path: every field is set, so nothing of an earlier
    // record remains. fileName is the name the caption is made from (the order file's spelling of
    // the file name); empty means the file name of path. An item whose file is named after its
    // target desktop entry's file ("org.example.Editor") shows the entry's Name= in the user's
    // language instead. Safe to call from any thread.
    void ReadItem(const QString& path, TItemData& record, const QString& fileName = QString());

    // Appends an item for record with its icon (for ratio 1). Icon theme names are looked up, so
    // only the GUI thread may call it; ResolveItemIcon alone is safe anywhere.
    void AddItem(const TItemData& record);

    // The highest index whose LinkFile equals path without regard to the case of A to Z; -1 if none.
    int FindItem(const QString& path) const;

    // Moves the item at from to the insertion position to (counted before the move, 0..count).
    // Indexes out of range do nothing.
    void MoveItem(int from, int to);

    // Launches the item at index, or runs the screen-resolution macro it stands for. An index out
    // of range does nothing. A launch that fails gives failed one line naming the item and the
    // reason, at once or, for a failure that shows later, from the event loop. Macro arguments
    // that are not numbers raise the conversion error.
    void ExecuteItem(int index, const std::function<void(const UserText&)>& failed = {}) const;

    // The number of items shown: all of them, or RowLimit when there are more.
    qint32 ShownCount() const;
    // Scrolls so that first is the first item shown (kept between 0 and the last full page);
    // true when that changed what is shown.
    bool ScrollTo(qint32 first);

    // ItemsLength := items shown x the skin's item height (0 without a skin); FirstShown is kept
    // within the items.
    void UpdateLength();
};
