#include "tabs/screen_resolution.h"

#include "common/error.h"

namespace {

DisplayModeChanger& Changer() {
    static DisplayModeChanger changer;
    return changer;
}

// A decimal integer with an optional sign and nothing else, in the range of a 32-bit integer.
int ReadInteger(const QString& text) {
    bool ok = false;
    const int value = text.toInt(&ok, 10);
    const bool plain = !text.isEmpty() && !text.front().isSpace() && !text.back().isSpace();
    if (!ok || !plain)
        throw Error(UserText("Value.NotInteger", "'%1' is not a valid integer value").arg(text));
    return value;
}

} // namespace

DisplayMode ParseScreenResolution(const QString& arguments) {
    DisplayMode mode;
    QString size = arguments;
    const qsizetype colon = arguments.indexOf(QLatin1Char(':'));
    if (colon >= 0) {
        size = arguments.first(colon);
        mode.frequency = ReadInteger(arguments.sliced(colon + 1));
    }
    const qsizetype x = size.indexOf(QLatin1Char('x'));
    mode.width = ReadInteger(x >= 0 ? size.first(x) : size);
    mode.height = ReadInteger(x >= 0 ? size.sliced(x + 1) : QString());
    return mode;
}

void SetDisplayModeChanger(DisplayModeChanger changer) {
    Changer() = std::move(changer);
}

void ChangeDisplayMode(const DisplayMode& mode) {
    if (!Changer())
        throw Error(UserText("Screen.NoChange", "The screen resolution cannot be changed on this system"));
    Changer()(mode);
}
