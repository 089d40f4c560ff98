#include <cstdio>
#include <exception>
#include <memory>

#include <QApplication>

#include "common/error.h"
#include "common/home_folder.h"
#include "common/program_folder.h"
#include "core/application.h"
#include "core/controller.h"
#include "core/plain_tooltips.h"
#include "core/tooltip_style.h"
#include "platform/display_mode.h"
#include "platform/startup_notification.h"
#include "platform/termination_signals.h"
#include "platform/user_prompts.h"
#include "skins/font_substitutions.h"
#include "tabwindow/tab_accessible.h"
#include "tabs/desktop_app.h"
#include "tabs/icon_theme.h"

int main(int argc, char** argv) {
    // Every folder of the user's lies below the home folder: without one they would be made
    // relative to the file system's root.
    if (!SetUpHomeFolder()) {
        std::fputs("Kelvara cannot find your home folder: HOME names no folder and the password "
                   "database gives none.\n",
                   stderr);
        return 1;
    }
    PrepareDisplayEnvironment();
    // Qt would abort with advice to reinstall; the user needs to know what is missing instead.
    if (!X11DisplayReachable(argc, argv)) {
        std::fputs("Kelvara needs an X11 display; on Wayland, XWayland must be running.\n", stderr);
        return 1;
    }

    KelvaraApplication app(argc, argv);
    QuitOnTerminationSignals();
    QApplication::setApplicationName(ApplicationCaption());
    UseDesktopIconTheme();
    SetLaunchContextMaker([] { return NewStartupNotifyContext(KelvaraApplication::LastInputTime()); });
    // The program has no main window: it ends only when the controller asks for it.
    QApplication::setQuitOnLastWindowClosed(false);
    InstallFontSubstitutions();
    InstallTooltipStyle();
    InstallPlainTooltips();
    InstallTabAccessibility();
    // Screen-resolution macro items switch the display through XRandR.
    InstallDisplayModeChanger();

    const ProgramFolder folder(QCoreApplication::applicationFilePath());
    std::unique_ptr<TfrmRunning> controller;
    try {
        controller =
            std::make_unique<TfrmRunning>(folder, QCoreApplication::arguments().mid(1), DefaultUserPrompts());
        controller->Start();
    } catch (const std::exception& e) {
        // Before the message loop no error handler reaches: the error ends the program, with its
        // message rather than an abort.
        const auto* error = dynamic_cast<const Error*>(&e);
        DefaultUserPrompts().message(nullptr, ApplicationCaption(),
                                     error ? error->message() : QString::fromLocal8Bit(e.what()));
        return 1;
    }
    if (controller->EndRequested())
        return controller->ExitStatus();
    // A signal that came during the start: the loop would not see it any more.
    if (TerminationRequested())
        return 0;
    return app.exec();
}
