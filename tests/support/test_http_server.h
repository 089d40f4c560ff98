#pragma once

#include <functional>
#include <map>
#include <memory>
#include <utility>
#include <vector>

#include <QByteArray>
#include <QFile>
#include <QHostAddress>
#include <QList>
#include <QPointer>
#include <QSslCertificate>
#include <QSslConfiguration>
#include <QSslKey>
#include <QSslServer>
#include <QString>
#include <QTcpServer>
#include <QTcpSocket>
#include <QTimer>

// A tiny HTTP server on 127.0.0.1 for tests, inside the test process and driven by its event
// loop. Each path gets a scripted answer: a raw head (status line and headers), body pieces sent
// after delays, and an optional cut of the connection. It records every request head it reads.
//
// A piece marked Held waits until the test calls release(): a test that looks at the client
// between two pieces lets the next one go when it has looked, instead of racing a timer.
//
// Made with Tls, it speaks HTTPS with the certificate tests/data/test_server.crt (self-signed for
// 127.0.0.1, valid from 2000 to 2100, made for these tests only); clients trust that file.
class TestHttpServer {
public:
    enum Security { Plain, Tls };
    static QString CertificateFile() {
        return QStringLiteral(KELVARA_SOURCE_DIR "/tests/data/test_server.crt");
    }

    static constexpr int Held = -1;
    struct Piece {
        int delayMs = 0; // or Held
        QByteArray bytes;
    };
    struct Reply {
        QByteArray head;           // e.g. "HTTP/1.0 200 OK\r\nContent-Length: 3\r\n"; "\r\n" is added
        std::vector<Piece> pieces; // the body
        bool cut = false;          // reset the connection after the body instead of closing it
    };

    static Reply Ok(const QByteArray& body, bool announceLength = true) {
        QByteArray head = "HTTP/1.0 200 OK\r\nContent-Type: text/plain\r\n";
        if (announceLength)
            head += "Content-Length: " + QByteArray::number(body.size()) + "\r\n";
        return Reply{head, {{0, body}}};
    }
    static Reply Status(int status, const QByteArray& body) {
        return Reply{"HTTP/1.0 " + QByteArray::number(status) +
                         " Status\r\nContent-Length: " + QByteArray::number(body.size()) + "\r\n",
                     {{0, body}}};
    }

    explicit TestHttpServer(Security security = Plain) : m_tls(security == Tls) {
        if (m_tls) {
            auto* server = new QSslServer;
            QSslConfiguration configuration = QSslConfiguration::defaultConfiguration();
            configuration.setLocalCertificate(QSslCertificate::fromPath(CertificateFile()).value(0));
            QFile key(QStringLiteral(KELVARA_SOURCE_DIR "/tests/data/test_server.key"));
            key.open(QIODevice::ReadOnly);
            configuration.setPrivateKey(QSslKey(&key, QSsl::Rsa));
            server->setSslConfiguration(configuration);
            m_server.reset(server);
        } else {
            m_server = std::make_unique<QTcpServer>();
        }
        m_server->listen(QHostAddress::LocalHost, 0);
        // For a TLS server a connection is pending once its handshake is done.
        QObject::connect(m_server.get(), &QTcpServer::pendingConnectionAvailable, m_server.get(),
                         [this] { accept(); });
    }

    // Answers requests for path (the part of the target before any "?").
    void route(const QByteArray& path, Reply reply) { m_routes[path] = std::move(reply); }

    quint16 port() const { return m_server->serverPort(); }
    QString base() const {
        return (m_tls ? QStringLiteral("https://127.0.0.1:%1") : QStringLiteral("http://127.0.0.1:%1"))
            .arg(port());
    }
    QString url(const QString& path) const { return base() + path; }

    // The request heads received, in order, each up to and without the blank line.
    const QList<QByteArray>& requests() const { return m_requests; }

    // Sends every held piece that is waiting now, and goes on with the pieces after it.
    void release() {
        for (const auto& send : std::exchange(m_held, {}))
            send();
    }
    // Whether a held piece waits for release().
    bool holding() const { return !m_held.empty(); }

private:
    void accept() {
        while (QTcpSocket* socket = m_server->nextPendingConnection()) {
            auto buffer = std::make_shared<QByteArray>();
            QObject::connect(socket, &QTcpSocket::disconnected, socket, &QObject::deleteLater);
            QObject::connect(socket, &QTcpSocket::readyRead, socket, [this, socket, buffer] {
                if (buffer->contains("\r\n\r\n"))
                    return;
                *buffer += socket->readAll();
                const qsizetype end = buffer->indexOf("\r\n\r\n");
                if (end >= 0)
                    answer(socket, buffer->left(end));
            });
        }
    }

    void answer(QTcpSocket* socket, const QByteArray& head) {
        m_requests.append(head);
        const QByteArray requestLine = head.left(head.indexOf("\r\n"));
        QByteArray path = requestLine.split(' ').value(1);
        path = path.left(path.indexOf('?') >= 0 ? path.indexOf('?') : path.size());
        const auto it = m_routes.find(path);
        const Reply reply = it != m_routes.end() ? it->second : Status(404, "not found");
        socket->write(reply.head + "\r\n");
        sendPieces(socket, std::make_shared<Reply>(reply), 0);
    }

    void sendPieces(QTcpSocket* socket, std::shared_ptr<Reply> reply, size_t index) {
        if (index == reply->pieces.size()) {
            if (reply->cut) {
                socket->flush();
                socket->abort();
            } else {
                socket->disconnectFromHost();
            }
            return;
        }
        const QPointer<QTcpSocket> alive(socket);
        auto send = [this, alive, reply, index] {
            if (!alive)
                return; // the client has gone
            alive->write(reply->pieces[index].bytes);
            sendPieces(alive, reply, index + 1);
        };
        if (reply->pieces[index].delayMs == Held)
            m_held.push_back(send);
        else
            QTimer::singleShot(reply->pieces[index].delayMs, socket, send);
    }

    const bool m_tls;
    std::unique_ptr<QTcpServer> m_server;
    std::map<QByteArray, Reply> m_routes;
    QList<QByteArray> m_requests;
    std::vector<std::function<void()>> m_held;
};
