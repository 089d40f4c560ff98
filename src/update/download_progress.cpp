#include "update/download_progress.h"

#include <algorithm>
#include <cmath>
#include <limits>
#include <numbers>

#include "common/rounding.h"
#include "translation/ui_text.h"

int RemainingMinutes(double elapsedDays, qint64 total, qint64 received) {
    if (total <= 0 || received <= 0)
        return 0;
    const double minutes = elapsedDays * 1440.0 * double(total - received) / double(received);
    // A clock set back, or a huge figure, must not overflow the conversion.
    constexpr double limit = std::numeric_limits<int>::max();
    if (!std::isfinite(minutes))
        return 0;
    return RoundHalfEven(std::clamp(minutes, -limit, limit));
}

QString ProgressText(qint64 received, qint64 total, int minutes) {
    return UiText("Download.Progress", "%1 bytes / %2 bytes, %3 minutes remaining")
        .arg(received)
        .arg(total)
        .arg(minutes);
}

std::array<QLine, 3> SpinnerLines(double phase) {
    std::array<QLine, 3> lines;
    for (int i = 0; i < 3; ++i) {
        const double a = i * std::numbers::pi / 3 + phase;
        const double dx = 25 * std::cos(a);
        const double dy = 25 * std::sin(a);
        lines[i] = QLine(RoundHalfEven(25 + dx), RoundHalfEven(25 + dy), RoundHalfEven(25 - dx),
                         RoundHalfEven(25 - dy));
    }
    return lines;
}
