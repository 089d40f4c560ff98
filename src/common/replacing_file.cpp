#include "common/replacing_file.h"

#include <cerrno>
#include <cstring>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <QFile>
#include <QRandomGenerator>

namespace {

bool IsSymLink(const QByteArray& path, struct stat* st = nullptr) {
    struct stat info {};
    if (lstat(path.constData(), &info) != 0)
        return false;
    if (st)
        *st = info;
    return S_ISLNK(info.st_mode);
}

// From the system's generator: a process forked from another must not try the same names.
QString RandomSuffix() {
    static const char kLetters[] = "abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789";
    QString suffix;
    for (int i = 0; i < 6; ++i)
        suffix += QLatin1Char(kLetters[QRandomGenerator::system()->bounded(int(sizeof kLetters - 1))]);
    return suffix;
}

} // namespace

ReplacingFile::ReplacingFile(QString path, QString temporaryTag)
    : m_path(std::move(path)), m_temporaryTag(std::move(temporaryTag)) {}

ReplacingFile::~ReplacingFile() {
    discard();
}

bool ReplacingFile::open(OpenMode mode) {
    if (isOpen() || (mode & ~(WriteOnly | Unbuffered | Truncate)) != 0 || !(mode & WriteOnly)) {
        setErrorString(QStringLiteral("Unsupported open mode"));
        return false;
    }
    m_failed = false;
    m_refusedLink = false;
    const QByteArray target = QFile::encodeName(m_path);
    struct stat existing {};
    if (IsSymLink(target, &existing))
        return failLink();
    const bool replacesFile = existing.st_mode != 0 && S_ISREG(existing.st_mode);
    // A new file gets the usual permissions less the umask; a replaced one keeps its own, and the
    // temporary file is private until it has them.
    for (int attempt = 0; attempt < 100 && m_fd < 0; ++attempt) {
        m_temporary = m_path + QLatin1Char('.') + RandomSuffix() + m_temporaryTag;
        m_fd = ::open(QFile::encodeName(m_temporary).constData(),
                      O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC | O_NOFOLLOW, replacesFile ? 0600 : 0666);
        if (m_fd < 0 && errno != EEXIST)
            break;
    }
    if (m_fd < 0) {
        setErrorString(QString::fromLocal8Bit(strerror(errno)));
        m_temporary.clear();
        return false;
    }
    if (replacesFile)
        fchmod(m_fd, existing.st_mode & 07777);
    return QIODevice::open(WriteOnly | Unbuffered);
}

qint64 ReplacingFile::readData(char*, qint64) {
    return -1;
}

qint64 ReplacingFile::writeData(const char* data, qint64 size) {
    qint64 done = 0;
    while (done < size && !m_failed) {
        const ssize_t n = ::write(m_fd, data + done, size_t(size - done));
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0) {
            setErrorString(QString::fromLocal8Bit(strerror(n < 0 ? errno : ENOSPC)));
            m_failed = true;
            break;
        }
        done += n;
    }
    return m_failed ? -1 : done;
}

bool ReplacingFile::commit() {
    if (m_fd < 0)
        return false;
    const bool written = !m_failed && fsync(m_fd) == 0;
    const int closed = ::close(m_fd);
    m_fd = -1;
    QIODevice::close();
    if (!written || closed != 0) {
        discard();
        return false;
    }
    const QByteArray target = QFile::encodeName(m_path);
    // A link put in its place since open() is not written through either. Should one appear
    // between this check and the rename, the rename replaces the link itself, never its target.
    if (IsSymLink(target)) {
        discard();
        return failLink();
    }
    if (::rename(QFile::encodeName(m_temporary).constData(), target.constData()) != 0) {
        setErrorString(QString::fromLocal8Bit(strerror(errno)));
        discard();
        return false;
    }
    m_temporary.clear();
    return true;
}

void ReplacingFile::cancelWriting() {
    m_failed = true;
}

void ReplacingFile::discard() {
    if (m_fd >= 0) {
        ::close(m_fd);
        m_fd = -1;
    }
    if (!m_temporary.isEmpty()) {
        ::unlink(QFile::encodeName(m_temporary).constData());
        m_temporary.clear();
    }
    if (isOpen())
        QIODevice::close();
}

bool ReplacingFile::failLink() {
    m_refusedLink = true;
    setErrorString(LinkRefusal().english());
    return false;
}

bool ReplaceFileContents(const QString& path, QByteArrayView bytes, bool* refusedLink, QString* reason) {
    ReplacingFile file(path);
    const bool written = file.open(QIODevice::WriteOnly) &&
                         file.write(bytes.data(), bytes.size()) == bytes.size() && file.commit();
    if (refusedLink)
        *refusedLink = file.refusedLink();
    if (!written && reason)
        *reason = file.errorString();
    return written;
}

UserText WriteFailureMessage(const UserText& message, bool refusedLink) {
    return refusedLink ? WithReason(message, LinkRefusal()) : message;
}

UserText UnableToWrite(const QString& path) {
    return UserText("File.UnableToWrite", "Unable to write to %1").arg(path);
}

UserText LinkRefusal() {
    return UserText("File.IsLink", "it is a symbolic link, and Kelvara does not write through links");
}

UserText WithReason(const UserText& message, const UserText& reason) {
    return UserText("Failure.WithReason", "%1: %2").arg(message).arg(reason);
}
