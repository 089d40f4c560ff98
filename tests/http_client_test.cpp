#include <optional>

#include <QBuffer>
#include <QPointer>

#include <gtest/gtest.h>

#include "support/qt_test_support.h"
#include "support/test_http_server.h"
#include "update/http_client.h"

using namespace Qt::StringLiterals;

namespace {

// Runs one GET against the test server and records every event with its arguments.
struct Transfer {
    explicit Transfer(const QString& url, qint64 maxBody = 0, const QString& trusted = {}) {
        buffer.open(QIODevice::WriteOnly);
        client.setUrl(url);
        client.setTrustedCertificates(trusted);
        client.setBody(&buffer);
        client.setMaxBodySize(maxBody);
        QObject::connect(&client, &HttpClient::sessionConnected,
                         [this] { events << QStringLiteral("connected"); });
        QObject::connect(&client, &HttpClient::headerEnd, [this](qint64 length, const QString& u) {
            events << QStringLiteral("headers %1").arg(length);
            headerUrl = u;
        });
        QObject::connect(&client, &HttpClient::docBegin, [this] { events << QStringLiteral("begin"); });
        QObject::connect(&client, &HttpClient::docData, [this](qint64 received) { lastReceived = received; });
        QObject::connect(&client, &HttpClient::requestDone, [this](int error) {
            events << QStringLiteral("done");
            done = error;
        });
        client.get();
    }
    bool finish() {
        return WaitUntil([this] { return done.has_value(); });
    }

    QBuffer buffer;
    HttpClient client;
    QStringList events;
    QString headerUrl;
    qint64 lastReceived = 0;
    std::optional<int> done;
};

class HttpClientTest : public ::testing::Test {
protected:
    static void SetUpTestSuite() { EnsureApplication(); }
    TestHttpServer server;
};

TEST_F(HttpClientTest, SendsTheFixedHttp10RequestWithoutProxyOrCacheHeaders) {
    server.route("/update.php", TestHttpServer::Ok("x"));
    qputenv("http_proxy", "http://127.0.0.1:1"); // must be ignored
    Transfer run(server.url(QStringLiteral("/update.php?app=Kelvara&ver=200&os=NT")));
    ASSERT_TRUE(run.finish());
    qunsetenv("http_proxy");
    ASSERT_EQ(server.requests().size(), 1);
    const QList<QByteArray> lines = server.requests().first().split('\n');
    const auto has = [&](const QByteArray& line) {
        return lines.contains(line + '\r') || lines.last() == line;
    };
    EXPECT_EQ(lines.value(0), "GET /update.php?app=Kelvara&ver=200&os=NT HTTP/1.0\r");
    EXPECT_TRUE(has("User-Agent: Mozilla/4.0 (compatible; ICS)"));
    EXPECT_TRUE(has("Accept: image/gif, image/x-xbitmap, image/jpeg, image/pjpeg, */*"));
    const QByteArray head = server.requests().first().toLower();
    EXPECT_FALSE(head.contains("no-cache"));
    EXPECT_FALSE(head.contains("proxy"));
    EXPECT_TRUE(run.client.succeeded());
}

TEST_F(HttpClientTest, ReportsTheFiveEventsInOrderAndFillsTheCallersBuffer) {
    TestHttpServer::Reply reply = TestHttpServer::Ok("");
    reply.head = "HTTP/1.0 200 OK\r\nContent-Length: 10\r\n";
    reply.pieces = {{0, "hello"}, {100, "world"}};
    server.route("/file.bin", reply);
    Transfer run(server.url(QStringLiteral("/file.bin")));
    ASSERT_TRUE(run.finish());
    EXPECT_EQ(run.events, QStringList({u"connected"_s, u"headers 10"_s, u"begin"_s, u"done"_s}));
    EXPECT_EQ(run.lastReceived, 10);
    EXPECT_EQ(run.buffer.data(), "helloworld");
    EXPECT_EQ(run.headerUrl, server.url(QStringLiteral("/file.bin")));
    EXPECT_EQ(*run.done, 0);
    EXPECT_EQ(run.client.httpStatus(), 200);
}

// How the end of the body and the status decide success.
TEST_F(HttpClientTest, BodyEndsAndFailures) {
    struct Row {
        const char* name;
        TestHttpServer::Reply reply;
        bool succeeded;
        QByteArray body;
        const char* headers;
        long status;
    };
    TestHttpServer::Reply cut{"HTTP/1.0 200 OK\r\nContent-Length: 100\r\n", {{0, "only part"}}, true};
    TestHttpServer::Reply longer{"HTTP/1.0 200 OK\r\nContent-Length: 4\r\n", {{0, "abcdefgh"}}};
    // A redirection that names no place to go is the final answer, page and all.
    TestHttpServer::Reply nowhere{"HTTP/1.0 302 Found\r\nContent-Length: 12\r\n", {{0, "moved away!\n"}}};
    TestHttpServer::Reply emptyLocation{"HTTP/1.0 301 Moved\r\nLocation:  \r\nContent-Length: 3\r\n",
                                        {{0, "abc"}}};
    const Row rows[] = {
        {"no length: the body runs to the close", TestHttpServer::Ok("open ended", false), true, "open ended",
         "headers -1", 200},
        {"more than announced: cut at the length", longer, true, "abcd", "headers 4", 200},
        {"fewer than announced: a failure", cut, false, "only part", "headers 100", 200},
        {"error status: a failure with its page", TestHttpServer::Status(500, "<html>oops</html>"), false,
         "<html>oops</html>", "headers 17", 500},
        {"302 without Location: a failure with its page", nowhere, false, "moved away!\n", "headers 12", 302},
        {"301 with an empty Location: a failure with its page", emptyLocation, false, "abc", "headers 3",
         301},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        server.route("/r", row.reply);
        const qsizetype requests = server.requests().size();
        Transfer run(server.url(QStringLiteral("/r")));
        ASSERT_TRUE(run.finish());
        EXPECT_EQ(run.client.succeeded(), row.succeeded);
        EXPECT_EQ(run.buffer.data(), row.body);
        EXPECT_TRUE(run.events.contains(QLatin1String(row.headers)))
            << run.events.join(QLatin1Char(',')).toStdString();
        EXPECT_EQ(run.client.errorString().isEmpty(), row.succeeded);
        EXPECT_EQ(run.client.httpStatus(), row.status);
        if (!row.succeeded && row.status != 200)
            EXPECT_EQ(run.client.errorString(), u"The server answered with the status %1."_s.arg(row.status));
        EXPECT_EQ(server.requests().size(), requests + 1) << "a redirection was followed";
    }
}

TEST_F(HttpClientTest, FollowsARedirectionAndReportsOnlyTheFinalResponse) {
    server.route("/old", TestHttpServer::Reply{"HTTP/1.0 302 Found\r\nLocation: /new/place.txt\r\n"
                                               "Content-Length: 12\r\n",
                                               {{0, "moved away!\n"}}});
    server.route("/new/place.txt", TestHttpServer::Ok("final"));
    Transfer run(server.url(QStringLiteral("/old")));
    ASSERT_TRUE(run.finish());
    EXPECT_EQ(run.buffer.data(), "final");
    EXPECT_EQ(run.events.filter(QStringLiteral("headers")), QStringList({u"headers 5"_s}));
    EXPECT_EQ(run.headerUrl, server.url(QStringLiteral("/old")));
    ASSERT_EQ(server.requests().size(), 2);
    EXPECT_TRUE(server.requests().at(1).startsWith("GET /new/place.txt HTTP/1.0"));
    EXPECT_TRUE(run.client.succeeded());
}

// A request that starts over https follows redirections only to https addresses: one to plain
// http fails before anything is asked there. A plain request may be sent on to https.
TEST_F(HttpClientTest, AnHttpsRequestNeverFollowsARedirectionToHttp) {
    TestHttpServer secure(TestHttpServer::Tls);
    server.route("/file", TestHttpServer::Ok("plain"));
    secure.route("/file", TestHttpServer::Ok("secure"));
    secure.route("/down",
                 TestHttpServer::Reply{"HTTP/1.0 302 Found\r\nLocation: " + server.url(u"/file"_s).toUtf8() +
                                           "\r\nContent-Length: 0\r\n",
                                       {}});
    secure.route("/along",
                 TestHttpServer::Reply{"HTTP/1.0 302 Found\r\nLocation: /file\r\nContent-Length: 0\r\n", {}});
    server.route("/up",
                 TestHttpServer::Reply{"HTTP/1.0 302 Found\r\nLocation: " + secure.url(u"/file"_s).toUtf8() +
                                           "\r\nContent-Length: 0\r\n",
                                       {}});
    const struct {
        QString url;
        QByteArray body; // empty: the request fails
    } rows[] = {
        {secure.url(u"/down"_s), {}}, {secure.url(u"/along"_s), "secure"}, {server.url(u"/up"_s), "secure"}};
    for (const auto& row : rows) {
        SCOPED_TRACE(row.url.toStdString());
        Transfer run(row.url, 0, TestHttpServer::CertificateFile());
        ASSERT_TRUE(run.finish());
        EXPECT_EQ(run.client.succeeded(), !row.body.isEmpty());
        EXPECT_EQ(run.buffer.data(), row.body);
    }
    for (const QByteArray& request : server.requests())
        EXPECT_FALSE(request.startsWith("GET /file")) << "the plain server was asked for the file";
}

TEST_F(HttpClientTest, BodyLimitEndsTheRequest) {
    const QByteArray big(5000, 'z');
    server.route("/announced", TestHttpServer::Ok(big));
    server.route("/unannounced", TestHttpServer::Ok(big, false));
    for (const char* path : {"/announced", "/unannounced"}) {
        SCOPED_TRACE(path);
        Transfer run(server.url(QString::fromLatin1(path)), 1000);
        ASSERT_TRUE(run.finish());
        EXPECT_FALSE(run.client.succeeded());
        EXPECT_LE(run.buffer.data().size(), 1000);
        EXPECT_TRUE(run.client.errorString().contains(QStringLiteral("1000 bytes")))
            << run.client.errorString().toStdString();
    }
}

TEST_F(HttpClientTest, AbortAndDeletionFromASlotStopEverything) {
    TestHttpServer::Reply slow{"HTTP/1.0 200 OK\r\nContent-Length: 6\r\n",
                               {{0, "abc"}, {TestHttpServer::Held, "def"}}};
    server.route("/slow", slow);

    // Abort in the middle: no further event, and the client can be used again. The rest of the
    // aborted answer is sent before the second request ends, so anything it still caused would
    // show among that request's events or in the buffer.
    Transfer run(server.url(QStringLiteral("/slow")));
    ASSERT_TRUE(WaitUntil([&] { return run.lastReceived == 3; }));
    run.client.abort();
    EXPECT_FALSE(run.client.running());
    server.release();
    run.events.clear();
    run.client.get();
    ASSERT_TRUE(WaitUntil([&] { return server.holding(); }));
    server.release();
    ASSERT_TRUE(run.finish());
    EXPECT_EQ(run.events, QStringList({u"connected"_s, u"headers 6"_s, u"begin"_s, u"done"_s}));
    EXPECT_EQ(run.buffer.data(), "abcabcdef");

    // A slot may delete the client while it reports data.
    QBuffer sink;
    sink.open(QIODevice::WriteOnly);
    QPointer<HttpClient> client = new HttpClient;
    client->setUrl(server.url(QStringLiteral("/slow")));
    client->setBody(&sink);
    QObject::connect(client, &HttpClient::docData, client, [&] { delete client.data(); });
    client->get();
    ASSERT_TRUE(WaitUntil([&] { return client.isNull(); }));
}

} // namespace
