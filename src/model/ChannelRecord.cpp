#include "model/ChannelRecord.h"

std::array<std::int32_t, ChannelRecordFieldCount> ChannelRecord::toFields() const {
    std::array<std::int32_t, ChannelRecordFieldCount> f{level,  hpFrequency, hpType, lpFrequency,
                                                        lpType, reserved,    input,  delayTaps};
    for (int e = 0; e < EqBandCount; ++e) {
        f[eqFrequencyField(e)] = eq[e].frequency;
        f[eqQField(e)] = eq[e].q;
        f[eqLevelField(e)] = eq[e].level;
    }
    return f;
}

ChannelRecord ChannelRecord::fromFields(
    const std::array<std::int32_t, ChannelRecordFieldCount>& f) {
    ChannelRecord r;
    r.level = f[0];
    r.hpFrequency = f[1];
    r.hpType = f[2];
    r.lpFrequency = f[3];
    r.lpType = f[4];
    r.reserved = f[5];
    r.input = f[6];
    r.delayTaps = f[7];
    for (int e = 0; e < EqBandCount; ++e) {
        r.eq[e] = {f[eqFrequencyField(e)], f[eqQField(e)], f[eqLevelField(e)]};
    }
    return r;
}
