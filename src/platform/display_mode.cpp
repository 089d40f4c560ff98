#include "platform/display_mode.h"

#include <cmath>
#include <memory>

#include <QGuiApplication>

#include "common/error.h"
#include "translation/ui_text.h"

// Xlib's headers define macros (None, Bool, Status) that clash with Qt's names: they come last.
#include <X11/Xlib.h>
#include <X11/extensions/Xrandr.h>

namespace {

Display* X11Display() {
    if (!qApp)
        return nullptr;
    const auto* x11 = qApp->nativeInterface<QNativeInterface::QX11Application>();
    return x11 ? x11->display() : nullptr;
}

// The refresh rate of a mode in hertz, rounded to the nearest whole number.
int RefreshRate(const XRRModeInfo& mode) {
    double lines = mode.vTotal;
    if (mode.modeFlags & RR_DoubleScan)
        lines *= 2;
    if (mode.modeFlags & RR_Interlace)
        lines /= 2;
    if (mode.hTotal == 0 || lines == 0)
        return 0;
    return int(std::lround(double(mode.dotClock) / (double(mode.hTotal) * lines)));
}

struct ResourcesDeleter {
    void operator()(XRRScreenResources* r) const { XRRFreeScreenResources(r); }
};
struct OutputDeleter {
    void operator()(XRROutputInfo* o) const { XRRFreeOutputInfo(o); }
};
struct CrtcDeleter {
    void operator()(XRRCrtcInfo* c) const { XRRFreeCrtcInfo(c); }
};
using Resources = std::unique_ptr<XRRScreenResources, ResourcesDeleter>;
using OutputInfo = std::unique_ptr<XRROutputInfo, OutputDeleter>;
using CrtcInfo = std::unique_ptr<XRRCrtcInfo, CrtcDeleter>;

// The primary output, or the first connected output that shows something.
RROutput PrimaryOutput(Display* display, Window root, XRRScreenResources* resources) {
    const RROutput primary = XRRGetOutputPrimary(display, root);
    if (primary != 0)
        return primary;
    for (int i = 0; i < resources->noutput; ++i) {
        OutputInfo info(XRRGetOutputInfo(display, resources, resources->outputs[i]));
        if (info && info->connection == RR_Connected && info->crtc != 0)
            return resources->outputs[i];
    }
    return 0;
}

const XRRModeInfo* FindMode(XRRScreenResources* resources, RRMode id) {
    for (int i = 0; i < resources->nmode; ++i) {
        if (resources->modes[i].id == id)
            return &resources->modes[i];
    }
    return nullptr;
}

// The output's mode of the asked size: with the asked rate, or else the one nearest the current rate.
RRMode ChooseMode(XRRScreenResources* resources, XRROutputInfo* output, const DisplayMode& wanted,
                  int currentRate) {
    RRMode best = 0;
    int bestDistance = 0;
    for (int i = 0; i < output->nmode; ++i) {
        const XRRModeInfo* mode = FindMode(resources, output->modes[i]);
        if (!mode || int(mode->width) != wanted.width || int(mode->height) != wanted.height)
            continue;
        const int rate = RefreshRate(*mode);
        if (wanted.frequency != 0 && rate != wanted.frequency)
            continue;
        const int distance = std::abs(rate - currentRate);
        if (best == 0 || distance < bestDistance) {
            best = mode->id;
            bestDistance = distance;
        }
    }
    return best;
}

Error ModeError(const DisplayMode& mode) {
    if (mode.frequency != 0)
        return Error(UiText("Display.NoModeAt", "The display has no mode of %1 x %2 at %3 Hz")
                         .arg(mode.width)
                         .arg(mode.height)
                         .arg(mode.frequency));
    return Error(
        UiText("Display.NoMode", "The display has no mode of %1 x %2").arg(mode.width).arg(mode.height));
}

} // namespace

void ChangeDisplayModeXRandR(const DisplayMode& wanted) {
    Display* display = X11Display();
    int eventBase = 0;
    int errorBase = 0;
    if (!display || !XRRQueryExtension(display, &eventBase, &errorBase))
        throw Error(UiText("Display.NoXRandR",
                           "The screen resolution can only be changed on an X11 display with XRandR"));

    const Window root = DefaultRootWindow(display);
    const Resources resources(XRRGetScreenResourcesCurrent(display, root));
    if (!resources)
        throw Error(UiText("Display.ModesUnreadable", "The display's modes cannot be read"));
    const RROutput outputId = PrimaryOutput(display, root, resources.get());
    const OutputInfo output(outputId ? XRRGetOutputInfo(display, resources.get(), outputId) : nullptr);
    if (!output || output->crtc == 0)
        throw Error(UiText("Display.NoMonitor", "The display has no active monitor"));
    const CrtcInfo crtc(XRRGetCrtcInfo(display, resources.get(), output->crtc));
    if (!crtc)
        throw Error(UiText("Display.MonitorUnreadable", "The display's monitor cannot be read"));

    const XRRModeInfo* current = FindMode(resources.get(), crtc->mode);
    const RRMode mode =
        ChooseMode(resources.get(), output.get(), wanted, current ? RefreshRate(*current) : 0);
    if (mode == 0)
        throw ModeError(wanted);
    if (mode == crtc->mode)
        return;

    // The screen must hold every monitor: grow it before the monitor's mode changes, shrink it after.
    const bool sideways = crtc->rotation & (RR_Rotate_90 | RR_Rotate_270);
    const int width = sideways ? wanted.height : wanted.width;
    const int height = sideways ? wanted.width : wanted.height;
    int screenWidth = crtc->x + width;
    int screenHeight = crtc->y + height;
    for (int i = 0; i < resources->ncrtc; ++i) {
        if (resources->crtcs[i] == output->crtc)
            continue;
        const CrtcInfo other(XRRGetCrtcInfo(display, resources.get(), resources->crtcs[i]));
        if (other && other->mode != 0) {
            screenWidth = std::max(screenWidth, other->x + int(other->width));
            screenHeight = std::max(screenHeight, other->y + int(other->height));
        }
    }
    const int screen = DefaultScreen(display);
    const int oldWidth = DisplayWidth(display, screen);
    const int oldHeight = DisplayHeight(display, screen);
    const auto millimetres = [](int pixels, int oldPixels, int oldMm) {
        return oldPixels > 0 ? int(std::lround(double(pixels) * oldMm / oldPixels)) : pixels / 4;
    };
    const int mmWidth = millimetres(screenWidth, oldWidth, DisplayWidthMM(display, screen));
    const int mmHeight = millimetres(screenHeight, oldHeight, DisplayHeightMM(display, screen));

    XGrabServer(display);
    const bool grow = screenWidth > oldWidth || screenHeight > oldHeight;
    if (grow)
        XRRSetScreenSize(display, root, std::max(screenWidth, oldWidth), std::max(screenHeight, oldHeight),
                         mmWidth, mmHeight);
    const Status status = XRRSetCrtcConfig(display, resources.get(), output->crtc, CurrentTime, crtc->x,
                                           crtc->y, mode, crtc->rotation, crtc->outputs, crtc->noutput);
    if (status == RRSetConfigSuccess)
        XRRSetScreenSize(display, root, screenWidth, screenHeight, mmWidth, mmHeight);
    XUngrabServer(display);
    XSync(display, False);
    if (status != RRSetConfigSuccess)
        throw Error(UiText("Display.Refused", "The display refused the mode %1 x %2")
                        .arg(wanted.width)
                        .arg(wanted.height));
}

void InstallDisplayModeChanger() {
    SetDisplayModeChanger(&ChangeDisplayModeXRandR);
}
