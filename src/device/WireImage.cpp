#include "device/WireImage.h"

#include <algorithm>

#include "model/FrequencyGrid.h"
#include "model/ParameterImage.h"

int levelToCode(int db) {
    return db >= -6 && db <= 6 ? db + 6 : 0;
}
int codeToLevel(int code) {
    return code >= 0 && code <= 12 ? code - 6 : 0;
}
int eqLevelToCode(int db) {
    return db >= -12 && db <= 6 ? db + 12 : 0;
}
int codeToEqLevel(int code) {
    return code >= 0 && code <= 18 ? code - 12 : 0;
}

// The low 8 bits of v - offset, computed without signed overflow for any v.
static std::uint8_t low8(std::int32_t v, int offset = 0) {
    return static_cast<std::uint8_t>(static_cast<std::uint32_t>(v) -
                                     static_cast<std::uint32_t>(offset));
}

WireRecord encodeWireRecord(const ChannelRecord& r) {
    WireRecord w{};
    w[WireLevel] = low8(levelToCode(r.level));
    w[WireHpFrequency] = low8(frequencyToCode(r.hpFrequency));
    w[WireHpType] = low8(r.hpType);
    w[WireLpFrequency] = low8(frequencyToCode(r.lpFrequency), LpFrequencyCodeOrigin);
    w[WireLpType] = low8(r.lpType);
    w[WireInput] = low8(r.input);
    w[WireDelayHigh] =
        low8(static_cast<std::int32_t>(static_cast<std::uint32_t>(r.delayTaps) >> 8));
    w[WireDelayLow] = low8(r.delayTaps);
    for (int e = 0; e < EqBandCount; ++e) {
        w[wireEqFrequencyByte(e)] = low8(frequencyToCode(r.eq[e].frequency), EqFrequencyCodeOrigin);
        w[wireEqQByte(e)] = low8(r.eq[e].q, 1);
        w[wireEqLevelByte(e)] = low8(eqLevelToCode(r.eq[e].level));
    }
    return w;
}

void decodeWireRecord(const WireRecord& w, ChannelRecord& r) {
    r.level = codeToLevel(w[WireLevel]);
    r.hpFrequency = codeToFrequency(w[WireHpFrequency]);
    r.hpType = w[WireHpType];
    r.lpFrequency = codeToFrequency(w[WireLpFrequency] + LpFrequencyCodeOrigin);
    r.lpType = w[WireLpType];
    r.input = w[WireInput];
    r.delayTaps = w[WireDelayHigh] * 256 + w[WireDelayLow];
    for (int e = 0; e < EqBandCount; ++e) {
        r.eq[e].frequency = codeToFrequency(w[wireEqFrequencyByte(e)] + EqFrequencyCodeOrigin);
        r.eq[e].q = w[wireEqQByte(e)] + 1;
        r.eq[e].level = codeToEqLevel(w[wireEqLevelByte(e)]);
    }
}

WireRecord wireRecordAt(const WireImage& wire, int p, int c) {
    WireRecord r{};
    std::copy_n(wire.begin() + static_cast<std::ptrdiff_t>(wireRecordOffset(p, c)), WireRecordSize,
                r.begin());
    return r;
}

WireImage encodeWireImage(const ParameterImage& image) {
    WireImage wire{};
    for (int p = 0; p < PresetCount; ++p) {
        for (int c = 0; c < ChannelCount; ++c) {
            const WireRecord r = encodeWireRecord(image.record(p, c));
            std::copy(r.begin(), r.end(),
                      wire.begin() + static_cast<std::ptrdiff_t>(wireRecordOffset(p, c)));
        }
    }
    return wire;
}

void decodeWireImage(const WireImage& wire, ParameterImage& image) {
    for (int p = 0; p < PresetCount; ++p) {
        for (int c = 0; c < ChannelCount; ++c) {
            ChannelRecord r = image.record(p, c);
            decodeWireRecord(wireRecordAt(wire, p, c), r);
            image.setRecord(p, c, r);
        }
    }
}

WireImage defaultWireImage() {
    ParameterImage image;
    applyDefaults(image);
    return encodeWireImage(image);
}
