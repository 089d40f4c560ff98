#include <QApplication>

#include "common/error.h"
#include "common/program_folder.h"
#include "core/application.h"
#include "core/controller.h"
#include "core/tooltip_style.h"
#include "platform/user_prompts.h"
#include "skins/font_substitutions.h"

int main(int argc, char** argv) {
    // Tab windows need an X11 window system; in a Wayland session they go through XWayland.
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM") && !qEnvironmentVariableIsEmpty("WAYLAND_DISPLAY"))
        qputenv("QT_QPA_PLATFORM", "xcb");

    KelvaraApplication app(argc, argv);
    QApplication::setApplicationName(ApplicationCaption());
    // The program has no main window: it ends only when the controller asks for it.
    QApplication::setQuitOnLastWindowClosed(false);
    InstallFontSubstitutions();
    InstallTooltipStyle();

    const ProgramFolder folder(QCoreApplication::applicationFilePath());
    TfrmRunning controller(folder, QCoreApplication::arguments().mid(1), DefaultUserPrompts());
    try {
        controller.Start();
    } catch (const Error& e) {
        // Before the message loop no error handler reaches: the error ends the program.
        DefaultUserPrompts().message(nullptr, ApplicationCaption(), e.message());
        return 1;
    }
    return app.exec();
}
