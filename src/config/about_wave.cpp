#include "config/about_wave.h"

#include <cmath>
#include <numbers>

#include "common/rounding.h"

int WaveOffset(int phase) {
    return RoundHalfEven(std::sin(double(phase) / AboutWavePeriod * 2 * std::numbers::pi));
}

int NextWavePhase(int phase) {
    return (phase + 1) % AboutWavePeriod;
}
