#pragma once
// Everything about a channel's response that does not depend on the
// frequency, shared by the magnitude and the complex grid loops. Internal to
// the response layer.

#include "model/ChannelRecord.h"
#include "response/ResponseMath.h"

// A band with gain 0 dB has A == 1, g == 0, and H == 1 + 0 exactly (value and
// slope) as long as the band's terms are finite and D > 0, which holds for
// every Q other than 0 (|Q| >= 0.3; D == 0 would need f == F0 == 0, and grid
// points are > 0). Such a band is left out (x * 1 == x for every x). A Q code
// of 0 makes the band NaN and is always evaluated.
inline bool isIdentityBand(const EqBand& band) {
    return band.level == 0 && band.q != 0;
}

struct ChannelPlan {
    int eqCount = 0;
    EqPlan eq[EqBandCount]{};
    FilterPlan highPass;
    FilterPlan lowPass;
    double level = 0.0;
};

inline ChannelPlan channelPlan(const ChannelRecord& record) {
    ChannelPlan plan;
    for (int e = 0; e < EqBandCount; ++e) {
        const EqBand& band = record.eq[e];
        if (isIdentityBand(band)) continue;
        plan.eq[plan.eqCount++] = eqPlan(band.frequency, band.q, band.level, e);
    }
    plan.highPass = highPassPlan(record.hpFrequency, record.hpType);
    plan.lowPass = lowPassPlan(record.lpFrequency, record.lpType);
    plan.level = record.level;
    return plan;
}
