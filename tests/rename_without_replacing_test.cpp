#include "platform/rename_without_replacing.h"

#include <fcntl.h>
#include <unistd.h>

#include <atomic>
#include <thread>

#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include "support/file_bytes.h"

namespace {

TEST(RenameWithoutReplacing, NeverTakesTheNameOfAnExistingEntry) {
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const QString source = dir.filePath(QStringLiteral("source.lnk"));
    WriteBytes(source, "source");
    WriteBytes(dir.filePath(QStringLiteral("file.lnk")), "file");
    QDir().mkpath(dir.filePath(QStringLiteral("empty folder")));
    QFile::link(dir.filePath(QStringLiteral("nowhere")), dir.filePath(QStringLiteral("dangling")));

    // A file, an empty folder (which rename(2) would replace) and a link that points nowhere.
    for (const char* taken : {"file.lnk", "empty folder", "dangling"})
        EXPECT_FALSE(RenameWithoutReplacing(source, dir.filePath(QLatin1String(taken)))) << taken;
    EXPECT_EQ(ReadBytes(source), "source");
    EXPECT_EQ(ReadBytes(dir.filePath(QStringLiteral("file.lnk"))), "file");
    EXPECT_TRUE(QDir(dir.filePath(QStringLiteral("empty folder"))).exists());

    EXPECT_FALSE(
        RenameWithoutReplacing(dir.filePath(QStringLiteral("missing")), dir.filePath(QStringLiteral("x"))));
    EXPECT_TRUE(RenameWithoutReplacing(source, dir.filePath(QStringLiteral("renamed.lnk"))));
    EXPECT_EQ(ReadBytes(dir.filePath(QStringLiteral("renamed.lnk"))), "source");
    EXPECT_TRUE(RenameWithoutReplacing(dir.filePath(QStringLiteral("empty folder")),
                                       dir.filePath(QStringLiteral("moved"))));
}

// Another program creates the target while the rename runs: exactly one of the two gets the
// name, and the loser's data is still where it was.
TEST(RenameWithoutReplacing, ARaceWithAnotherWriterLosesNothing) {
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const QString source = dir.filePath(QStringLiteral("source"));
    const QString target = dir.filePath(QStringLiteral("target"));
    const QByteArray targetName = QFile::encodeName(target);
    for (int round = 0; round < 2000; ++round) {
        QFile::remove(target);
        WriteBytes(source, "renamed");
        std::atomic<bool> go{false};
        bool created = false;
        std::thread writer([&] {
            while (!go.load()) {
            }
            const int fd = open(targetName.constData(), O_WRONLY | O_CREAT | O_EXCL, 0644);
            if (fd >= 0) {
                created = write(fd, "written", 7) == 7;
                close(fd);
            }
        });
        go = true;
        const bool renamed = RenameWithoutReplacing(source, target);
        writer.join();
        ASSERT_NE(renamed, created) << "round " << round;
        EXPECT_EQ(ReadBytes(target), renamed ? "renamed" : "written");
        EXPECT_EQ(QFile::exists(source), !renamed);
    }
}

} // namespace
