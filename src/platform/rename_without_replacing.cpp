#include "platform/rename_without_replacing.h"

#include <cerrno>
#include <cstdio>
#include <fcntl.h>
#include <sys/stat.h>

#include <QFile>

namespace {

RenameFault& Fault() {
    static RenameFault fault;
    return fault;
}

} // namespace

void SetRenameFault(RenameFault fault) {
    Fault() = std::move(fault);
}

bool RenameWithoutReplacing(const QString& from, const QString& to) {
    if (Fault() && Fault()(from, to)) {
        errno = EIO;
        return false;
    }
    const QByteArray source = QFile::encodeName(from);
    const QByteArray target = QFile::encodeName(to);
    if (renameat2(AT_FDCWD, source.constData(), AT_FDCWD, target.constData(), RENAME_NOREPLACE) == 0)
        return true;
    if (errno != EINVAL && errno != ENOSYS)
        return false;
    struct stat existing {};
    if (lstat(target.constData(), &existing) == 0 || errno != ENOENT)
        return false;
    return std::rename(source.constData(), target.constData()) == 0;
}
