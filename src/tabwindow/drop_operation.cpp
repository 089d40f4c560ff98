#include "tabwindow/drop_operation.h"

#include <algorithm>
#include <limits>

#include <QFileInfo>

#include "common/error.h"
#include "formats/shortcut_link.h"
#include "platform/file_operation.h"
#include "tabs/drop_shortcut.h"
#include "tabs/order_file.h"
#include "tabs/tab.h"
#include "translation/ui_text.h"

namespace {

DropOutcome Reorder(TTab& tab, const DropPath& dropped, int dropIndex) {
    const int from = tab.FindItem(dropped.path);
    if (from >= 0)
        tab.MoveItem(from, std::clamp(dropIndex, 0, int(tab.Items.size())));
    SetOrderPosition(tab.TabFolder, dropped.name, dropIndex);
    return DropOutcome::Reordered;
}

DropOutcome TransferIn(TTab& tab, const DropPath& dropped, bool move, int dropIndex,
                       const UserQuestion& ask) {
    TAMHFileOp operation;
    operation.Operation = move ? TAMHFileOp::foMove : TAMHFileOp::foCopy;
    // One path, even when it holds a ";": splitting it would name other files.
    operation.FilesFrom = {dropped.path};
    operation.FilesTo = {tab.TabFolder + QLatin1Char('/') + dropped.name};
    operation.AskUser = ask;
    // A declined replacement or a failed transfer leaves the order file alone, so that an
    // existing item of that name keeps its place and no line names a file that never came.
    if (operation.execute())
        SetOrderPosition(tab.TabFolder, dropped.name, dropIndex);
    return DropOutcome::Added;
}

DropOutcome WriteLink(TTab& tab, const DropPath& dropped, int dropIndex, const UserQuestion& ask) {
    const NewShortcut shortcut = ShortcutForDrop(dropped);
    const QString file = tab.TabFolder + QLatin1Char('/') + shortcut.fileName;
    if (QFileInfo::exists(file)) {
        const QString question =
            UiText("Drop.ReplaceQuestion", "This folder already contains a file named '%1'.\n\n"
                                           "Would you like to replace the existing file?")
                .arg(shortcut.fileName);
        if (!ask || !ask(QStringLiteral("Kelvara 2.0"), question))
            return DropOutcome::Nothing;
    }
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
    SetOrderPosition(tab.TabFolder, shortcut.fileName, dropIndex);
    return DropOutcome::Linked;
}

} // namespace

DropOutcome CarryOutDrop(TTab& tab, const QString& path, DropEffect effect, int dropIndex,
                         const UserQuestion& ask) {
    const DropPath dropped = SplitDropPath(path);
    switch (effect) {
    case DropEffect::Move:
    case DropEffect::Copy:
        if (LiesInTabFolder(dropped, tab.TabFolder))
            return Reorder(tab, dropped, dropIndex);
        return TransferIn(tab, dropped, effect == DropEffect::Move, dropIndex, ask);
    case DropEffect::Link:
        return WriteLink(tab, dropped, dropIndex, ask);
    case DropEffect::None:
        break;
    }
    return DropOutcome::Nothing;
}

void AppendDesktopEntries(const QString& tabFolder, const QStringList& desktopFiles, const UserQuestion& ask,
                          const std::function<void(const QString&)>& failed) {
    TTab tab;
    tab.TabFolder = tabFolder;
    for (const QString& desktopFile : desktopFiles) {
        try {
            CarryOutDrop(tab, desktopFile, DropEffect::Link, std::numeric_limits<int>::max(), ask);
        } catch (const Error& e) {
            failed(e.message());
        }
    }
}
