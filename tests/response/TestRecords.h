#pragma once
// Channel records for the response tests.

#include <limits>
#include <random>

#include "model/ChannelRecord.h"

// Mostly values the panels produce, with the odd codes a file or a device
// may bring in between.
inline ChannelRecord randomRecord(std::mt19937& rng) {
    auto pick = [&rng](int lo, int hi) { return std::uniform_int_distribution<int>(lo, hi)(rng); };
    auto oneIn = [&pick](int n) { return pick(1, n) == 1; };
    auto frequency = [&] {
        if (oneIn(20)) return pick(-2000, 0);
        if (oneIn(30)) return pick(100000, 2000000000);
        return pick(15, 20000);
    };
    auto type = [&] { return oneIn(15) ? (oneIn(2) ? pick(10, 300) : pick(-5, -1)) : pick(0, 9); };
    ChannelRecord r;
    r.level = oneIn(20) ? pick(-100, 100) : pick(-6, 6);
    r.hpFrequency = frequency();
    r.hpType = type();
    r.lpFrequency = frequency();
    r.lpType = type();
    for (int e = 0; e < EqBandCount; ++e) {
        EqBand& b = r.eq[e];
        b.frequency = frequency();
        b.q = oneIn(15) ? pick(-10, 40) : (e >= 4 && oneIn(3) ? pick(21, 23) : pick(1, 20));
        b.level = oneIn(3) ? 0 : (oneIn(25) ? pick(-400, 400) : pick(-12, 6));
    }
    r.input = oneIn(10) ? pick(-3, 300) : pick(0, 2);
    r.delayTaps = oneIn(20) ? pick(std::numeric_limits<int>::min(), std::numeric_limits<int>::max())
                            : pick(0, 2800);
    return r;
}

// A record whose bands are all neutral (0 dB) and whose filters are off.
inline ChannelRecord neutralRecord(int level = 0) {
    ChannelRecord r;
    r.level = level;
    r.hpFrequency = 20;
    r.lpFrequency = 150;
    const int eqHz[] = {40, 80, 160, 400, 2000, 6000};
    for (int e = 0; e < EqBandCount; ++e) r.eq[e] = {eqHz[e], 2, 0};
    return r;
}
