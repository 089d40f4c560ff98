#include <cstdio>
#include <exception>
#include <memory>

#include <QApplication>
#include <QFile>
#include <QTimer>

#include "common/error.h"
#include "common/home_folder.h"
#include "common/program_folder.h"
#include "core/application.h"
#include "core/command_line.h"
#include "core/controller.h"
#include "core/startup_trace.h"
#include "core/tooltip_display.h"
#include "core/tooltip_style.h"
#include "platform/desktop_icon_theme.h"
#include "platform/display_mode.h"
#include "platform/single_instance.h"
#include "platform/startup_notification.h"
#include "platform/termination_signals.h"
#include "platform/user_prompts.h"
#include "skins/font_substitutions.h"
#include "tabwindow/tab_accessible.h"
#include "tabs/desktop_app.h"
#include "translation/ui_text.h"

namespace {

void Print(std::FILE* stream, const QString& text) {
    std::fputs(text.toLocal8Bit().constData(), stream);
}

// Hands the request to the instance that runs for this data folder. Only an application object
// without a display is made for it, and gone again when this start goes on as the instance.
// Returns the exit status, or -1 when no instance runs and the lock is now this start's own.
int HandOverToRunningInstance(int argc, char** argv, InstanceLock& lock, const QString& key,
                              const InstanceRequest& request, const QString& dataFolder) {
    QCoreApplication core(argc, argv);
    switch (HandOver(lock, key, request)) {
    case HandOverResult::Delivered:
        return 0;
    case HandOverResult::NoAnswer:
        Print(stderr,
              QStringLiteral("kelvara: the Kelvara that runs for %1 does not answer.\n").arg(dataFolder));
        return 1;
    case HandOverResult::NoInstance:
        break;
    }
    return -1;
}

} // namespace

int main(int argc, char** argv) {
    StartupStep("main");
    QStringList arguments;
    for (int i = 1; i < argc; ++i)
        arguments.append(QString::fromLocal8Bit(argv[i]));
    const CommandLine command = ParseCommandLine(arguments);
    switch (command.outcome) {
    case CommandLine::Outcome::Help:
    case CommandLine::Outcome::Version:
        Print(stdout, command.text);
        return 0;
    case CommandLine::Outcome::Error:
        Print(stderr, command.text + QLatin1Char('\n'));
        return 2;
    case CommandLine::Outcome::Run:
        break;
    }

    // Every folder of the user's lies below the home folder: without one they would be made
    // relative to the file system's root.
    if (!SetUpHomeFolder()) {
        std::fputs("Kelvara cannot find your home folder: HOME names no folder and the password "
                   "database gives none.\n",
                   stderr);
        return 1;
    }

    // One instance per data folder: a file lock and, for a later start, a request to the holder.
    // Taking the lock is one system call, so the first start pays almost nothing for it.
    const ProgramFolder folder(QFile::symLinkTarget(QStringLiteral("/proc/self/exe")));
    const QString key = InstanceKey(folder.userDir());
    InstanceLock lock(key);
    if (lock.Usable() && !lock.Held()) {
        const int status =
            HandOverToRunningInstance(argc, argv, lock, key, command.request, folder.userDir());
        if (status >= 0)
            return status;
    }
    if (command.request.action == InstanceRequest::Action::Quit) {
        Print(stderr, QStringLiteral("kelvara: Kelvara is not running for %1.\n").arg(folder.userDir()));
        return 0;
    }
    lock.Describe(folder.userDir());
    if (!lock.Usable())
        Print(stderr,
              QStringLiteral("kelvara: %1; a second start will not find this one.\n").arg(lock.ErrorText()));

    StartupStep("command line read, instance lock taken");
    PrepareDisplayEnvironment();
    // Qt would abort with advice to reinstall; the user needs to know what is missing instead.
    if (!X11DisplayReachable(argc, argv)) {
        std::fputs("Kelvara needs an X11 display; on Wayland, XWayland must be running.\n", stderr);
        return 1;
    }

    KelvaraApplication app(argc, argv);
    StartupStep("application object made");
    // Later starts may ask from now on; what they ask is carried out once the tabs are there.
    std::unique_ptr<InstanceServer> server;
    std::unique_ptr<TfrmRunning> controller;
    QList<InstanceRequest> early;
    bool started = false;
    if (lock.Held()) {
        server = std::make_unique<InstanceServer>(key);
        if (!server->Listening())
            Print(stderr, QStringLiteral("kelvara: %1; a second start will not find this one.\n")
                              .arg(server->ErrorText()));
        QObject::connect(server.get(), &InstanceServer::requested, server.get(),
                         [&](const InstanceRequest& request) {
                             if (started)
                                 controller->Request(request);
                             else
                                 early.append(request);
                         });
    }

    QuitOnTerminationSignals();
    QApplication::setApplicationName(ApplicationCaption());
    auto* iconTheme = new DesktopIconTheme(&app);
    SetLaunchContextMaker([] { return NewStartupNotifyContext(KelvaraApplication::LastInputTime()); });
    // The program has no main window: it ends only when the controller asks for it.
    QApplication::setQuitOnLastWindowClosed(false);
    InstallFontSubstitutions();
    InstallTooltipStyle();
    InstallTooltipDisplay();
    InstallTabAccessibility();
    // Screen-resolution macro items switch the display through XRandR.
    InstallDisplayModeChanger();

    StartupStep("desktop integration set up");
    try {
        controller =
            std::make_unique<TfrmRunning>(folder, QCoreApplication::arguments().mid(1), DefaultUserPrompts());
        QObject::connect(iconTheme, &DesktopIconTheme::changed, controller.get(),
                         &TfrmRunning::IconThemeChanged);
        StartupStep("controller made");
        controller->Start();
        StartupStep("start done");
    } catch (const std::exception& e) {
        // Before the message loop no error handler reaches: the error ends the program, with its
        // message rather than an abort.
        const auto* error = dynamic_cast<const Error*>(&e);
        DefaultUserPrompts().message(nullptr, ApplicationCaption(),
                                     error ? Worded(error->text()) : QString::fromLocal8Bit(e.what()));
        return 1;
    }
    if (controller->EndRequested())
        return controller->ExitStatus();
    // A signal that came during the start: the loop would not see it any more.
    if (TerminationRequested())
        return 0;
    started = true;
    // The first start only shows its tabs; with an action it also does what the action asks.
    if (command.request.action != InstanceRequest::Action::Activate)
        controller->Request(command.request);
    for (const InstanceRequest& request : std::as_const(early))
        controller->Request(request);
    if (server) {
        // The session bus is joined once the tabs are shown: connecting and registering need
        // answers from the bus, which the first window must not wait for.
        QTimer::singleShot(0, server.get(), [&server] { server->ListenOnBus(); });
        QObject::connect(&app, &QCoreApplication::aboutToQuit, server.get(), [&] {
            started = false;
            server->Close();
        });
    }
    QTimer::singleShot(0, &app, [] { StartupStep("first turn of the event loop"); });
    return app.exec();
}
