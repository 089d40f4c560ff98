#include "update/http_client.h"

#include <QIODevice>
#include <QSocketNotifier>

#include "common/error.h"
#include "translation/ui_text.h"
#include "update/curl_library.h"

namespace {

// The request line and headers that every request of the program carries.
constexpr char UserAgent[] = "Mozilla/4.0 (compatible; ICS)";
constexpr char AcceptHeader[] = "Accept: image/gif, image/x-xbitmap, image/jpeg, image/pjpeg, */*";
constexpr long MaxRedirections = 10;

bool IsFollowedRedirection(long status) {
    return status == 300 || status == 301 || status == 302 || status == 303 || status == 307 || status == 308;
}

} // namespace

HttpClient::HttpClient(QObject* parent) : QObject(parent) {
    m_timer.setSingleShot(true);
    connect(&m_timer, &QTimer::timeout, this, [this] { socketAction(CURL_SOCKET_TIMEOUT, 0); });
}

HttpClient::~HttpClient() {
    abort();
    if (m_multi)
        Curl().multi_cleanup(m_multi);
}

void HttpClient::createMulti() {
    m_multi = Curl().multi_init();
    if (!m_multi)
        throw Error(UiText("Network.NotInitialised", "The network library could not be initialised."));
    Curl().multi_setopt(m_multi, CURLMOPT_SOCKETFUNCTION, &HttpClient::SocketCallback);
    Curl().multi_setopt(m_multi, CURLMOPT_SOCKETDATA, this);
    Curl().multi_setopt(m_multi, CURLMOPT_TIMERFUNCTION, &HttpClient::TimerCallback);
    Curl().multi_setopt(m_multi, CURLMOPT_TIMERDATA, this);
}

void HttpClient::get() {
    if (m_easy)
        throw Error(QStringLiteral("A request is already running."));
    m_sawLocation = false;
    m_bodyStarted = false;
    m_received = 0;
    m_writeError.clear();
    m_curlError[0] = '\0';
    m_result = 0;
    m_status = 0;
    m_error.clear();
    m_events.clear();

    // The network library is loaded with the first request.
    if (!m_multi)
        createMulti();
    m_easy = Curl().easy_init();
    if (!m_easy)
        throw Error(UiText("Network.NotStarted", "The network library could not start a request."));
    m_urlBytes = m_url.toUtf8();
    m_headers = Curl().slist_append(nullptr, AcceptHeader);

    Curl().easy_setopt(m_easy, CURLOPT_URL, m_urlBytes.constData());
    Curl().easy_setopt(m_easy, CURLOPT_HTTPGET, 1L);
    Curl().easy_setopt(m_easy, CURLOPT_HTTP_VERSION, long(CURL_HTTP_VERSION_1_0));
    Curl().easy_setopt(m_easy, CURLOPT_USERAGENT, UserAgent);
    Curl().easy_setopt(m_easy, CURLOPT_HTTPHEADER, m_headers);
    Curl().easy_setopt(m_easy, CURLOPT_FOLLOWLOCATION, 1L);
    Curl().easy_setopt(m_easy, CURLOPT_MAXREDIRS, MaxRedirections);
    // Only web addresses: an address from the server must not reach local files or other schemes.
    // A request that starts secure stays secure: a redirection to plain HTTP would let anyone on
    // the way change what arrives.
    const char* const protocols =
        m_url.startsWith(QLatin1String("https:"), Qt::CaseInsensitive) ? "https" : "http,https";
    Curl().easy_setopt(m_easy, CURLOPT_PROTOCOLS_STR, protocols);
    Curl().easy_setopt(m_easy, CURLOPT_REDIR_PROTOCOLS_STR, protocols);
    if (!m_trustedCertificates.isEmpty())
        Curl().easy_setopt(m_easy, CURLOPT_CAINFO, m_trustedCertificates.constData());
    // An empty proxy name makes libcurl ignore the proxy environment variables too.
    Curl().easy_setopt(m_easy, CURLOPT_PROXY, "");
    Curl().easy_setopt(m_easy, CURLOPT_NOSIGNAL, 1L);
    Curl().easy_setopt(m_easy, CURLOPT_ERRORBUFFER, m_curlError);
    if (m_maxBodySize > 0)
        Curl().easy_setopt(m_easy, CURLOPT_MAXFILESIZE_LARGE, curl_off_t(m_maxBodySize));
    Curl().easy_setopt(m_easy, CURLOPT_PREREQFUNCTION, &HttpClient::PrereqCallback);
    Curl().easy_setopt(m_easy, CURLOPT_PREREQDATA, this);
    Curl().easy_setopt(m_easy, CURLOPT_HEADERFUNCTION, &HttpClient::HeaderCallback);
    Curl().easy_setopt(m_easy, CURLOPT_HEADERDATA, this);
    Curl().easy_setopt(m_easy, CURLOPT_WRITEFUNCTION, &HttpClient::WriteCallback);
    Curl().easy_setopt(m_easy, CURLOPT_WRITEDATA, this);

    // Adding the handle asks for a timeout of 0 through TimerCallback; the transfer starts when
    // that timer fires in the event loop.
    if (Curl().multi_add_handle(m_multi, m_easy) != CURLM_OK) {
        releaseEasy();
        throw Error(UiText("Network.NotStarted", "The network library could not start a request."));
    }
}

void HttpClient::abort() {
    m_timer.stop();
    m_events.clear();
    if (m_easy)
        releaseEasy();
}

bool HttpClient::succeeded() const {
    return m_result == CURLE_OK && m_error.isEmpty() && m_status >= 200 && m_status <= 299;
}

QString HttpClient::errorString() const {
    if (!m_error.isEmpty())
        return m_error;
    if (m_status == 0 && m_result == CURLE_OK)
        return QString();
    if (m_status < 200 || m_status > 299)
        return UiText("Network.Status", "The server answered with the status %1.").arg(m_status);
    return QString();
}

int HttpClient::SocketCallback(CURL*, curl_socket_t socket, int what, void* client, void*) {
    auto* self = static_cast<HttpClient*>(client);
    if (what == CURL_POLL_REMOVE)
        self->forgetSocket(socket);
    else
        self->watchSocket(socket, what);
    return 0;
}

int HttpClient::TimerCallback(CURLM*, long timeoutMs, void* client) {
    auto* self = static_cast<HttpClient*>(client);
    // -1 means that libcurl needs no timeout any more.
    if (timeoutMs < 0)
        self->m_timer.stop();
    else
        self->m_timer.start(int(std::min<long>(timeoutMs, 24L * 3600 * 1000)));
    return 0;
}

int HttpClient::PrereqCallback(void* client, char*, char*, int, int) {
    static_cast<HttpClient*>(client)->m_events.push_back({EventKind::Connected});
    return CURL_PREREQFUNC_OK;
}

size_t HttpClient::HeaderCallback(char* data, size_t size, size_t count, void* client) {
    auto* self = static_cast<HttpClient*>(client);
    const size_t length = size * count;
    const QByteArrayView line(data, qsizetype(length));
    if (line.startsWith("HTTP/")) {
        // A new response begins (after a redirection or an interim 1xx answer).
        self->m_sawLocation = false;
        return length;
    }
    if (line.size() > 9 && QByteArrayView(line.first(9)).compare("location:", Qt::CaseInsensitive) == 0 &&
        !line.sliced(9).trimmed().isEmpty()) {
        self->m_sawLocation = true;
        return length;
    }
    if (line != "\r\n" && line != "\n")
        return length;

    long status = 0;
    Curl().easy_getinfo(self->m_easy, CURLINFO_RESPONSE_CODE, &status);
    if (status >= 100 && status <= 199)
        return length;
    if (IsFollowedRedirection(status) && self->m_sawLocation) {
        // libcurl follows this one (and drops its body): it is not the document.
        return length;
    }
    self->m_status = status;
    curl_off_t contentLength = -1;
    Curl().easy_getinfo(self->m_easy, CURLINFO_CONTENT_LENGTH_DOWNLOAD_T, &contentLength);
    self->m_events.push_back({EventKind::HeaderEnd, qint64(contentLength)});
    return length;
}

size_t HttpClient::WriteCallback(char* data, size_t size, size_t count, void* client) {
    auto* self = static_cast<HttpClient*>(client);
    const size_t length = size * count;
    if (length == 0)
        return length;
    if (self->m_maxBodySize > 0 && self->m_received + qint64(length) > self->m_maxBodySize) {
        self->m_writeError =
            UiText("Network.TooLarge", "The answer is larger than %1 bytes.").arg(self->m_maxBodySize);
        return 0; // libcurl ends the transfer with a write error
    }
    if (self->m_body) {
        if (self->m_body->write(data, qint64(length)) != qint64(length)) {
            self->m_writeError = UiText("Network.NotWritten", "The data could not be written: %1")
                                     .arg(self->m_body->errorString());
            return 0;
        }
    }
    self->m_received += qint64(length);
    if (!self->m_bodyStarted) {
        self->m_bodyStarted = true;
        self->m_events.push_back({EventKind::DocBegin});
    }
    // Several pieces between two dispatches make one data event with the latest count.
    if (!self->m_events.empty() && self->m_events.back().kind == EventKind::DocData)
        self->m_events.back().value = self->m_received;
    else
        self->m_events.push_back({EventKind::DocData, self->m_received});
    return length;
}

void HttpClient::watchSocket(curl_socket_t socket, int what) {
    SocketWatch& watch = m_sockets[socket];
    const auto ensure = [this, socket](QSocketNotifier*& notifier, QSocketNotifier::Type type, int mask) {
        if (!notifier) {
            notifier = new QSocketNotifier(qintptr(socket), type, this);
            connect(notifier, &QSocketNotifier::activated, this,
                    [this, socket, mask] { socketAction(socket, mask); });
        }
    };
    const bool wantRead = what == CURL_POLL_IN || what == CURL_POLL_INOUT;
    const bool wantWrite = what == CURL_POLL_OUT || what == CURL_POLL_INOUT;
    if (wantRead)
        ensure(watch.read, QSocketNotifier::Read, CURL_CSELECT_IN);
    if (wantWrite)
        ensure(watch.write, QSocketNotifier::Write, CURL_CSELECT_OUT);
    if (watch.read)
        watch.read->setEnabled(wantRead);
    if (watch.write)
        watch.write->setEnabled(wantWrite);
}

void HttpClient::forgetSocket(curl_socket_t socket) {
    const auto it = m_sockets.find(socket);
    if (it == m_sockets.end())
        return;
    // This may run inside the notifier's own slot: disable it now and delete it later.
    for (QSocketNotifier* notifier : {it->second.read, it->second.write}) {
        if (notifier) {
            notifier->setEnabled(false);
            notifier->deleteLater();
        }
    }
    m_sockets.erase(it);
}

void HttpClient::socketAction(curl_socket_t socket, int eventMask) {
    // Also without a request: libcurl may still watch a cached connection.
    int running = 0;
    Curl().multi_socket_action(m_multi, socket, eventMask, &running);
    collectFinished();
    dispatchEvents();
}

void HttpClient::collectFinished() {
    int left = 0;
    while (CURLMsg* message = Curl().multi_info_read(m_multi, &left)) {
        if (message->msg != CURLMSG_DONE || message->easy_handle != m_easy)
            continue;
        m_result = int(message->data.result);
        Curl().easy_getinfo(m_easy, CURLINFO_RESPONSE_CODE, &m_status);
        if (!m_writeError.isEmpty())
            m_error = m_writeError;
        else if (m_result == CURLE_FILESIZE_EXCEEDED)
            m_error = UiText("Network.TooLarge", "The answer is larger than %1 bytes.").arg(m_maxBodySize);
        else if (m_result != CURLE_OK)
            m_error =
                QString::fromUtf8(m_curlError[0] ? m_curlError : Curl().easy_strerror(CURLcode(m_result)));
        releaseEasy();
        m_events.push_back({EventKind::Done, m_result});
        break;
    }
}

void HttpClient::dispatchEvents() {
    // One dispatch at a time keeps the events in order when a slot runs a nested event loop
    // (a message box); the events gathered meanwhile follow when that slot returns.
    if (m_dispatching)
        return;
    const QPointer<HttpClient> self(this);
    m_dispatching = true;
    while (!m_events.empty()) {
        const Event event = m_events.front();
        m_events.pop_front();
        switch (event.kind) {
        case EventKind::Connected:
            Q_EMIT sessionConnected();
            break;
        case EventKind::HeaderEnd:
            Q_EMIT headerEnd(event.value, m_url);
            break;
        case EventKind::DocBegin:
            Q_EMIT docBegin();
            break;
        case EventKind::DocData:
            Q_EMIT docData(event.value);
            break;
        case EventKind::Done:
            Q_EMIT requestDone(int(event.value));
            break;
        }
        if (!self)
            return;
    }
    m_dispatching = false;
}

void HttpClient::releaseEasy() {
    Curl().multi_remove_handle(m_multi, m_easy);
    Curl().easy_cleanup(m_easy);
    m_easy = nullptr;
    Curl().slist_free_all(m_headers);
    m_headers = nullptr;
}
