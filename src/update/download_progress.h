#pragma once

#include <array>

#include <QLine>
#include <QString>

// The estimate of the minutes left in a download: the time taken so far (in days) scaled by the
// bytes still missing over the bytes received, rounded half to even. 0 when the total is not
// known (0 or -1) or nothing has arrived yet; negative when more arrived than announced.
int RemainingMinutes(double elapsedDays, qint64 total, qint64 received);

// The progress line under the bar: "<received> bytes / <total> bytes, <minutes> minutes remaining".
QString ProgressText(qint64 received, qint64 total, int minutes);

// The waiting animation: three diameters of the circle of radius 25 around (25, 25), 60 degrees
// apart, turned by phase (radians). Ends are rounded half to even.
std::array<QLine, 3> SpinnerLines(double phase);
