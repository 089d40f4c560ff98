#pragma once

#include "tabs/tab.h"

// Starts what an item's shortcut points at, as the desktop's shell would: an executable file, or
// the program of a ".desktop" file, is started detached with the item's arguments (split as a
// shell would) in the item's working folder (the target's folder when none is given); a program
// name without a folder is looked up on the PATH; documents, folders and web addresses are opened
// with their default application. A target that is empty or names nothing does nothing. Returns
// whether something was started.
bool LaunchItem(const TItemData& item);
