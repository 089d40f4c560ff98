#include "platform/single_instance.h"

#include <algorithm>
#include <cerrno>
#include <cstring>

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <QCryptographicHash>
#include <QDBusConnection>
#include <QDBusConnectionInterface>
#include <QDBusMessage>
#include <QDBusPendingCall>
#include <QDeadlineTimer>
#include <QDir>
#include <QFileInfo>
#include <QThread>

#include "platform/application_bus.h"

namespace {

// A later start waits this long at most for the running instance to take its request. The
// instance takes it from its event loop, which a busy start-up or a loaded machine may hold up.
constexpr int HandOverMs = 10000;
// The longest request line taken from the socket.
constexpr qsizetype MaxRequestBytes = 64 * 1024;

QString SocketPath(const QString& key) {
    return InstanceRuntimeDir() + QStringLiteral("/kelvara-") + key + QStringLiteral(".socket");
}

QVariantMap PlatformData(const InstanceRequest& request) {
    QVariantMap data;
    const QString startupId = qEnvironmentVariable("DESKTOP_STARTUP_ID");
    if (!startupId.isEmpty())
        data.insert(QStringLiteral("desktop-startup-id"), startupId);
    else if (request.timestamp != 0)
        data.insert(QStringLiteral("desktop-startup-id"),
                    QString(QStringLiteral("kelvara_TIME") + QString::number(request.timestamp)));
    return data;
}

bool HandOverOnBus(const QString& key, const InstanceRequest& request, int timeoutMs) {
    // Without an address there is no bus to ask: nothing blocks on connecting.
    if (qEnvironmentVariableIsEmpty("DBUS_SESSION_BUS_ADDRESS"))
        return false;
    QDBusConnection bus = QDBusConnection::sessionBus();
    if (!bus.isConnected() || !bus.interface()->isServiceRegistered(InstanceBusName(key)).value())
        return false;
    const QString path = QString::fromLatin1(ApplicationObjectPath);
    const QString interface = QStringLiteral("org.freedesktop.Application");
    QDBusMessage call;
    if (request.action == InstanceRequest::Action::Activate) {
        call =
            QDBusMessage::createMethodCall(InstanceBusName(key), path, interface, QStringLiteral("Activate"));
        call << PlatformData(request);
    } else {
        call = QDBusMessage::createMethodCall(InstanceBusName(key), path, interface,
                                              QStringLiteral("ActivateAction"));
        QVariantList parameter;
        if (!request.tab.isEmpty())
            parameter.append(QVariant::fromValue(QDBusVariant(request.tab)));
        call << ActionName(request.action) << parameter << PlatformData(request);
    }
    const QDBusMessage reply = bus.call(call, QDBus::Block, timeoutMs);
    return reply.type() == QDBusMessage::ReplyMessage;
}

bool HandOverOnSocket(const QString& key, const InstanceRequest& request, int timeoutMs) {
    return AskLine(SocketPath(key), EncodeRequest(request), timeoutMs) == QByteArrayLiteral("ok\n");
}

} // namespace

QString InstanceKey(const QString& dataFolder) {
    const QString path = QDir::cleanPath(QFileInfo(dataFolder).absoluteFilePath());
    return QString::fromLatin1(
        QCryptographicHash::hash(path.toUtf8(), QCryptographicHash::Sha256).toHex().left(16));
}

QString InstanceRuntimeDir() {
    const QString runtime = qEnvironmentVariable("XDG_RUNTIME_DIR");
    if (!runtime.isEmpty() && QDir::isAbsolutePath(runtime) && QFileInfo(runtime).isDir())
        return runtime;
    // A private folder of the user's under the temporary folder, as Qt's own stand-in, made
    // without its warning. One that is not the user's own, or open to others, is not used: the
    // lock and the socket in it would be someone else's to take.
    const uid_t uid = ::geteuid();
    const QString fallback = QDir::tempPath() + QStringLiteral("/kelvara-runtime-") + QString::number(uid);
    const QByteArray path = QFile::encodeName(fallback);
    ::mkdir(path.constData(), 0700);
    struct stat info {};
    if (::lstat(path.constData(), &info) != 0 || !S_ISDIR(info.st_mode) || info.st_uid != uid ||
        (info.st_mode & 077) != 0)
        return QString();
    return fallback;
}

QString InstanceBusName(const QString& key) {
    return QString::fromLatin1(ApplicationBusName) + QStringLiteral(".Folder.K") + key;
}

InstanceLock::InstanceLock(const QString& key) {
    const QString runtime = InstanceRuntimeDir();
    if (runtime.isEmpty()) {
        m_error = QStringLiteral("No private runtime folder: XDG_RUNTIME_DIR is not set");
        return;
    }
    m_path = runtime + QStringLiteral("/kelvara-") + key + QStringLiteral(".lock");
    // Close-on-exec: a program launched from a tab must not keep the lock after Kelvara ends.
    m_fd = ::open(QFile::encodeName(m_path).constData(), O_RDWR | O_CREAT | O_CLOEXEC, 0600);
    if (m_fd < 0)
        m_error =
            QStringLiteral("Unable to open %1: %2").arg(m_path, QString::fromLocal8Bit(std::strerror(errno)));
    TryTake();
}

InstanceLock::~InstanceLock() {
    if (m_fd >= 0)
        ::close(m_fd);
}

bool InstanceLock::TryTake() {
    if (m_fd < 0)
        return false;
    if (!m_held) {
        int result;
        do
            result = ::flock(m_fd, LOCK_EX | LOCK_NB);
        while (result != 0 && errno == EINTR);
        m_held = result == 0;
    }
    return m_held;
}

void InstanceLock::Describe(const QString& dataFolder) {
    if (!Held())
        return;
    const QByteArray text = QFile::encodeName(dataFolder);
    if (::ftruncate(m_fd, 0) == 0 && ::pwrite(m_fd, text.constData(), size_t(text.size()), 0) < 0)
        return; // only a description: the lock holds without it
}

QStringList OtherInstanceFolders(const QString& ownKey) {
    QStringList folders;
    const QDir runtime(InstanceRuntimeDir());
    for (const QString& name : runtime.entryList({QStringLiteral("kelvara-*.lock")}, QDir::Files)) {
        if (name == QStringLiteral("kelvara-") + ownKey + QStringLiteral(".lock"))
            continue;
        const int fd = ::open(QFile::encodeName(runtime.filePath(name)).constData(), O_RDONLY | O_CLOEXEC);
        if (fd < 0)
            continue;
        // A lock that can be shared is held by no one.
        if (::flock(fd, LOCK_SH | LOCK_NB) != 0) {
            char buffer[4096];
            const ssize_t n = ::pread(fd, buffer, sizeof buffer, 0);
            folders.append(n > 0 ? QFile::decodeName(QByteArray(buffer, int(n))) : QString());
        }
        ::close(fd);
    }
    return folders;
}

HandOverResult HandOver(InstanceLock& lock, const QString& key, const InstanceRequest& request) {
    const QDeadlineTimer deadline(HandOverMs);
    // The instance may be starting: it listens on the socket right after taking the lock, and
    // on the bus once its tabs are shown. Until then a connection is refused; try again.
    while (!deadline.hasExpired()) {
        const int left = int(std::max<qint64>(1, deadline.remainingTime()));
        if (HandOverOnBus(key, request, left) || HandOverOnSocket(key, request, std::min(left, 1000)))
            return HandOverResult::Delivered;
        if (lock.TryTake())
            return HandOverResult::NoInstance;
        QThread::msleep(20);
    }
    return HandOverResult::NoAnswer;
}

InstanceServer::InstanceServer(const QString& key, QObject* parent)
    : QObject(parent), m_key(key), m_server(MaxRequestBytes, [](const QByteArray& line) {
          InstanceRequest request;
          return DecodeRequest(line, &request);
      }) {
    // Only the holder of the lock gets here: a socket file left by an instance that was killed
    // is its own to replace. The runtime folder is the user's alone (mode 700), so the socket
    // needs no access rights of its own.
    m_server.Listen(SocketPath(key));
    connect(&m_server, &LineServer::taken, this, [this](const QByteArray& line) {
        InstanceRequest request;
        if (DecodeRequest(line, &request))
            Q_EMIT requested(request);
    });
}

bool InstanceServer::ListenOnBus() {
    if (!m_server.Listening() || qEnvironmentVariableIsEmpty("DBUS_SESSION_BUS_ADDRESS"))
        return false;
    QDBusConnection bus = QDBusConnection::sessionBus();
    if (!bus.isConnected())
        return false;
    auto* adaptor = new ApplicationBus(this);
    connect(adaptor, &ApplicationBus::requested, this, &InstanceServer::requested);
    bus.registerObject(QString::fromLatin1(ApplicationObjectPath), adaptor, QDBusConnection::ExportAllSlots);
    // The name of this data folder, and the application's ID when no other instance has it.
    // Asked without waiting for the answers.
    for (const QString& name : {InstanceBusName(m_key), QString::fromLatin1(ApplicationBusName)})
        bus.interface()->asyncCall(QStringLiteral("RequestName"), name, 4u /* DBUS_NAME_FLAG_DO_NOT_QUEUE */);
    m_onBus = true;
    return true;
}

void InstanceServer::Close() {
    m_server.Close();
    if (!m_onBus)
        return;
    QDBusConnection bus = QDBusConnection::sessionBus();
    bus.unregisterObject(QString::fromLatin1(ApplicationObjectPath));
    for (const QString& name : {InstanceBusName(m_key), QString::fromLatin1(ApplicationBusName)})
        bus.interface()->asyncCall(QStringLiteral("ReleaseName"), name);
    m_onBus = false;
}
