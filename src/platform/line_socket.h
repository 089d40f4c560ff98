#pragma once

#include <functional>
#include <memory>
#include <optional>
#include <vector>

#include <QByteArray>
#include <QObject>
#include <QString>

class QSocketNotifier;

// One line asked and one line answered over a Unix-domain stream socket: what a later start
// needs to hand its request to the running instance. Qt's local sockets do the same, but they
// live in Qt Network, whose libraries (with the Kerberos and proxy libraries it loads) cost every
// start of the program several milliseconds and more than a megabyte before its first window.

// Listens on a socket file and, on each connection, reads one line of at most maxLineBytes, asks
// accepts about it, answers "ok\n" or "error\n", closes the connection and then, for an accepted
// line, emits taken. The answer goes out first, so that whatever the line leads to (a dialog, say)
// never keeps the asking side waiting.
class LineServer : public QObject {
    Q_OBJECT
public:
    LineServer(qsizetype maxLineBytes, std::function<bool(const QByteArray&)> accepts,
               QObject* parent = nullptr);
    ~LineServer() override;

    // Replaces whatever file is at path (a socket left by a killed process) and listens there.
    bool Listen(const QString& path);
    bool Listening() const { return m_fd >= 0; }
    QString ErrorText() const { return m_error; }
    void Close();

Q_SIGNALS:
    void taken(const QByteArray& line);

private:
    void Accept();
    void Read(int fd);
    void Drop(int fd);

    qsizetype m_maxLineBytes;
    std::function<bool(const QByteArray&)> m_accepts;
    int m_fd = -1;
    QSocketNotifier* m_listener = nullptr;
    QString m_error;
    struct Connection;
    std::vector<std::unique_ptr<Connection>> m_connections;
};

// Connects to the socket at path, sends line (which ends with a newline) and returns the answer
// line with its newline; nothing when no one listens there or no whole answer came in timeoutMs.
std::optional<QByteArray> AskLine(const QString& path, const QByteArray& line, int timeoutMs);
