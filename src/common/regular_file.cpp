#include "common/regular_file.h"

#include <algorithm>
#include <cerrno>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <QFile>

bool IsRegularFile(const QString& path) {
    struct stat info {};
    return !path.isEmpty() && stat(QFile::encodeName(path).constData(), &info) == 0 && S_ISREG(info.st_mode);
}

std::optional<QByteArray> ReadRegularFile(const QString& path, qint64 maxBytes) {
    if (!IsRegularFile(path))
        return std::nullopt;
    const int fd = ::open(QFile::encodeName(path).constData(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0)
        return std::nullopt;
    struct stat info {};
    if (fstat(fd, &info) != 0 || !S_ISREG(info.st_mode)) {
        ::close(fd);
        return std::nullopt;
    }
    // The size is a hint: the file may grow or shrink while it is read.
    QByteArray bytes;
    bytes.resize(qsizetype(std::min<qint64>(std::max<qint64>(info.st_size, 0), maxBytes)));
    qint64 done = 0;
    bool ok = true;
    while (done < maxBytes) {
        if (done == bytes.size())
            bytes.resize(qsizetype(std::min<qint64>(maxBytes, std::max<qint64>(2 * done, 4096))));
        const ssize_t n = ::read(fd, bytes.data() + done, size_t(bytes.size() - done));
        if (n < 0 && errno == EINTR)
            continue;
        if (n < 0)
            ok = false;
        if (n <= 0)
            break;
        done += n;
    }
    ::close(fd);
    if (!ok)
        return std::nullopt;
    bytes.truncate(qsizetype(done));
    return bytes;
}
