#pragma once
// A channel's 26 fields from the input, mostly what the panel sets: small
// numbers on a plausible scale, now and then anything an int16 holds.

#include "FuzzSupport.h"
#include "model/ChannelRecord.h"

inline ChannelRecord fuzzChannelRecord(FuzzInput& in) {
    std::array<std::int32_t, ChannelRecordFieldCount> fields{};
    for (auto& f : fields) {
        const auto raw = in.take<std::int16_t>();
        f = raw % 4 == 0 ? raw * 4 : (raw % 4 == 1 ? raw % 24 : raw);
    }
    return ChannelRecord::fromFields(fields);
}
