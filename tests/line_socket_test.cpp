#include "platform/line_socket.h"

#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QTemporaryDir>
#include <QtConcurrent>

#include "qt_app_environment.h"

namespace {

// Asks on another thread while this one runs the server's event loop.
std::optional<QByteArray> AskBeside(const QString& path, const QByteArray& line) {
    QFuture<std::optional<QByteArray>> answer = QtConcurrent::run([=] { return AskLine(path, line, 30000); });
    const QDeadlineTimer deadline(60000);
    while (!answer.isFinished() && !deadline.hasExpired())
        QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
    EXPECT_TRUE(answer.isFinished()) << "the question got no end";
    return answer.result();
}

TEST(LineSocket, EachConnectionGetsOneAnswerAndOnlyWholeShortLinesCount) {
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const QString path = dir.filePath(QStringLiteral("s.socket"));
    LineServer server(16, [](const QByteArray& line) { return line == "yes\n"; });
    QList<QByteArray> taken;
    QObject::connect(&server, &LineServer::taken, [&](const QByteArray& line) { taken.append(line); });
    ASSERT_TRUE(server.Listen(path)) << server.ErrorText().toStdString();

    struct Row {
        QByteArray line;
        std::optional<QByteArray> answer;
    } rows[] = {
        {"yes\n", QByteArray("ok\n")},
        {"no\n", QByteArray("error\n")},
        // Whatever follows the first line is not read.
        {"yes\nno\n", QByteArray("ok\n")},
        // Past the limit without a newline: the connection is dropped unanswered.
        {QByteArray(100, 'y'), std::nullopt},
        // A whole line, but longer than the limit.
        {QByteArray(20, 'y') + '\n', QByteArray("error\n")},
    };
    for (const Row& row : rows)
        EXPECT_EQ(AskBeside(path, row.line), row.answer) << row.line.toStdString();
    EXPECT_EQ(taken, (QList<QByteArray>{"yes\n", "yes\n"}));

    // Closed, it is not there to ask; a name too long for a socket address is refused.
    server.Close();
    EXPECT_FALSE(server.Listening());
    EXPECT_EQ(AskLine(path, "yes\n", 1000), std::nullopt);
    const QString longPath = dir.filePath(QString(200, QLatin1Char('x')));
    EXPECT_FALSE(server.Listen(longPath));
    EXPECT_FALSE(server.ErrorText().isEmpty());
    EXPECT_EQ(AskLine(longPath, "yes\n", 1000), std::nullopt);
}

} // namespace
