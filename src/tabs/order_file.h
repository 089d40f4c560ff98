#pragma once

#include <QList>
#include <QString>
#include <QStringList>

// The order of tabs and of items is kept in a folder's "order.lst": one name a line. Names are
// matched without regard to the case of the letters A to Z; entries not listed come after the
// listed ones.

// One name of an ordered listing: as the order file writes it (shown to the user), and the
// directory entry's own name (used to open it; differs only in letter case).
struct OrderedName {
    QString name;
    QString entryName;
    friend bool operator==(const OrderedName&, const OrderedName&) = default;
};

// The names of folder's entries that match the masks (split at ";"), hidden entries included,
// mask by mask: an entry that matches two masks is listed twice. Files are listed when files is
// true, folders when folders is true. Names come sorted without regard to letter case, as the
// Windows file system lists a folder, so that entries no order file names come alphabetically.
QStringList ListEntries(const QString& folder, const QString& masks, bool files, bool folders);

// Rewrites folder's order file without the lines that name no existing file or folder. Nothing
// happens when there is no order file or no line is stale. A folder that cannot be written keeps
// its file, and so does an order file that is a symbolic link or was read only in part.
void CleanOrderFile(const QString& folder);

// ListEntries in the stored order: first the names of the order file that match an entry (a name
// listed twice comes twice, both times for the same entry, up to a few thousand repeats in all),
// then the entries no line named, in ListEntries' order.
QList<OrderedName> OrderedListing(const QString& folder, const QString& masks, bool files, bool folders);

// Writes a new order file listing every file and folder of folder in ListEntries' order.
void CreateOrderFile(const QString& folder);

// Moves name to the insertion point position among the lines of folder's order file (made first
// when missing). A position below 0 counts as 0; one at or past the end appends. Raises Error when
// the order file cannot be written: also when it is a symbolic link, and when it was read only in
// part (larger than an order file can be), which is then left as it is.
void SetOrderPosition(const QString& folder, const QString& name, int position);

// The same for several names at once, with one write: they come at the insertion point in the
// order given (a name given twice counts at its last place).
void SetOrderPositions(const QString& folder, const QStringList& names, int position);
