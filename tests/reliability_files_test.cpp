// Faults below the user's files: a full disk, a process killed in the middle of a write, a copy
// or move that cannot finish. Whatever happens, every file on disk is the old one or the new one,
// whole, and the source of a failed copy or move is as it was.

#include <csignal>
#include <functional>
#include <random>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/statvfs.h>
#include <sys/wait.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QTemporaryDir>

#include "common/error.h"
#include "common/settings.h"
#include "config/startup_entry.h"
#include "formats/shortcut_link.h"
#include "platform/file_operation.h"
#include "support/private_mounts.h"
#include "tabs/order_file.h"
#include "support/file_bytes.h"

using namespace Qt::StringLiterals;

namespace {

QByteArray Read(const QString& path) {
    return ReadBytes(path);
}

void Write(const QString& path, const QByteArray& bytes) {
    WriteBytes(path, bytes);
}

// Every entry below folder (hidden ones included) with its content, one text per entry.
QStringList Snapshot(const QString& folder) {
    QStringList entries;
    QDirIterator it(folder, QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot,
                    QDirIterator::Subdirectories);
    while (it.hasNext()) {
        const QString path = it.next();
        QString entry = QDir(folder).relativeFilePath(path);
        if (it.fileInfo().isFile())
            entry += QLatin1Char('=') + QString::number(qHash(Read(path))) + QLatin1Char('/') +
                     QString::number(it.fileInfo().size());
        entries.append(entry);
    }
    entries.sort();
    return entries;
}

// Fills what is left of the file system that holds folder.
void FillDisk(const QString& folder) {
    QFile filler(folder + QStringLiteral("/filler"));
    ASSERT_TRUE(filler.open(QIODevice::WriteOnly | QIODevice::Unbuffered));
    const QByteArray block(1024, 'f');
    while (filler.write(block) == block.size()) {
    }
}

quint64 FreeBytes(const QString& folder) {
    struct statvfs info {};
    statvfs(QFile::encodeName(folder).constData(), &info);
    return quint64(info.f_bavail) * info.f_frsize;
}

StoredSettings SampleSettings(const QString& skin) {
    StoredSettings s;
    s.SkinName = skin;
    s.TranslationPath = QStringLiteral("/opt/Kelvara/Translation/Deutsch.txt");
    s.TranslationChosen = true;
    s.settings.Spacing = 12;
    s.settings.Screen = 1;
    s.settings.AlphaV = 200;
    return s;
}

void WriteShortcut(const QString& path, const QString& target) {
    TShortcutLink link;
    link.ShortcutFile = path;
    link.Target = target;
    link.Description = QStringLiteral("Launches ") + QFileInfo(target).fileName() + QLatin1Char('.');
    link.Write();
}

// A tab folder of many items with an order file naming them all.
void MakeTabFolder(const QString& folder, int items) {
    QByteArray order;
    for (int i = 0; i < items; ++i) {
        const QString name = QStringLiteral("Item number %1.lnk").arg(i);
        Write(folder + QLatin1Char('/') + name, QByteArray());
        order += name.toUtf8() + "\r\n";
    }
    Write(folder + QStringLiteral("/order.lst"), order);
}

// Runs write in a child process whose files may grow to limit bytes: the kernel kills it with
// SIGXFSZ at the write that would go further, at whatever point of its work that is. Returns the
// child's wait status.
int RunWithFileSizeLimit(rlim_t limit, const std::function<void()>& write) {
    const pid_t child = fork();
    if (child == 0) {
        rlimit size{limit, limit};
        setrlimit(RLIMIT_FSIZE, &size);
        std::signal(SIGXFSZ, SIG_DFL);
        try {
            write();
        } catch (...) {
            _exit(3);
        }
        _exit(0);
    }
    int status = 0;
    waitpid(child, &status, 0);
    return status;
}

// Runs write over and over in a child process and kills it (SIGKILL) after a random moment.
void KillWhileWriting(std::mt19937& random, const std::function<void(int)>& write) {
    const pid_t child = fork();
    if (child == 0) {
        try {
            for (int round = 0;; ++round)
                write(round);
        } catch (...) {
            _exit(3);
        }
    }
    usleep(std::uniform_int_distribution<useconds_t>(200, 6000)(random));
    kill(child, SIGKILL);
    int status = 0;
    waitpid(child, &status, 0);
    ASSERT_TRUE(WIFSIGNALED(status)) << "the writer stopped by itself, status " << status;
}

// The files a killed writer may leave beside the real ones: its unfinished temporary files.
QStringList WithoutTemporaries(QStringList names, const QString& realName) {
    names.removeIf([&](const QString& name) { return name.startsWith(realName + QLatin1Char('.')); });
    return names;
}

class ReliabilityFiles : public testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(m_dir.isValid()); }
    QString path(const QString& name) const { return m_dir.filePath(name); }

    QTemporaryDir m_dir;
};

} // namespace

// Each writer of the user's files, on a disk with no room left: it raises its message, the old
// file stays whole and no partial file is left beside it.
TEST_F(ReliabilityFiles, EveryWriterOnAFullDiskKeepsTheOldFile) {
    REQUIRE_PRIVATE_MOUNTS();
    struct Row {
        const char* what;
        QString file;
        std::function<void()> prepare;
        std::function<void()> write;
        QString message;
    };
    const QString disk = path(QStringLiteral("disk"));
    ASSERT_TRUE(QDir().mkpath(disk));
    const QString settings = disk + QStringLiteral("/Kelvara.cfg.ini");
    const QString tab = disk + QStringLiteral("/Tabs/Work");
    const QString shortcut = tab + QStringLiteral("/Editor.lnk");
    const std::vector<Row> rows = {
        {"settings file", settings, [&] { SaveSettings(settings, SampleSettings(QStringLiteral("Old"))); },
         [&] { SaveSettings(settings, SampleSettings(QStringLiteral("A much longer skin name"))); },
         QStringLiteral("Unable to write to ") + settings},
        {"order file", tab + QStringLiteral("/order.lst"), [&] { MakeTabFolder(tab, 40); },
         [&] { SetOrderPosition(tab, QStringLiteral("Item number 39.lnk"), 0); },
         QStringLiteral("Unable to write ") + tab + QStringLiteral("/order.lst")},
        {"shortcut", shortcut,
         [&] {
             QDir().mkpath(tab);
             WriteShortcut(shortcut, QStringLiteral("/usr/bin/old"));
         },
         [&] { WriteShortcut(shortcut, QStringLiteral("/usr/bin/") + QString(300, QLatin1Char('n'))); },
         QStringLiteral("Unable to create .lnk file")},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.what);
        const ScopedMount tmpfs = ScopedMount::Tmpfs(disk, 64 * 1024);
        ASSERT_TRUE(tmpfs.mounted());
        row.prepare();
        const QByteArray old = Read(row.file);
        FillDisk(disk);
        const QStringList before = Snapshot(disk);
        try {
            row.write();
            ADD_FAILURE() << "the write reported success on a full disk";
        } catch (const Error& e) {
            EXPECT_EQ(e.message(), row.message);
        }
        EXPECT_EQ(Read(row.file), old);
        EXPECT_EQ(Snapshot(disk), before);
    }
}

// A copy or move onto a disk that fills up half way: the source is untouched, nothing partial
// shows at the destination, and the room taken by the attempt is given back.
TEST_F(ReliabilityFiles, ACopyOrMoveThatRunsOutOfRoomLeavesTheSourceAndTheDestination) {
    REQUIRE_PRIVATE_MOUNTS();
    Write(path(QStringLiteral("home/big.iso")), QByteArray(200 * 1024, 'b'));
    for (const char* name : {"one", "two", "three"})
        Write(path(QStringLiteral("home/docs/%1.txt").arg(QLatin1String(name))),
              QByteArray(25 * 1024, name[0]));
    const QString tab = path(QStringLiteral("tab"));
    ASSERT_TRUE(QDir().mkpath(tab));
    const ScopedMount tmpfs = ScopedMount::Tmpfs(tab, 64 * 1024);
    ASSERT_TRUE(tmpfs.mounted());
    Write(tab + QStringLiteral("/keep.lnk"), QByteArray(1024, 'k'));
    Write(tab + QStringLiteral("/big.iso"), QByteArray(4096, 'o')); // an older file of the same name

    const QStringList source = Snapshot(path(QStringLiteral("home")));
    const QStringList destination = Snapshot(tab);
    const quint64 free = FreeBytes(tab);
    struct Row {
        const char* what;
        TAMHFileOp::TOperation operation;
        const char* from;
    };
    const Row rows[] = {
        {"copy a large file over an older one", TAMHFileOp::foCopy, "home/big.iso"},
        {"move a large file over an older one", TAMHFileOp::foMove, "home/big.iso"},
        {"copy a folder", TAMHFileOp::foCopy, "home/docs"},
        {"move a folder", TAMHFileOp::foMove, "home/docs"},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.what);
        TAMHFileOp op;
        op.AskUser = [](const QString&, const QString&) { return true; };
        op.Operation = row.operation;
        op.FilesFrom = {path(QLatin1String(row.from))};
        op.FilesTo = {tab};
        EXPECT_FALSE(op.execute());
        EXPECT_EQ(Snapshot(path(QStringLiteral("home"))), source);
        EXPECT_EQ(Snapshot(tab), destination);
        EXPECT_EQ(FreeBytes(tab), free);
    }
}

// A move onto a name that exists asks first; declining keeps both, file or folder.
TEST_F(ReliabilityFiles, DecliningToReplaceOnAMoveKeepsBoth) {
    Write(path(QStringLiteral("home/notes.txt")), "mine");
    Write(path(QStringLiteral("tab/notes.txt")), "theirs");
    Write(path(QStringLiteral("home/docs/a.txt")), "a");
    Write(path(QStringLiteral("tab/docs/b.txt")), "b");
    const QStringList before = Snapshot(m_dir.path());
    for (const char* from : {"home/notes.txt", "home/docs"}) {
        SCOPED_TRACE(from);
        QStringList questions;
        TAMHFileOp op;
        op.AskUser = [&](const QString&, const QString& text) {
            questions.append(text);
            return false;
        };
        op.Operation = TAMHFileOp::foMove;
        op.FilesFrom = {path(QLatin1String(from))};
        op.FilesTo = {path(QStringLiteral("tab"))};
        EXPECT_FALSE(op.execute());
        EXPECT_EQ(questions.size(), 1);
        EXPECT_EQ(Snapshot(m_dir.path()), before);
    }
}

// The process is killed by the kernel at every point of writing the settings file and an order
// file (the file-size limit stops it at the write that would pass the chosen byte): the file on
// disk is the old one or the new one, whole.
TEST_F(ReliabilityFiles, KilledAtAnyByteOfAWriteLeavesTheOldOrTheNewFileWhole) {
    struct Row {
        const char* what;
        QString file;
        std::function<void()> prepare;
        std::function<void()> write;
    };
    const QString settings = path(QStringLiteral("Kelvara.cfg.ini"));
    const QString tab = path(QStringLiteral("Tabs/Work"));
    const std::vector<Row> rows = {
        {"SaveSettings", settings, [&] { SaveSettings(settings, SampleSettings(QStringLiteral("Old"))); },
         [&] { SaveSettings(settings, SampleSettings(QStringLiteral("A much longer skin name"))); }},
        {"SetOrderPosition", tab + QStringLiteral("/order.lst"), [&] { MakeTabFolder(tab, 150); },
         [&] { SetOrderPosition(tab, QStringLiteral("Item number 149.lnk"), 0); }},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.what);
        row.prepare();
        const QByteArray old = Read(row.file);
        const QStringList names = QDir(QFileInfo(row.file).path()).entryList(QDir::Files | QDir::Hidden);
        row.write();
        const QByteArray fresh = Read(row.file);
        ASSERT_NE(fresh, old);
        Write(row.file, old);

        const rlim_t step = std::max<rlim_t>(1, rlim_t(fresh.size()) / 97);
        int killed = 0;
        for (rlim_t limit = 0; limit <= rlim_t(fresh.size()); limit += step) {
            const int status = RunWithFileSizeLimit(limit, row.write);
            const bool finished = WIFEXITED(status) && WEXITSTATUS(status) == 0;
            killed += WIFSIGNALED(status) && WTERMSIG(status) == SIGXFSZ;
            EXPECT_EQ(Read(row.file), finished ? fresh : old) << "limit " << limit << ", status " << status;
            Write(row.file, old);
        }
        EXPECT_GT(killed, 0) << "the limit never stopped the writer";
        EXPECT_EQ(RunWithFileSizeLimit(rlim_t(fresh.size()) + 1, row.write), 0);
        EXPECT_EQ(Read(row.file), fresh);
        const QStringList after = QDir(QFileInfo(row.file).path()).entryList(QDir::Files | QDir::Hidden);
        EXPECT_EQ(WithoutTemporaries(after, QFileInfo(row.file).fileName()), names);
    }
}

// The same writers killed from outside at random moments, each alternating two contents.
TEST_F(ReliabilityFiles, KilledAtRandomMomentsLeavesOneWholeVersion) {
    std::mt19937 random(20261208);
    const QString settings = path(QStringLiteral("Kelvara.cfg.ini"));
    const StoredSettings versions[] = {SampleSettings(QStringLiteral("Aqua")),
                                       SampleSettings(QStringLiteral("A much longer skin name"))};
    QByteArray whole[2];
    for (int i = 0; i < 2; ++i) {
        SaveSettings(settings, versions[i]);
        whole[i] = Read(settings);
    }
    const QString tab = path(QStringLiteral("Tabs/Work"));
    MakeTabFolder(tab, 150);
    const QString order = tab + QStringLiteral("/order.lst");
    const QByteArray orderBefore = Read(order);

    for (int round = 0; round < 20; ++round) {
        KillWhileWriting(random, [&](int n) { SaveSettings(settings, versions[n % 2]); });
        const QByteArray now = Read(settings);
        EXPECT_TRUE(now == whole[0] || now == whole[1]) << "round " << round << ": " << now.constData();

        // Every version of the order file names the same 150 items, each once.
        KillWhileWriting(random, [&](int n) {
            SetOrderPosition(tab, QStringLiteral("Item number %1.lnk").arg(n % 150), (n * 37) % 150);
        });
        QStringList lines = QString::fromUtf8(Read(order)).split(QStringLiteral("\r\n"), Qt::SkipEmptyParts);
        QStringList expected =
            QString::fromUtf8(orderBefore).split(QStringLiteral("\r\n"), Qt::SkipEmptyParts);
        lines.sort();
        expected.sort();
        EXPECT_EQ(lines, expected) << "round " << round;
    }
}

// A settings file larger than the reader takes is read in part; saving over it would drop the
// rest, so the save is refused with the usual message and the file stays as it was.
TEST_F(ReliabilityFiles, AFileReadOnlyInPartIsNeverWrittenOver) {
    const QString settings = path(QStringLiteral("Kelvara.cfg.ini"));
    QByteArray big = "[Appearance]\nSkin=Aqua\n";
    while (big.size() <= 1024 * 1024)
        big += "; a note kept by hand, line after line\n";
    big += "[Position]\nTabPos=Top\n";
    Write(settings, big);
    try {
        SaveSettings(settings, SampleSettings(QStringLiteral("Ember")));
        ADD_FAILURE() << "the save reported success";
    } catch (const Error& e) {
        EXPECT_EQ(e.message(), QStringLiteral("Unable to write to ") + settings);
    }
    EXPECT_EQ(Read(settings), big);

    // An order file past the size an order file can have: neither a start nor a move cuts it.
    const QString tab = path(QStringLiteral("Tabs/Work"));
    Write(tab + QStringLiteral("/a.lnk"), QByteArray());
    QByteArray order;
    while (order.size() <= 1024 * 1024)
        order += "a.lnk\r\nstale.lnk\r\n";
    Write(tab + QStringLiteral("/order.lst"), order);
    OrderedListing(tab, QStringLiteral("*.lnk"), true, false);
    EXPECT_THROW(SetOrderPosition(tab, QStringLiteral("a.lnk"), 0), Error);
    EXPECT_EQ(Read(tab + QStringLiteral("/order.lst")), order);
}

// Files the program writes may be symbolic links put there by anyone, pointing anywhere. No writer
// writes through one: the link and the file behind it stay as they were, and a write the user
// asked for says why it did not happen.
TEST_F(ReliabilityFiles, NoWriterWritesThroughASymbolicLink) {
    const QString tab = path(QStringLiteral("Kelvara/Tabs/Work"));
    Write(tab + QStringLiteral("/a.lnk"), QByteArray());
    const QString victim = path(QStringLiteral("home/victim.txt"));
    const QString missing = path(QStringLiteral("home/not-there.txt"));
    struct Row {
        const char* what;
        QString file;
        QString target;
        std::function<void()> write;
        bool raises;
    };
    const std::vector<Row> rows = {
        {"settings file", path(QStringLiteral("Kelvara/Kelvara.cfg.ini")), victim,
         [&] {
             SaveSettings(path(QStringLiteral("Kelvara/Kelvara.cfg.ini")),
                          SampleSettings(QStringLiteral("Ember")));
         },
         true},
        {"order file cleaned at a start", tab + QStringLiteral("/order.lst"), victim,
         [&] { OrderedListing(tab, QStringLiteral("*.lnk"), true, false); }, false},
        {"order file of the tabs folder", path(QStringLiteral("Kelvara/Tabs/order.lst")), victim,
         [&] { OrderedListing(path(QStringLiteral("Kelvara/Tabs")), QStringLiteral("*.*"), false, true); },
         false},
        {"order file after a move", tab + QStringLiteral("/order.lst"), victim,
         [&] { SetOrderPosition(tab, QStringLiteral("a.lnk"), 0); }, true},
        {"order file made anew", tab + QStringLiteral("/order.lst"), missing,
         [&] { SetOrderPosition(tab, QStringLiteral("a.lnk"), 0); }, true},
        {"shortcut", tab + QStringLiteral("/b.lnk"), victim,
         [&] { WriteShortcut(tab + QStringLiteral("/b.lnk"), QStringLiteral("/usr/bin/b")); }, true},
        {"start-up entry", path(QStringLiteral("autostart/Kelvara.desktop")), missing,
         [&] {
             CreateStartupEntry(path(QStringLiteral("autostart/Kelvara.desktop")),
                                QStringLiteral("/opt/k/Kelvara"), QStringLiteral("/opt/k/"));
         },
         true},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.what);
        const QByteArray userText = "the user's own text\nstale.lnk\n";
        Write(victim, userText);
        QFile::remove(row.file);
        QDir().mkpath(QFileInfo(row.file).path());
        ASSERT_TRUE(QFile::link(row.target, row.file));
        try {
            row.write();
            EXPECT_FALSE(row.raises) << "the write reported success";
        } catch (const Error& e) {
            EXPECT_TRUE(row.raises) << e.message().toStdString();
            EXPECT_TRUE(e.message().contains(QStringLiteral("symbolic link"))) << e.message().toStdString();
        }
        EXPECT_EQ(QFileInfo(row.file).symLinkTarget(), QFileInfo(row.target).absoluteFilePath());
        EXPECT_EQ(Read(victim), userText);
        EXPECT_FALSE(QFile::exists(missing));
        QFile::remove(row.file);
    }
}

// A file written anew keeps the permissions of the file it replaces: one the user keeps private
// stays private, one shared with others stays readable to them.
TEST_F(ReliabilityFiles, AReplacedFileKeepsItsPermissions) {
    const QString tab = path(QStringLiteral("Kelvara/Tabs/Work"));
    Write(tab + QStringLiteral("/a.lnk"), QByteArray());
    Write(tab + QStringLiteral("/b.lnk"), QByteArray());
    const QString settings = path(QStringLiteral("Kelvara/Kelvara.cfg.ini"));
    const QString order = tab + QStringLiteral("/order.lst");
    const QString shortcut = tab + QStringLiteral("/c.lnk");
    struct Row {
        const char* what;
        QString file;
        std::function<void(int round)> write; // writes different bytes each round
    };
    const std::vector<Row> rows = {
        {"settings file", settings,
         [&](int round) { SaveSettings(settings, SampleSettings(round % 2 ? u"Ember"_s : u"Aqua"_s)); }},
        {"order file", order,
         [&](int round) { SetOrderPosition(tab, round % 2 ? u"a.lnk"_s : u"b.lnk"_s, 0); }},
        {"shortcut", shortcut,
         [&](int round) { WriteShortcut(shortcut, round % 2 ? u"/usr/bin/one"_s : u"/usr/bin/two"_s); }},
    };
    int round = 0;
    for (const Row& row : rows) {
        row.write(round++);
        for (const mode_t mode : {0644, 0600, 0640}) {
            SCOPED_TRACE(testing::Message() << row.what << ", mode 0" << std::oct << mode);
            ASSERT_EQ(chmod(QFile::encodeName(row.file).constData(), mode), 0);
            const QByteArray before = Read(row.file);
            row.write(round++);
            EXPECT_NE(Read(row.file), before) << "not written anew";
            struct stat info {};
            ASSERT_EQ(stat(QFile::encodeName(row.file).constData(), &info), 0);
            EXPECT_EQ(info.st_mode & 07777, mode) << "now 0" << std::oct << (info.st_mode & 07777);
        }
    }
}
