#include <QFile>
#include <QLabel>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include "common/program_folder.h"
#include "formats/update_response.h"
#include "support/qt_test_support.h"
#include "support/test_http_server.h"
#include "update/http_client.h"
#include "update/update_check.h"
#include "update/update_window.h"

using namespace Qt::StringLiterals;

namespace {

const QString Intro = UpdateMessageIntro().english();
const QString Question = u"There is a new version of Kelvara available. Do you want to update now?"_s;

class UpdateCheckTest : public ::testing::Test {
protected:
    static void SetUpTestSuite() { EnsureApplication(); }
    void SetUp() override { qputenv("KELVARA_UPDATE_URL", server.base().toUtf8() + "/"); }
    // A test that failed half-way may leave a download dialog open, still asking this test's
    // prompts and fetching from this test's server: it goes with the test.
    void TearDown() override {
        qunsetenv("KELVARA_UPDATE_URL");
        prompts.onQuestion = nullptr;
        for (QWidget* window : QApplication::topLevelWidgets()) {
            if (qobject_cast<TfrmUpdate*>(window))
                delete window;
        }
    }

    // Runs one check to its end and returns what the user was shown.
    std::vector<FakePrompts::Shown> check(bool isNT = true) {
        UpdateCheck check(folder, prompts, nullptr);
        check.start(isNT);
        EXPECT_TRUE(check.pending());
        EXPECT_TRUE(WaitFor("the check to end", [&] { return !check.pending(); }));
        return prompts.shown;
    }

    TestHttpServer server;
    QTemporaryDir dir;
    ProgramFolder folder{dir.path() + u"/Kelvara"_s};
    FakePrompts prompts;
};

TEST_F(UpdateCheckTest, AsksTheServerWithTheProgramsQuery) {
    server.route("/update.php", TestHttpServer::Ok("nothing new"));
    EXPECT_TRUE(check(true).empty());
    EXPECT_TRUE(check(false).empty());
    ASSERT_EQ(server.requests().size(), 2);
    EXPECT_TRUE(server.requests().at(0).startsWith("GET /update.php?app=Kelvara&ver=200&os=NT HTTP/1.0\r\n"));
    EXPECT_TRUE(server.requests().at(1).startsWith("GET /update.php?app=Kelvara&ver=200&os=9X HTTP/1.0\r\n"));
}

TEST_F(UpdateCheckTest, ShowsTheMessageOrAsksOrStaysQuiet) {
    struct Row {
        const char* name;
        TestHttpServer::Reply reply;
        QString caption; // empty: nothing shown
        QString text;
    };
    TestHttpServer::Reply cut{"HTTP/1.0 200 OK\r\nContent-Length: 100\r\n", {{0, "message\nhalf"}}, true};
    const Row rows[] = {
        {"three lines", TestHttpServer::Ok("message\r\nline 2\r\nline 3\r\n"), u"Kelvara 2.0"_s,
         Intro + u"\nline 2\nline 3"_s},
        {"empty line 2", TestHttpServer::Ok("message\n\nline 3"), u"Kelvara 2.0"_s, Intro + u"\n\nline 3"_s},
        {"capitals", TestHttpServer::Ok("MESSAGE"), u"Kelvara 2.0"_s, Intro},
        {"leading blank", TestHttpServer::Ok(" message\nx"), {}, {}},
        {"update alone", TestHttpServer::Ok("update"), {}, {}},
        {"update with address", TestHttpServer::Ok("update\nhttp://example.invalid/a.exe"),
         u"Kelvara AutoUpdate"_s, Question},
        {"update with empty address", TestHttpServer::Ok("update\n\n"), u"Kelvara AutoUpdate"_s, Question},
        {"no length", TestHttpServer::Ok("message\nhi", false), u"Kelvara 2.0"_s, Intro + u"\nhi"_s},
        {"error page", TestHttpServer::Status(500, "message\nfrom the error page"), {}, {}},
        {"cut answer", cut, {}, {}},
        {"too long", TestHttpServer::Ok("message\n" + QByteArray(70000, 'a')), {}, {}},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        prompts.shown.clear();
        server.route("/update.php", row.reply);
        const auto shown = check();
        if (row.caption.isEmpty()) {
            EXPECT_TRUE(shown.empty());
            continue;
        }
        ASSERT_EQ(shown.size(), 1u);
        EXPECT_EQ(shown[0].caption, row.caption);
        EXPECT_EQ(shown[0].text, row.text);
    }
}

TEST_F(UpdateCheckTest, UnreachableServerShowsNothing) {
    auto* gone = new TestHttpServer;
    qputenv("KELVARA_UPDATE_URL", gone->base().toUtf8());
    delete gone;
    EXPECT_TRUE(check().empty());
}

TEST_F(UpdateCheckTest, CancelledCheckIsNeverAnswered) {
    server.route("/update.php",
                 TestHttpServer::Reply{"HTTP/1.0 200 OK\r\n", {{TestHttpServer::Held, "message\nlate"}}});
    UpdateCheck check(folder, prompts, nullptr);
    check.start(true);
    ASSERT_TRUE(WaitFor("the request to reach the server", [&] { return server.requests().size() == 1; }));
    check.cancel();
    EXPECT_FALSE(check.pending());
    server.release();
    // A second check runs to its end after the first one's answer was sent: only it is shown.
    server.route("/update.php", TestHttpServer::Ok("message\nsecond"));
    check.start(true);
    ASSERT_TRUE(WaitFor("the second check to end", [&] { return !check.pending(); }));
    ASSERT_EQ(prompts.shown.size(), 1u);
    EXPECT_EQ(prompts.shown[0].text, Intro + u"\nsecond"_s);
}

TEST_F(UpdateCheckTest, YesOpensTheDownloadDialogWhichSavesTheFile) {
    ASSERT_TRUE(QDir().mkpath(dir.path()));
    const QString address = server.url(u"/files/Kelvara-setup.exe"_s);
    server.route("/update.php", TestHttpServer::Ok("update\n" + address.toUtf8()));
    server.route("/files/Kelvara-setup.exe", TestHttpServer::Ok("new version"));
    prompts.answers = {true, false}; // update now: Yes; install now: No

    UpdateCheck check(folder, prompts, nullptr);
    // The dialog may come and go between two looks at it: what it showed is taken while it asks.
    QString addressShown;
    prompts.onQuestion = [&] {
        if (check.downloadDialog())
            addressShown = check.downloadDialog()->findChild<QLabel*>(u"lblURL"_s)->toolTip();
    };
    check.start(true);
    ASSERT_TRUE(WaitFor("three prompts and the download dialog closed",
                        [&] { return prompts.shown.size() >= 3 && !check.downloadDialog(); }));
    ASSERT_EQ(prompts.shown.size(), 3u);
    EXPECT_EQ(addressShown, address);
    EXPECT_EQ(prompts.shown[1].caption, u"Download Complete"_s);
    EXPECT_EQ(prompts.shown[2].text,
              u"To install the update later, run Kelvara-setup.exe in the Kelvara directory (%1)."_s.arg(
                  dir.path()));
    QFile saved(folder.userDir() + u"Kelvara-setup.exe"_s);
    ASSERT_TRUE(saved.open(QIODevice::ReadOnly));
    EXPECT_EQ(saved.readAll(), "new version");
}

// An answer that came over https offers its download over https only: an http address is refused
// before anything is asked of its server.
TEST_F(UpdateCheckTest, AnUpdateOfferedOverHttpsIsNotFetchedOverHttp) {
    TestHttpServer secure(TestHttpServer::Tls);
    qputenv("KELVARA_UPDATE_URL", secure.base().toUtf8());
    secure.route("/update.php",
                 TestHttpServer::Ok("update\n" + server.url(u"/files/Kelvara-setup.exe"_s).toUtf8()));
    server.route("/files/Kelvara-setup.exe", TestHttpServer::Ok("new version"));
    prompts.answers = {true};
    UpdateCheck check(folder, prompts, nullptr);
    check.findChild<HttpClient*>(u"HttpCli1"_s)->setTrustedCertificates(TestHttpServer::CertificateFile());
    check.start(true);
    ASSERT_TRUE(WaitFor("two prompts and the download dialog closed",
                        [&] { return prompts.shown.size() >= 2 && !check.downloadDialog(); }));
    ASSERT_EQ(prompts.shown.size(), 2u);
    EXPECT_EQ(prompts.shown[0].text, Question);
    EXPECT_EQ(
        prompts.shown[1].text,
        u"The update could not be downloaded. The download address does not use a secure connection."_s);
    EXPECT_TRUE(server.requests().isEmpty());
    EXPECT_FALSE(QFile::exists(folder.userDir() + u"Kelvara-setup.exe"_s));
}

} // namespace
