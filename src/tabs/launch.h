#pragma once

#include "tabs/desktop_opener.h"
#include "tabs/tab.h"

// Starts what an item's shortcut points at, as the desktop would:
// - a ".desktop" file through GIO (see LaunchDesktopApp): the item's arguments are the files it
//   is given; it starts in the entry's Path=, else the item's working folder, else the home folder;
// - an executable file is started detached with the item's arguments (split as a shell would) in
//   the item's working folder (the target's folder when none is given); a program name without a
//   folder is looked up on the PATH;
// - documents, folders and web addresses are opened with their default application.
// Returns an empty text when something was started, else the reason nothing was; a failure that
// shows only later (no application for a document) reaches lateFailure.
UserText LaunchItem(const TItemData& item, const LateFailure& lateFailure = {});
