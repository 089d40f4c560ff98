#include "tabs/drop_shortcut.h"

#include <QFileInfo>

#include "common/names.h"
#include "tabs/desktop_file.h"

namespace {

bool IsProgram(const DropPath& dropped, const QFileInfo& info) {
    if (dropped.type == QLatin1String("exe") || dropped.type == QLatin1String("bat") ||
        dropped.type == QLatin1String("cmd"))
        return true;
    return info.isFile() && info.isExecutable();
}

} // namespace

NewShortcut ShortcutForDrop(const DropPath& dropped, const XdgSearchPaths& paths) {
    NewShortcut shortcut;
    shortcut.fileName = LinkFileName(dropped.name);
    TItemData& data = shortcut.data;
    data.Description = LinkDescription(dropped.name);
    data.WorkingDir = dropped.directory;
    data.ShowCmd = 1;
    data.Target = dropped.path;

    const QFileInfo info(dropped.path);
    if (info.isDir() || IsProgram(dropped, info))
        return shortcut;
    if (dropped.type == QLatin1String("desktop")) {
        // Named as the desktop names the application; it starts in the entry's own Path= folder,
        // or the home folder, never in the folder the entry happened to lie in.
        if (const std::optional<DesktopFileInfo> entry = ReadDesktopFile(dropped.path);
            entry && !entry->name.isEmpty())
            shortcut.fileName = EscapeName(entry->name) + QStringLiteral(".lnk");
        data.WorkingDir.clear();
        data.IconLocation = dropped.path;
        return shortcut;
    }
    if (const std::optional<RegisteredCommand> registered = CommandForType(dropped.path, paths)) {
        data.Target = registered->command.target;
        data.Arguments = registered->command.arguments;
        data.IconLocation = registered->desktopFile;
    }
    return shortcut;
}
