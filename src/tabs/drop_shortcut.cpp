#include "tabs/drop_shortcut.h"

#include <QFileInfo>

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
