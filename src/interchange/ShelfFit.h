#pragma once
// The nearest shelf on the other side. A cookbook shelf (Equalizer APO, REW,
// CamillaDSP) and the device's shelf are different filters (see
// FilterDefinitions.h), so neither can be copied into the other: each fit
// looks for the shelf of the other kind whose response comes closest over
// 20 Hz to 20 kHz, by the largest difference in dB.

#include <optional>
#include <vector>

#include "interchange/FilterDefinitions.h"
#include "model/ChannelRecord.h"

struct DeviceShelfFit {
    EqBand band;  // grid frequency in the band's range, Q code 21..23, whole dB
    double maxDifferenceDb = 0.0;
};

// The device shelf (EQ5 for a low shelf, EQ6 for a high shelf) nearest to
// `shelf`, searched over every grid frequency of the band's range, the three
// shelving Qs and every gain the band can hold. `shelf` is a LowShelf or
// HighShelf.
DeviceShelfFit nearestDeviceShelf(const CookbookFilter& shelf);

// The device shelf that is each of `biquads` at its rate (the bilinear
// transform of FilterDefinitions.h, to within the digits a text carries),
// if one is: the exact shelf an export of this program wrote.
std::optional<EqBand> deviceShelfOf(const std::vector<RateBiquad>& biquads, bool lowShelf);

struct CookbookShelfFit {
    CookbookFilter filter;
    double maxDifferenceDb = 0.0;
};

// The cookbook shelf (any frequency, Q and gain) nearest to the device's
// shelf `section` (SectionType::LowShelf or HighShelf), for the formats that
// cannot carry the device's own coefficients.
CookbookShelfFit nearestCookbookShelf(const AnalogSection& section);
