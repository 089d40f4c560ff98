#include "platform/line_socket.h"

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <memory>
#include <utility>
#include <vector>

#include <fcntl.h>
#include <poll.h>
#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

#include <QDeadlineTimer>
#include <QFile>
#include <QSocketNotifier>

namespace {

// The longest answer read: "ok\n" or "error\n" and room to spare.
constexpr qsizetype MaxAnswerBytes = 64;

QString SystemError() {
    return QString::fromLocal8Bit(std::strerror(errno));
}

// The address of a socket file, or false when the path does not fit into one.
bool SocketAddress(const QString& path, sockaddr_un* address) {
    const QByteArray name = QFile::encodeName(path);
    *address = {};
    address->sun_family = AF_UNIX;
    if (name.isEmpty() || size_t(name.size()) >= sizeof address->sun_path)
        return false;
    std::memcpy(address->sun_path, name.constData(), size_t(name.size()));
    return true;
}

// Waits until fd is ready for events or the deadline passes.
bool WaitFor(int fd, short events, const QDeadlineTimer& deadline) {
    for (;;) {
        pollfd p{fd, events, 0};
        const int result = ::poll(&p, 1, int(std::max<qint64>(0, deadline.remainingTime())));
        if (result > 0)
            return true;
        if (result == 0 || errno != EINTR)
            return false;
    }
}

} // namespace

struct LineServer::Connection {
    int fd;
    QByteArray received;
    std::unique_ptr<QSocketNotifier> notifier;
};

LineServer::LineServer(qsizetype maxLineBytes, std::function<bool(const QByteArray&)> accepts,
                       QObject* parent)
    : QObject(parent), m_maxLineBytes(maxLineBytes), m_accepts(std::move(accepts)) {}

LineServer::~LineServer() {
    Close();
}

bool LineServer::Listen(const QString& path) {
    Close();
    sockaddr_un address;
    if (!SocketAddress(path, &address)) {
        m_error = QStringLiteral("The socket name %1 is too long").arg(path);
        return false;
    }
    ::unlink(address.sun_path);
    const int fd = ::socket(AF_UNIX, SOCK_STREAM | SOCK_NONBLOCK | SOCK_CLOEXEC, 0);
    if (fd < 0 || ::bind(fd, reinterpret_cast<const sockaddr*>(&address), sizeof address) != 0 ||
        ::listen(fd, 16) != 0) {
        m_error = QStringLiteral("Unable to listen on %1: %2").arg(path, SystemError());
        if (fd >= 0)
            ::close(fd);
        return false;
    }
    m_fd = fd;
    m_error.clear();
    m_listener = new QSocketNotifier(qintptr(fd), QSocketNotifier::Read, this);
    connect(m_listener, &QSocketNotifier::activated, this, &LineServer::Accept);
    return true;
}

void LineServer::Close() {
    while (!m_connections.empty())
        Drop(m_connections.back()->fd);
    delete std::exchange(m_listener, nullptr);
    if (m_fd >= 0)
        ::close(m_fd);
    m_fd = -1;
}

void LineServer::Accept() {
    for (;;) {
        const int fd = ::accept4(m_fd, nullptr, nullptr, SOCK_NONBLOCK | SOCK_CLOEXEC);
        if (fd < 0)
            return; // nothing more waiting (or the asking side gave up meanwhile)
        auto connection = std::make_unique<Connection>();
        connection->fd = fd;
        connection->notifier = std::make_unique<QSocketNotifier>(qintptr(fd), QSocketNotifier::Read);
        connect(connection->notifier.get(), &QSocketNotifier::activated, this, [this, fd] { Read(fd); });
        m_connections.push_back(std::move(connection));
    }
}

void LineServer::Read(int fd) {
    const auto found =
        std::find_if(m_connections.begin(), m_connections.end(), [fd](const auto& c) { return c->fd == fd; });
    if (found == m_connections.end())
        return;
    Connection& connection = **found;
    char buffer[4096];
    const ssize_t n = ::recv(fd, buffer, sizeof buffer, 0);
    if (n < 0 && (errno == EAGAIN || errno == EINTR))
        return;
    if (n <= 0) {
        Drop(fd); // closed before a whole line came
        return;
    }
    connection.received.append(buffer, qsizetype(n));
    const qsizetype end = connection.received.indexOf('\n');
    if (end < 0) {
        if (connection.received.size() > m_maxLineBytes)
            Drop(fd);
        return;
    }
    const QByteArray line = connection.received.left(end + 1);
    const bool accepted = line.size() <= m_maxLineBytes && m_accepts(line);
    const QByteArray answer = accepted ? QByteArrayLiteral("ok\n") : QByteArrayLiteral("error\n");
    // A few bytes into an empty socket buffer: they go at once or the other side has gone.
    (void)::send(fd, answer.constData(), size_t(answer.size()), MSG_NOSIGNAL | MSG_DONTWAIT);
    Drop(fd);
    if (accepted)
        Q_EMIT taken(line);
}

void LineServer::Drop(int fd) {
    const auto found =
        std::find_if(m_connections.begin(), m_connections.end(), [fd](const auto& c) { return c->fd == fd; });
    if (found == m_connections.end())
        return;
    // The notifier goes before its descriptor is closed and its number used again. Dropped from
    // its own signal, it is deleted once that signal has returned.
    (*found)->notifier->setEnabled(false);
    (*found)->notifier.release()->deleteLater();
    ::close(fd);
    m_connections.erase(found);
}

std::optional<QByteArray> AskLine(const QString& path, const QByteArray& line, int timeoutMs) {
    sockaddr_un address;
    if (!SocketAddress(path, &address))
        return std::nullopt;
    const QDeadlineTimer deadline(timeoutMs);
    const int fd = ::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0);
    if (fd < 0)
        return std::nullopt;
    struct Closer {
        int fd;
        ~Closer() { ::close(fd); }
    } closer{fd};
    if (::connect(fd, reinterpret_cast<const sockaddr*>(&address), sizeof address) != 0)
        return std::nullopt;
    for (qsizetype sent = 0; sent < line.size();) {
        if (!WaitFor(fd, POLLOUT, deadline))
            return std::nullopt;
        const ssize_t n = ::send(fd, line.constData() + sent, size_t(line.size() - sent), MSG_NOSIGNAL);
        if (n < 0 && errno != EINTR && errno != EAGAIN)
            return std::nullopt;
        sent += std::max<ssize_t>(0, n);
    }
    QByteArray answer;
    while (!answer.contains('\n') && answer.size() <= MaxAnswerBytes) {
        if (!WaitFor(fd, POLLIN, deadline))
            return std::nullopt;
        char buffer[MaxAnswerBytes];
        const ssize_t n = ::recv(fd, buffer, sizeof buffer, 0);
        if (n == 0 || (n < 0 && errno != EINTR && errno != EAGAIN))
            return std::nullopt;
        answer.append(buffer, qsizetype(std::max<ssize_t>(0, n)));
    }
    if (!answer.contains('\n'))
        return std::nullopt;
    return answer;
}
