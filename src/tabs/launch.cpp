#include "tabs/launch.h"

#include <QDesktopServices>
#include <QDir>
#include <QFileInfo>
#include <QProcess>
#include <QStandardPaths>
#include <QUrl>

#include "common/regular_file.h"
#include "formats/desktop_entry.h"

namespace {

bool StartProgram(const QString& program, const QStringList& arguments, const QString& workingDir) {
    return QProcess::startDetached(program, arguments, workingDir);
}

QString WorkingDirFor(const TItemData& item, const QString& fallback) {
    return item.WorkingDir.isEmpty() ? fallback : item.WorkingDir;
}

bool LaunchDesktopEntry(const TItemData& item, const QFileInfo& target) {
    const std::optional<QByteArray> bytes = ReadRegularFile(target.absoluteFilePath(), kMaxDesktopEntrySize);
    if (!bytes)
        return false;
    const DesktopEntry entry = ParseDesktopEntry(*bytes);
    if (entry.type == QLatin1String("Link"))
        return !entry.url.isEmpty() && QDesktopServices::openUrl(QUrl::fromUserInput(entry.url));
    QStringList command = DesktopExecArguments(entry.exec);
    if (command.isEmpty())
        return false;
    QString program = command.takeFirst();
    command += QProcess::splitCommand(item.Arguments);
    // A console program gets a terminal window: the system's default terminal emulator, which
    // takes "-e program arguments...". Without one it starts as it is.
    if (entry.terminal) {
        const QString terminal = QStandardPaths::findExecutable(QStringLiteral("x-terminal-emulator"));
        if (!terminal.isEmpty()) {
            command.prepend(program);
            command.prepend(QStringLiteral("-e"));
            program = terminal;
        }
    }
    const QString defaultDir = entry.path.isEmpty() ? target.absolutePath() : entry.path;
    return StartProgram(program, command, WorkingDirFor(item, defaultDir));
}

// "http://...", "mailto:..." and the like; a single letter before ":" is a Windows drive.
bool IsAddress(const QString& target) {
    const QUrl url(target, QUrl::StrictMode);
    return url.isValid() && url.scheme().size() > 1;
}

} // namespace

bool LaunchItem(const TItemData& item) {
    const QString& target = item.Target;
    if (target.isEmpty())
        return false;
    const QFileInfo info(target);
    if (info.isFile() && info.suffix().compare(QLatin1String("desktop"), Qt::CaseInsensitive) == 0)
        return LaunchDesktopEntry(item, info);
    if (info.isFile() && info.isExecutable()) {
        return StartProgram(info.absoluteFilePath(), QProcess::splitCommand(item.Arguments),
                            WorkingDirFor(item, info.absolutePath()));
    }
    if (info.exists())
        return QDesktopServices::openUrl(QUrl::fromLocalFile(info.absoluteFilePath()));
    if (IsAddress(target))
        return QDesktopServices::openUrl(QUrl(target));
    if (!target.contains(QLatin1Char('/'))) {
        const QString program = QStandardPaths::findExecutable(target);
        if (!program.isEmpty())
            return StartProgram(program, QProcess::splitCommand(item.Arguments),
                                WorkingDirFor(item, QDir::homePath()));
    }
    return false;
}
