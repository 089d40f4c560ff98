#pragma once

#include <QObject>
#include <QString>
#include <QStringList>

#include "platform/instance_request.h"
#include "platform/line_socket.h"

// One Kelvara per data folder. The instance that runs holds a lock on a file in the runtime folder
// ($XDG_RUNTIME_DIR) named after its data folder, and takes requests from later starts on a local
// socket beside it and on the session bus. The lock is a kernel file lock: it goes with the process,
// however that ends, so no stale lock can keep a later start out.

// The key of a data folder: 16 hexadecimal digits of a hash of its path.
QString InstanceKey(const QString& dataFolder);
// The folder that holds the lock and the socket: $XDG_RUNTIME_DIR, or a private folder of the
// user's under the temporary folder; empty when neither can be had.
QString InstanceRuntimeDir();
// The bus name that only the instance of this data folder takes. The first instance on a bus also
// takes the application's ID, org.kelvara.Kelvara, under which the desktop knows it.
QString InstanceBusName(const QString& key);
inline constexpr const char* ApplicationBusName = "org.kelvara.Kelvara";
inline constexpr const char* ApplicationObjectPath = "/org/kelvara/Kelvara";

// The lock of one data folder, held from its construction on when it could be taken.
class InstanceLock {
public:
    explicit InstanceLock(const QString& key);
    ~InstanceLock();
    InstanceLock(const InstanceLock&) = delete;
    InstanceLock& operator=(const InstanceLock&) = delete;

    // Tries to take the lock again (another start held it until now); true when held.
    bool TryTake();
    bool Held() const { return m_fd >= 0 && m_held; }
    // Writes the data folder into the lock file, for OtherInstanceFolders.
    void Describe(const QString& dataFolder);
    // False when the lock file could not be opened (a runtime folder that cannot be written).
    bool Usable() const { return m_fd >= 0; }
    QString ErrorText() const { return m_error; }

private:
    QString m_path;
    QString m_error;
    int m_fd = -1;
    bool m_held = false;
};

// The data folders of the instances that run for other data folders than ownKey's.
QStringList OtherInstanceFolders(const QString& ownKey);

enum class HandOverResult {
    Delivered,  // the running instance took the request
    NoInstance, // no instance runs (any more): lock has been taken
    NoAnswer,   // an instance holds the lock but did not take the request in time
};

// Hands request to the instance that holds the lock of key: over the session bus when there is one
// and the instance is on it, else over the local socket. When the instance ends meanwhile, lock is
// taken instead. Needs an application object, not a display.
HandOverResult HandOver(InstanceLock& lock, const QString& key, const InstanceRequest& request);

// What the running instance listens on. The socket listens from construction on; the bus name is
// taken by ListenOnBus, later, so that no call to the bus holds up the first window.
class InstanceServer : public QObject {
    Q_OBJECT
public:
    explicit InstanceServer(const QString& key, QObject* parent = nullptr);

    // False when the socket could not be made; the message says why.
    bool Listening() const { return m_server.Listening(); }
    QString ErrorText() const { return m_server.ErrorText(); }
    // Registers the instance on the session bus, if there is one: its object at
    // /org/kelvara/Kelvara and the bus names. False without a bus.
    bool ListenOnBus();
    // Stops taking requests: an instance that is ending leaves later starts to start anew.
    void Close();

Q_SIGNALS:
    // A later start asked for this; it has been told that it was taken.
    void requested(const InstanceRequest& request);

private:
    QString m_key;
    LineServer m_server;
    bool m_onBus = false;
};
