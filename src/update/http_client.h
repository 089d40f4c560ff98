#pragma once

#include <deque>
#include <map>

#include <QByteArray>
#include <QObject>
#include <QPointer>
#include <QString>
#include <QTimer>

#include <curl/curl.h>

class QIODevice;
class QSocketNotifier;

// An HTTP GET that runs in the background of the Qt event loop: libcurl's multi interface, its
// sockets watched by QSocketNotifiers and its timeouts by a single-shot QTimer. Nothing blocks and
// no thread is started. Every request is sent as HTTP/1.0 with a fixed user agent and Accept line,
// follows redirections, and goes to the server directly (no proxy). A request to an https address
// follows only redirections to https addresses.
//
// The client's events arrive as signals, always from the event loop and never from inside
// libcurl, so a slot may show a dialog, call abort() or delete the client.
class HttpClient : public QObject {
    Q_OBJECT
public:
    explicit HttpClient(QObject* parent = nullptr);
    ~HttpClient() override;

    void setUrl(const QString& url) { m_url = url; }
    const QString& url() const { return m_url; }
    // The device that receives the response body; it must be open for writing. The body of a
    // redirection that is followed does not go there.
    void setBody(QIODevice* body) { m_body = body; }
    // A body longer than this ends the request with an error; 0 means no limit.
    void setMaxBodySize(qint64 bytes) { m_maxBodySize = bytes; }
    // A file of certificates to trust instead of the system's (tests trust their own server).
    void setTrustedCertificates(const QString& file) { m_trustedCertificates = file.toLocal8Bit(); }

    // Starts the GET request and returns at once. Raises Error when a request is already running.
    void get();
    // Ends a running request without any further signal. Safe to call at any time.
    void abort();
    bool running() const { return m_easy != nullptr; }

    // From headerEnd on: the HTTP status of the response (0 when none arrived). After requestDone:
    // whether the request completed with a 2xx status, libcurl's result code (0 when the transfer
    // completed), and a sentence saying why it did not, in libcurl's words where it had them.
    long httpStatus() const { return m_status; }
    int resultCode() const { return m_result; }
    bool succeeded() const;
    QString errorString() const;

Q_SIGNALS:
    // The connection to the server is made and the request is about to be sent.
    void sessionConnected();
    // The final response's headers have ended. contentLength is -1 when it announces none; url is
    // the address that was set, also after a redirection.
    void headerEnd(qint64 contentLength, const QString& url);
    // The first body bytes arrived.
    void docBegin();
    // Body bytes arrived; received counts all body bytes so far.
    void docData(qint64 received);
    // The request has ended. error is libcurl's result code: 0 when the transfer completed (the
    // status may still be an error status, see succeeded()).
    void requestDone(int error);

private:
    enum class EventKind { Connected, HeaderEnd, DocBegin, DocData, Done };
    struct Event {
        EventKind kind;
        qint64 value = 0;
    };
    struct SocketWatch {
        QSocketNotifier* read = nullptr;
        QSocketNotifier* write = nullptr;
    };

    static int SocketCallback(CURL* easy, curl_socket_t socket, int what, void* client, void* socketData);
    static int TimerCallback(CURLM* multi, long timeoutMs, void* client);
    static int PrereqCallback(void* client, char* primaryIp, char* localIp, int primaryPort, int localPort);
    static size_t HeaderCallback(char* data, size_t size, size_t count, void* client);
    static size_t WriteCallback(char* data, size_t size, size_t count, void* client);

    void watchSocket(curl_socket_t socket, int what);
    void forgetSocket(curl_socket_t socket);
    void socketAction(curl_socket_t socket, int eventMask);
    void collectFinished();
    void dispatchEvents();
    void createMulti();
    void releaseEasy();

    CURLM* m_multi = nullptr;
    CURL* m_easy = nullptr;
    curl_slist* m_headers = nullptr;
    QTimer m_timer;
    std::map<curl_socket_t, SocketWatch> m_sockets;
    std::deque<Event> m_events;
    bool m_dispatching = false;

    QString m_url;
    QByteArray m_urlBytes;
    QPointer<QIODevice> m_body;
    qint64 m_maxBodySize = 0;
    QByteArray m_trustedCertificates;

    // State of the running request.
    bool m_sawLocation = false; // the current response names a place to go next
    bool m_bodyStarted = false;
    qint64 m_received = 0;
    QString m_writeError;
    char m_curlError[CURL_ERROR_SIZE] = {};

    // Result of the last request.
    int m_result = 0;
    long m_status = 0;
    QString m_error;
};
