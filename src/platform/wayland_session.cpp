#include "platform/wayland_session.h"

#include <QString>

bool WaylandSession() {
    return qEnvironmentVariable("XDG_SESSION_TYPE").compare(QLatin1String("wayland"), Qt::CaseInsensitive) ==
               0 ||
           !qEnvironmentVariableIsEmpty("WAYLAND_DISPLAY");
}
