#pragma once

#include <cmath>

// Rounds to the nearest integer, halves going to the even neighbour (2.5 gives 2, 3.5 gives 4).
inline int RoundHalfEven(double value) {
    return static_cast<int>(std::nearbyint(value)); // the default rounding mode is to nearest-even
}
