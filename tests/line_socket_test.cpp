#include "platform/line_socket.h"

#include <gtest/gtest.h>

#include <QTemporaryDir>

#include "qt_app_environment.h"
#include "support/run_beside.h"

namespace {

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
        EXPECT_EQ(RunBeside([&] { return AskLine(path, row.line, 30000); }), row.answer)
            << row.line.toStdString();
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
