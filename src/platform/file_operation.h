#pragma once

#include <QString>
#include <QStringList>

#include "platform/user_question.h"

// Copies, moves, renames or deletes files and folders as the desktop's file manager does. Copy and
// move onto an existing name ask the user before replacing it (a folder onto a folder merges the
// two); delete moves entries to the trash after asking. A copy that fails part way leaves no partial target
// behind and the source as it was.
class TAMHFileOp {
public:
    enum TOperation { foCopy, foDelete, foMove, foRename };

    TOperation Operation = foCopy;
    // Source and destination paths. Use SplitFileList for a list in one text separated by ";";
    // assign a one-element list for a path that itself contains ";".
    QStringList FilesFrom;
    // Copy and move: one destination for every source (the new path, or an existing folder to put
    // the source in), or a single folder for all sources. Rename: one new path per source.
    QStringList FilesTo;
    // Asks before replacing or deleting.
    UserQuestion AskUser = AskYesNo;

    // Every ";" separates two paths; empty parts are dropped.
    static QStringList SplitFileList(const QString& list);

    // Carries out the operation on every source. True only when every part succeeded: a source
    // that is missing, a replacement or deletion the user declined, or a failed copy gives false.
    bool execute();

private:
    // destination may be an existing folder to put the source in; place takes the exact new path.
    bool transfer(const QString& source, const QString& destination, bool move);
    bool place(const QString& source, const QString& to, bool move);
    bool merge(const QString& source, const QString& to, bool move);
    bool rename(const QString& source, const QString& destination);
};
