#pragma once

typedef struct _GAppLaunchContext GAppLaunchContext;

// How long the desktop shows that an application is starting when the application never says that
// it has started (not every program takes part in the protocol).
constexpr int kStartupNotificationTimeoutMs = 15000;

// A GIO launch context that announces each start by the freedesktop Startup Notification
// protocol, so that the window manager shows a busy pointer (and may place the application's
// first window) until the application's first window appears. GIO asks it only for entries that
// declare StartupNotify=true. userTime is the X server time of the click that started the launch.
// Without an X11 display it is GIO's plain context. The caller owns the new reference.
GAppLaunchContext* NewStartupNotifyContext(unsigned long userTime);
