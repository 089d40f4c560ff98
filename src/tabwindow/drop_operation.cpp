#include "tabwindow/drop_operation.h"

#include <algorithm>
#include <limits>

#include <QDir>
#include <QFileInfo>

#include "common/error.h"
#include "common/replacing_file.h"
#include "formats/shortcut_link.h"
#include "platform/file_operation.h"
#include "tabs/drop_shortcut.h"
#include "tabs/order_file.h"
#include "tabs/tab.h"
#include "translation/ui_text.h"

namespace {

// What one dropped file became on disk: the outcome for the tab, and the name to put at the
// insertion boundary (empty: nothing to place).
struct Placed {
    DropOutcome outcome = DropOutcome::Nothing;
    QString name;
};

// A folder without an order file gets one listing what is there before a new file comes in: made
// afterwards, it would list the new file too and count it among those before the boundary.
void OrderFileBeforeNewFile(const QString& folder) {
    if (!QFileInfo::exists(folder + QStringLiteral("/order.lst")))
        CreateOrderFile(folder);
}

Placed TransferIn(const TTab& tab, const DropPath& dropped, bool move, const UserQuestion& ask) {
    TAMHFileOp operation;
    operation.Operation = move ? TAMHFileOp::foMove : TAMHFileOp::foCopy;
    // One path, even when it holds a ";": splitting it would name other files.
    operation.FilesFrom = {dropped.path};
    operation.FilesTo = {tab.TabFolder + QLatin1Char('/') + dropped.name};
    operation.AskUser = ask;
    OrderFileBeforeNewFile(tab.TabFolder);
    // A declined replacement or a failed transfer leaves the order file alone, so that an
    // existing item of that name keeps its place and no line names a file that never came.
    if (operation.execute())
        return {DropOutcome::Added, dropped.name};
    return {DropOutcome::Added, {}};
}

Placed WriteLink(const TTab& tab, const DropPath& dropped, const UserQuestion& ask) {
    const NewShortcut shortcut = ShortcutForDrop(dropped);
    const QString file = tab.TabFolder + QLatin1Char('/') + shortcut.fileName;
    if (QFileInfo::exists(file)) {
        const QString question =
            UiText("Drop.ReplaceQuestion", "This folder already contains a file named '%1'.\n\n"
                                           "Would you like to replace the existing file?")
                .arg(shortcut.fileName);
        if (!ask || !ask(QStringLiteral("Kelvara 2.0"), question))
            return {};
    }
    OrderFileBeforeNewFile(tab.TabFolder);
    TShortcutLink link;
    link.ShortcutFile = file;
    link.Target = shortcut.data.Target;
    link.Arguments = shortcut.data.Arguments;
    link.WorkingDir = shortcut.data.WorkingDir;
    link.Description = shortcut.data.Description;
    link.IconLocation = shortcut.data.IconLocation;
    link.IconNumber = 0;
    link.ShowCmd = scShowNormal;
    link.SetHotKey(QString());
    link.Write();
    return {DropOutcome::Linked, shortcut.fileName};
}

// Carries out one dropped file on disk, all but its line in the order file.
Placed PlaceDropped(const TTab& tab, const DropPath& dropped, DropEffect effect, const UserQuestion& ask) {
    switch (effect) {
    case DropEffect::Move:
    case DropEffect::Copy:
        // A shortcut of the tab itself only moves.
        if (LiesInTabFolder(dropped, tab.TabFolder))
            return {DropOutcome::Reordered, dropped.name};
        return TransferIn(tab, dropped, effect == DropEffect::Move, ask);
    case DropEffect::Link:
        // A desktop entry that is an item of the tab only moves, like its shortcuts.
        if (dropped.type == QLatin1String("desktop") && LiesInTabFolder(dropped, tab.TabFolder))
            return {DropOutcome::Reordered, dropped.name};
        return WriteLink(tab, dropped, ask);
    case DropEffect::None:
        break;
    }
    return {};
}

} // namespace

DropOutcome CarryOutDrop(TTab& tab, const QString& path, DropEffect effect, int dropIndex,
                         const UserQuestion& ask) {
    const DropPath dropped = SplitDropPath(path);
    const Placed placed = PlaceDropped(tab, dropped, effect, ask);
    if (placed.name.isEmpty())
        return placed.outcome;
    SetOrderPosition(tab.TabFolder, placed.name, dropIndex);
    // The items move only once the order is written, so that a failed write shows nothing new.
    if (placed.outcome == DropOutcome::Reordered) {
        const int from = tab.FindItem(dropped.path);
        if (from >= 0)
            tab.MoveItem(from, std::clamp(dropIndex, 0, int(tab.Items.size())));
    }
    return placed.outcome;
}

DropOutcome CarryOutDrops(const TTab& tab, const QStringList& paths, bool ctrlHeld, int dropIndex,
                          const UserQuestion& ask) {
    DropOutcome outcome = DropOutcome::Nothing;
    QStringList names;
    QList<UserText> problems;
    for (const QString& path : paths) {
        const DropPath dropped = SplitDropPath(path);
        try {
            const Placed placed =
                PlaceDropped(tab, dropped, DropEffectForPath(path, ctrlHeld, ReadsAsShortcut), ask);
            if (!placed.name.isEmpty())
                names.append(placed.name);
            // A new shortcut rebuilds the tab set; anything else that happened rereads the tab.
            if (placed.outcome == DropOutcome::Linked)
                outcome = DropOutcome::Linked;
            else if (placed.outcome != DropOutcome::Nothing && outcome != DropOutcome::Linked)
                outcome = DropOutcome::Added;
        } catch (const Error& e) {
            problems.append(WithReason(UserText::plain(QDir::toNativeSeparators(path)), e.text()));
        }
    }
    if (!names.isEmpty()) {
        try {
            SetOrderPositions(tab.TabFolder, names, dropIndex);
        } catch (const Error& e) {
            problems.append(e.text());
        }
    }
    if (!problems.isEmpty())
        throw Error(
            UserText("Drop.NotAllAdded", "Not everything dropped could be added to the tab \"%1\":\n%2")
                .arg(tab.TabName)
                .arg(UserText::lines(problems)));
    return outcome;
}

void AppendDesktopEntries(const QString& tabFolder, const QStringList& desktopFiles, const UserQuestion& ask,
                          const std::function<void(const QString&)>& failed) {
    TTab tab;
    tab.TabFolder = tabFolder;
    for (const QString& desktopFile : desktopFiles) {
        try {
            CarryOutDrop(tab, desktopFile, DropEffect::Link, std::numeric_limits<int>::max(), ask);
        } catch (const Error& e) {
            failed(Worded(e.text()));
        }
    }
}
