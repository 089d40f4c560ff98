#pragma once

#include <QString>

#include "platform/user_question.h"

// Moves a file or folder (with its contents) to the desktop's trash, from where the user can
// restore it, after asking the user as the file manager would. Returns true only when the entry
// is in the trash: false when it does not exist, the user declines or the move fails.
bool DeleteToRecycleBin(const QString& path, const UserQuestion& ask = AskYesNo);
