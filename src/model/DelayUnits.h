#pragma once
// What one delay tap (`delayTaps`) stands for. The device delays a channel in
// whole taps; the panel shows a tap as the distance sound travels meanwhile,
// and the response model needs the same delay as a time. Both come from here.

#include <cstdint>

// Millimetres of sound path per tap, for showing `delayTaps` as a distance.
constexpr double MmPerTap = 3.57;

// Speed of sound in air at about 20 °C, in metres per second.
constexpr double SpeedOfSoundMetresPerSecond = 343.0;

// One tap in seconds: 3.57 mm / 343 m/s ≈ 10.41 µs.
constexpr double SecondsPerTap = MmPerTap / 1000.0 / SpeedOfSoundMetresPerSecond;

// `taps` as a delay in milliseconds (any stored value, also negative ones).
constexpr double delayMilliseconds(std::int32_t taps) {
    return static_cast<double>(taps) * SecondsPerTap * 1000.0;
}
