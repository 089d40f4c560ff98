#include "platform/startup_notification.h"

#include <QByteArray>
#include <QGuiApplication>
#include <QHash>
#include <QTimer>
#include <QtGui/qguiapplication_platform.h>

#include <X11/Xlib.h>
#include <gio/gdesktopappinfo.h>
#include <gio/gio.h>

#define SN_API_NOT_YET_FROZEN 1
#include <libsn/sn-launcher.h>

namespace {

Display* X11Display() {
    auto* x11 = qGuiApp ? qGuiApp->nativeInterface<QNativeInterface::QX11Application>() : nullptr;
    return x11 ? x11->display() : nullptr;
}

SnDisplay* StartupDisplay(Display* display) {
    static SnDisplay* shared = sn_display_new(display, nullptr, nullptr);
    return shared;
}

// Announced starts that have not ended yet, by startup id.
QHash<QByteArray, SnLauncherContext*>& PendingStarts() {
    static QHash<QByteArray, SnLauncherContext*> pending;
    return pending;
}

// Tells the desktop that the start has ended; the application may have done so already, which
// does no harm.
void EndStart(const QByteArray& id) {
    if (SnLauncherContext* launcher = PendingStarts().take(id)) {
        sn_launcher_context_complete(launcher);
        sn_launcher_context_unref(launcher);
        if (Display* display = X11Display())
            XFlush(display);
    }
}

} // namespace

extern "C" {

struct KelvaraLaunchContext {
    GAppLaunchContext parent;
    unsigned long userTime;
};

struct KelvaraLaunchContextClass {
    GAppLaunchContextClass parentClass;
};

G_DEFINE_TYPE(KelvaraLaunchContext, kelvara_launch_context, G_TYPE_APP_LAUNCH_CONTEXT)

static char* kelvara_launch_context_get_startup_notify_id(GAppLaunchContext* context, GAppInfo* info,
                                                          GList* /*files*/) {
    Display* display = X11Display();
    if (!display)
        return nullptr;
    SnLauncherContext* launcher = sn_launcher_context_new(StartupDisplay(display), DefaultScreen(display));
    const char* name = g_app_info_get_display_name(info);
    const char* program = g_app_info_get_executable(info);
    sn_launcher_context_set_name(launcher, name);
    sn_launcher_context_set_description(launcher, QByteArray("Starting " + QByteArray(name)).constData());
    sn_launcher_context_set_binary_name(launcher, program);
    if (G_IS_DESKTOP_APP_INFO(info)) {
        if (const char* windowClass = g_desktop_app_info_get_startup_wm_class(G_DESKTOP_APP_INFO(info)))
            sn_launcher_context_set_wmclass(launcher, windowClass);
    }
    if (GIcon* icon = g_app_info_get_icon(info); icon && G_IS_THEMED_ICON(icon)) {
        if (const gchar* const* names = g_themed_icon_get_names(G_THEMED_ICON(icon)); names && names[0])
            sn_launcher_context_set_icon_name(launcher, names[0]);
    }
    const auto* self = reinterpret_cast<KelvaraLaunchContext*>(context);
    sn_launcher_context_initiate(launcher, "Kelvara", program, Time(self->userTime));
    XFlush(display);
    const QByteArray id = sn_launcher_context_get_startup_id(launcher);
    PendingStarts().insert(id, launcher);
    QTimer::singleShot(kStartupNotificationTimeoutMs, [id] { EndStart(id); });
    return g_strdup(id.constData());
}

static void kelvara_launch_context_launch_failed(GAppLaunchContext* /*context*/, const char* id) {
    EndStart(QByteArray(id));
}

static void kelvara_launch_context_class_init(KelvaraLaunchContextClass* type) {
    auto* base = G_APP_LAUNCH_CONTEXT_CLASS(type);
    base->get_startup_notify_id = kelvara_launch_context_get_startup_notify_id;
    base->launch_failed = kelvara_launch_context_launch_failed;
}

static void kelvara_launch_context_init(KelvaraLaunchContext* context) {
    context->userTime = 0;
}

} // extern "C"

GAppLaunchContext* NewStartupNotifyContext(unsigned long userTime) {
    if (!X11Display())
        return g_app_launch_context_new();
    auto* context =
        static_cast<KelvaraLaunchContext*>(g_object_new(kelvara_launch_context_get_type(), nullptr));
    context->userTime = userTime;
    return &context->parent;
}
