#include "platform/single_instance.h"

#include <unistd.h>

#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QDBusVariant>
#include <QDeadlineTimer>
#include <QDir>
#include <QLocalSocket>
#include <QTemporaryDir>
#include <QtConcurrent>

#include "platform/application_bus.h"
#include "qstring_printer.h"
#include "qt_app_environment.h"
#include "support/run_beside.h"

namespace {

using Action = InstanceRequest::Action;

// A private runtime folder and no session bus, for each test.
class SingleInstance : public testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(m_runtime.isValid());
        m_savedRuntime = qgetenv("XDG_RUNTIME_DIR");
        m_savedBus = qgetenv("DBUS_SESSION_BUS_ADDRESS");
        qputenv("XDG_RUNTIME_DIR", m_runtime.path().toUtf8());
        qunsetenv("DBUS_SESSION_BUS_ADDRESS");
    }
    void TearDown() override {
        qputenv("XDG_RUNTIME_DIR", m_savedRuntime);
        if (!m_savedBus.isEmpty())
            qputenv("DBUS_SESSION_BUS_ADDRESS", m_savedBus);
    }

    QTemporaryDir m_runtime;
    QByteArray m_savedRuntime;
    QByteArray m_savedBus;
};

TEST_F(SingleInstance, KeysTellDataFoldersApart) {
    const QString a = InstanceKey(QStringLiteral("/home/u/.local/share/kelvara/"));
    EXPECT_EQ(a.size(), 16);
    EXPECT_EQ(a, InstanceKey(QStringLiteral("/home/u/.local/share/kelvara")));
    EXPECT_EQ(a, InstanceKey(QStringLiteral("/home/u/.local/share/./kelvara/")));
    EXPECT_NE(a, InstanceKey(QStringLiteral("/home/u/Kelvara/")));
    EXPECT_NE(a, InstanceKey(QStringLiteral("/home/U/.local/share/kelvara/")));
    // A bus name element may not start with a digit; the key's does not either.
    EXPECT_TRUE(InstanceBusName(a).startsWith(QStringLiteral("org.kelvara.Kelvara.Folder.K")));
    EXPECT_EQ(InstanceRuntimeDir(), m_runtime.path());
}

TEST_F(SingleInstance, TheLockHasOneHolderAndGoesWithIt) {
    const QString key = InstanceKey(QStringLiteral("/data/a"));
    auto first = std::make_unique<InstanceLock>(key);
    ASSERT_TRUE(first->Usable()) << first->ErrorText().toStdString();
    EXPECT_TRUE(first->Held());
    InstanceLock second(key);
    EXPECT_FALSE(second.Held());
    EXPECT_FALSE(second.TryTake());
    // Another data folder has a lock of its own.
    EXPECT_TRUE(InstanceLock(InstanceKey(QStringLiteral("/data/b"))).Held());
    // The lock file stays behind, as after a kill; it does not keep the next holder out.
    first.reset();
    EXPECT_TRUE(
        QFileInfo::exists(m_runtime.path() + QStringLiteral("/kelvara-") + key + QStringLiteral(".lock")));
    EXPECT_TRUE(second.TryTake());
    EXPECT_TRUE(second.Held());
}

// Without XDG_RUNTIME_DIR a private folder under the temporary folder stands in; one that others
// may enter is not used, and the lock says why it cannot be had.
TEST_F(SingleInstance, WithoutARuntimeFolderAPrivateOneStandsIn) {
    const QByteArray savedTemp = qgetenv("TMPDIR");
    qputenv("TMPDIR", m_runtime.path().toUtf8());
    qunsetenv("XDG_RUNTIME_DIR");
    const QString standIn =
        m_runtime.path() + QStringLiteral("/kelvara-runtime-") + QString::number(::geteuid());
    EXPECT_EQ(InstanceRuntimeDir(), standIn);
    EXPECT_EQ(QFileInfo(standIn).permissions() & (QFile::ReadGroup | QFile::ReadOther | QFile::WriteOther),
              0);
    EXPECT_TRUE(InstanceLock(QStringLiteral("0123456789abcdef")).Held());

    ASSERT_TRUE(QFile::setPermissions(standIn, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner |
                                                   QFile::ReadOther | QFile::ExeOther));
    EXPECT_EQ(InstanceRuntimeDir(), QString());
    InstanceLock lock(QStringLiteral("0123456789abcdef"));
    EXPECT_FALSE(lock.Usable());
    EXPECT_FALSE(lock.Held());
    EXPECT_TRUE(lock.ErrorText().contains(QStringLiteral("XDG_RUNTIME_DIR")))
        << lock.ErrorText().toStdString();
    // A relative XDG_RUNTIME_DIR counts as none.
    qputenv("XDG_RUNTIME_DIR", "run");
    EXPECT_EQ(InstanceRuntimeDir(), QString());
    qputenv("TMPDIR", savedTemp);
}

TEST_F(SingleInstance, RequestsTravelAsOneLineAndBadLinesAreRefused) {
    const InstanceRequest rows[] = {
        {Action::Activate, {}, 0},
        {Action::Open, QStringLiteral("Games"), 4242},
        {Action::Open, QStringLiteral("two\nlines \"quoted\" \\ é"), 0},
        {Action::Settings, {}, 0xFFFFFFFFu},
        {Action::AddApplications, QStringLiteral("Apps"), 1},
        {Action::Refresh, {}, 0},
        {Action::Quit, {}, 0},
    };
    for (const InstanceRequest& request : rows) {
        const QByteArray line = EncodeRequest(request);
        EXPECT_TRUE(line.endsWith('\n'));
        EXPECT_EQ(line.count('\n'), 1) << line.constData();
        InstanceRequest decoded;
        ASSERT_TRUE(DecodeRequest(line, &decoded)) << line.constData();
        EXPECT_EQ(decoded, request) << line.constData();
    }
    for (const char* bad : {"", "\n", "[]", "[\"open\",\"A\"]", "[\"fly\",\"\",0]", "[\"open\",1,0]",
                            "[\"open\",\"A\",-1]", "[\"open\",\"A\",4294967296]", "{\"a\":1}", "not json"}) {
        InstanceRequest decoded;
        decoded.tab = QStringLiteral("untouched");
        EXPECT_FALSE(DecodeRequest(QByteArray(bad), &decoded)) << bad;
        EXPECT_EQ(decoded.tab, QStringLiteral("untouched"));
    }
}

TEST_F(SingleInstance, StartupIdsGiveTheirTime) {
    EXPECT_EQ(StartupIdTime(QStringLiteral("openbox-12-host-sh-0_TIME4242")), 4242u);
    EXPECT_EQ(StartupIdTime(QStringLiteral("a_TIME1_TIME99")), 99u);
    EXPECT_EQ(StartupIdTime(QStringLiteral("no-time")), 0u);
    EXPECT_EQ(StartupIdTime(QStringLiteral("x_TIME")), 0u);
    EXPECT_EQ(StartupIdTime(QStringLiteral("x_TIME12ab")), 0u);
    EXPECT_EQ(StartupIdTime(QStringLiteral("x_TIME4294967296")), 0u);
}

TEST_F(SingleInstance, BusActionsBecomeRequests) {
    const QVariantMap withTime{{QStringLiteral("desktop-startup-id"), QStringLiteral("id_TIME77")}};
    struct Row {
        const char* name;
        QVariantList parameter;
        bool known;
        Action action;
        const char* tab;
    };
    const Row rows[] = {
        {"open", {}, true, Action::Open, ""},
        {"open", {QVariant::fromValue(QDBusVariant(QStringLiteral("Games")))}, true, Action::Open, "Games"},
        {"open", {QStringLiteral("Games")}, true, Action::Open, "Games"},
        {"settings", {}, true, Action::Settings, ""},
        {"add-applications", {QStringLiteral("Apps")}, true, Action::AddApplications, "Apps"},
        {"refresh", {}, true, Action::Refresh, ""},
        {"quit", {}, true, Action::Quit, ""},
        // Activate has a call of its own; unknown names and odd parameters are refused.
        {"activate", {}, false, Action::Activate, ""},
        {"Quit", {}, false, Action::Activate, ""},
        {"open", {QVariant::fromValue(QDBusVariant(42))}, false, Action::Activate, ""},
        {"open", {QStringLiteral("A"), QStringLiteral("B")}, false, Action::Activate, ""},
    };
    for (const Row& row : rows) {
        InstanceRequest request;
        const bool known =
            ApplicationBus::ActionRequest(QString::fromLatin1(row.name), row.parameter, withTime, &request);
        EXPECT_EQ(known, row.known) << row.name;
        if (!known)
            continue;
        EXPECT_EQ(request.action, row.action) << row.name;
        EXPECT_EQ(request.tab, QString::fromUtf8(row.tab)) << row.name;
        EXPECT_EQ(request.timestamp, 77u) << row.name;
    }
}

// A later start's hand-over, run beside the event loop that the instance takes requests from.
HandOverResult HandOverBeside(InstanceLock& lock, const QString& key, const InstanceRequest& request) {
    return RunBeside([&] { return HandOver(lock, key, request); });
}

TEST_F(SingleInstance, ALaterStartHandsItsRequestToTheHolderOverTheSocket) {
    const QString key = InstanceKey(QStringLiteral("/data/a"));
    auto holder = std::make_unique<InstanceLock>(key);
    ASSERT_TRUE(holder->Held());
    // A socket file left by an instance that was killed is replaced.
    QFile stale(m_runtime.path() + QStringLiteral("/kelvara-") + key + QStringLiteral(".socket"));
    ASSERT_TRUE(stale.open(QIODevice::WriteOnly));
    stale.close();
    InstanceServer server(key);
    ASSERT_TRUE(server.Listening()) << server.ErrorText().toStdString();
    QList<InstanceRequest> received;
    QObject::connect(&server, &InstanceServer::requested,
                     [&](const InstanceRequest& r) { received.append(r); });

    InstanceLock later(key);
    ASSERT_FALSE(later.Held());
    const InstanceRequest open{Action::Open, QStringLiteral("Games"), 9};
    EXPECT_EQ(HandOverBeside(later, key, open), HandOverResult::Delivered);
    ASSERT_EQ(received.size(), 1);
    EXPECT_EQ(received[0], open);
    EXPECT_FALSE(later.Held());

    // A line that is no request gets "error" and no request.
    QLocalSocket socket;
    socket.connectToServer(stale.fileName());
    ASSERT_TRUE(socket.waitForConnected(30000));
    socket.write("[\"fly\",\"\",0]\n");
    QByteArray answer;
    const QDeadlineTimer deadline(30000);
    while (!answer.contains('\n') && !deadline.hasExpired()) {
        QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
        answer += socket.readAll();
    }
    EXPECT_EQ(answer, QByteArray("error\n"));
    EXPECT_EQ(received.size(), 1);

    // Once the instance has stopped taking requests and let the lock go, the later start takes
    // the lock instead of waiting for an answer.
    server.Close();
    holder.reset();
    EXPECT_EQ(HandOverBeside(later, key, InstanceRequest{}), HandOverResult::NoInstance);
    EXPECT_TRUE(later.Held());
}

} // namespace
