#include "tabs/desktop_opener.h"

#include <QCoreApplication>
#include <QProcess>
#include <QStandardPaths>
#include <QUrl>

#include "common/own_environment.h"

namespace {

// The meaning of xdg-open's exit codes, as its manual gives them.
UserText ExitReason(int code) {
    switch (code) {
    case 2:
        return UserText("Open.Missing", "it does not exist");
    case 3:
        return UserText("Open.NoApplication", "no application is set up to open it");
    case 4:
        return UserText("Open.Failed", "its application could not open it");
    default:
        return UserText("Open.ExitCode", "xdg-open ended with exit code %1").arg(code);
    }
}

} // namespace

UserText OpenWithDesktop(const QString& target, const LateFailure& lateFailure) {
    // Anything else might be taken by xdg-open for an option ("--manual") or a name of its own.
    if (!IsOpenableTarget(target))
        return UserText("Open.NotOpenable", "\"%1\" is neither a file path nor an address with a host")
            .arg(target);
    const QString opener = QStandardPaths::findExecutable(QStringLiteral("xdg-open"));
    if (opener.isEmpty())
        return UserText("Open.NoOpener", "xdg-open is not installed (package xdg-utils)");
    // The process object lives until xdg-open ends, which may be when the application it started
    // ends; it belongs to the application object, so that none is left over at the end.
    auto* process = new QProcess(QCoreApplication::instance());
    process->setProgram(opener);
    process->setArguments({target});
    process->setProcessChannelMode(QProcess::ForwardedChannels);
    process->setStandardInputFile(QProcess::nullDevice());
    process->setProcessEnvironment(EnvironmentForPrograms());
    QObject::connect(process, &QProcess::finished, process,
                     [process, lateFailure](int code, QProcess::ExitStatus status) {
                         if (lateFailure && status == QProcess::NormalExit && code != 0)
                             lateFailure(ExitReason(code));
                         process->deleteLater();
                     });
    process->start();
    if (!process->waitForStarted()) {
        const UserText reason = UserText::plain(process->errorString());
        delete process;
        return reason;
    }
    return {};
}

bool IsAddress(const QString& target) {
    const QUrl url(target, QUrl::StrictMode);
    return url.isValid() && url.scheme().size() > 1;
}

bool IsOpenableTarget(const QString& target) {
    if (target.startsWith(u'/'))
        return true;
    const QUrl url(target, QUrl::StrictMode);
    if (!url.isValid() || url.scheme().size() < 2)
        return false;
    if (url.isLocalFile())
        return url.toLocalFile().startsWith(u'/');
    return !url.host().isEmpty();
}
