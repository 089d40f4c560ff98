#include "tabs/launch.h"

#include <QDir>
#include <QFileInfo>
#include <QMimeDatabase>
#include <QProcess>
#include <QStandardPaths>

#include "common/own_environment.h"
#include "tabs/desktop_app.h"
#include "tabs/desktop_file.h"

namespace {

QString Shown(const QString& path) {
    return QDir::toNativeSeparators(path);
}

UserText StartProgram(const QString& program, const QStringList& arguments, const QString& workingDir) {
    QProcess process;
    process.setProgram(program);
    process.setArguments(arguments);
    process.setWorkingDirectory(workingDir);
    process.setProcessEnvironment(EnvironmentForPrograms());
    if (!process.startDetached())
        return UserText::plain(process.errorString());
    return {};
}

QString WorkingDirFor(const TItemData& item, const QString& fallback) {
    return item.WorkingDir.isEmpty() ? fallback : item.WorkingDir;
}

UserText LaunchDesktopEntry(const TItemData& item, const QFileInfo& target, const LateFailure& lateFailure) {
    const QString path = target.absoluteFilePath();
    // GIO starts applications only; a Link entry names an address to open.
    const std::optional<DesktopFileInfo> entry = ReadDesktopFile(path);
    if (entry && entry->type == QLatin1String("Link")) {
        if (entry->url.isEmpty())
            return UserText("Launch.NoUrl", "the link entry %1 has no URL").arg(Shown(path));
        return OpenWithDesktop(entry->url, lateFailure);
    }
    return LaunchDesktopApp(path, QProcess::splitCommand(item.Arguments),
                            WorkingDirFor(item, QDir::homePath()));
}

// A compiled program that lacks the execute permission: opening it as a document would only show
// its bytes.
bool IsNativeProgram(const QFileInfo& target) {
    const QMimeType type = QMimeDatabase().mimeTypeForFile(target, QMimeDatabase::MatchContent);
    return type.inherits(QStringLiteral("application/x-executable")) ||
           type.inherits(QStringLiteral("application/x-sharedlib"));
}

} // namespace

UserText LaunchItem(const TItemData& item, const LateFailure& lateFailure) {
    const QString& target = item.Target;
    if (target.isEmpty())
        return UserText("Launch.NoTarget", "the shortcut has no target");
    const QFileInfo info(target);
    if (info.isFile() && info.suffix().compare(QLatin1String("desktop"), Qt::CaseInsensitive) == 0)
        return LaunchDesktopEntry(item, info, lateFailure);
    if (info.isFile() && info.isExecutable()) {
        return StartProgram(info.absoluteFilePath(), QProcess::splitCommand(item.Arguments),
                            WorkingDirFor(item, info.absolutePath()));
    }
    if (info.isFile() && IsNativeProgram(info))
        return UserText("Launch.NotExecutable", "the program %1 is not executable").arg(Shown(target));
    if (info.exists())
        return OpenWithDesktop(info.absoluteFilePath(), lateFailure);
    if (IsAddress(target))
        return OpenWithDesktop(target, lateFailure);
    if (!target.contains(QLatin1Char('/'))) {
        const QString program = QStandardPaths::findExecutable(target);
        if (program.isEmpty())
            return UserText("Launch.NotInstalled", "the program %1 is not installed").arg(target);
        return StartProgram(program, QProcess::splitCommand(item.Arguments),
                            WorkingDirFor(item, QDir::homePath()));
    }
    return UserText("Launch.Missing", "%1 does not exist").arg(Shown(target));
}
