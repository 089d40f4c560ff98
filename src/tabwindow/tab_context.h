#pragma once

#include <functional>

#include <QRect>

#include "common/settings.h"

class TSkin;
class TabHost;

// What every tab window reads at the moment of use: the settings record, the skin in use and the
// always-on-top mode. The controller owns it and keeps it alive longer than its tab windows; a
// change made here applies at the windows' next use. The settings and the skin must be set.
struct TabContext {
    const Settings* settings = nullptr;
    const TSkin* skin = nullptr;
    StackingMode aot = StackingMode::Normal;
    // Tab windows cut out their KeyColour pixels (true) or take the tab's outline (false).
    bool layeredMode = true;
    // A compositing manager runs, so layered windows use their alpha channel (without one, the
    // transparent pixels of a translucent window show black). Whoever makes the windows asks
    // once (CompositorRunning) rather than every window asking the display server.
    bool compositing = false;
    // The work area the tabs stand in; when empty, that of the configured monitor.
    std::function<QRect()> workArea;
    // The controller the windows ask for the popup menu, rebuilds and questions; none in the
    // skins preview.
    TabHost* host = nullptr;
};

// The work area for the context: its own function, or the configured monitor's.
QRect TabWorkArea(const TabContext& context);
