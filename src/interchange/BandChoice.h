#pragma once
// Which of a text's equaliser filters go onto the device's six bands. The
// text may hold more filters than there are bands, or more shelves than the
// two shelving bands: the choice is the set of filters (six or fewer, one
// low shelf, one high shelf) whose device bands come closest to the whole
// design, by the largest difference in dB over 20 Hz to 20 kHz (then by the
// RMS difference, then by the larger set). Up to twelve filters every
// possible set is tried; with more, filters are added one at a time where
// they help most and the set is then improved by exchanging, dropping and
// adding filters until no change helps.

#include <array>
#include <vector>

#include "interchange/FitGrid.h"

enum class BandKind { Peaking, LowShelf, HighShelf };

struct BandCandidate {
    int index = 0;  // the caller's number of the filter
    BandKind kind = BandKind::Peaking;
    // The device band the filter becomes, in dB on fitFrequencies().
    std::array<double, FitPointCount> bandDb{};
};

enum class BandChoiceMethod {
    All,         // every filter fits; nothing had to be chosen
    Exhaustive,  // every possible set was tried
    Stepwise,    // chosen one at a time, then improved by exchanges
};

constexpr int ExhaustiveBandChoiceLimit = 12;

struct BandChoice {
    std::vector<int> chosen;  // the candidates' `index`, ascending
    BandChoiceMethod method = BandChoiceMethod::All;
    long long setsTried = 0;
};

// `designDb` is the whole design (every filter of the text, also those that
// are no candidate) on fitFrequencies(); `candidates` the filters that may
// be chosen, in the text's order.
BandChoice chooseBands(const std::array<double, FitPointCount>& designDb,
                       const std::vector<BandCandidate>& candidates);
