#pragma once

// The sideways wave of the About picture: a period of 32 ticks.
inline constexpr int AboutWavePeriod = 32;

// The sideways offset, -1, 0 or 1, of the tick at the given phase (0..31): the sine of the
// phase's angle rounded to the nearest integer, halves to even.
int WaveOffset(int phase);

// The phase after the given one, wrapping from 31 back to 0.
int NextWavePhase(int phase);
