#pragma once

#include <cmath>

#include <QPoint>
#include <QRect>
#include <QSize>

// Geometry is computed in logical pixels; pictures are drawn in the device pixels of a screen with
// `ratio` device pixels per logical one. A logical position goes to the device pixel it falls in,
// and a logical length covers every device pixel its span touches, so that spans laid end to end
// leave no gap between them at fractional ratios. The small margins keep products such as
// 17 x 1.5 from landing a rounding error off a whole number.

inline int DevicePosition(int logical, qreal ratio) {
    return static_cast<int>(std::floor(logical * ratio + 1e-6));
}

inline int DeviceLength(int logical, qreal ratio) {
    return static_cast<int>(std::ceil(logical * ratio - 1e-6));
}

inline QPoint DevicePoint(QPoint logical, qreal ratio) {
    return {DevicePosition(logical.x(), ratio), DevicePosition(logical.y(), ratio)};
}

inline QSize DeviceSize(QSize logical, qreal ratio) {
    return {DeviceLength(logical.width(), ratio), DeviceLength(logical.height(), ratio)};
}

// The logical pixel that holds the centre of device pixel `device`.
inline int LogicalPosition(int device, qreal ratio) {
    return static_cast<int>(std::floor((device + 0.5) / ratio));
}
