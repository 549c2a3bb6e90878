#include "device/SettingsCompare.h"

#include <algorithm>

#include "model/ChannelFieldText.h"
#include "model/ParameterImage.h"

namespace {

constexpr bool travels(int field) {
    return field != static_cast<int>(ChannelField::reserved);
}

// The bytes of a WireRecord that carry `field` (the delay travels in two).
struct WireBytes {
    int first;
    int count;
};
constexpr WireBytes wireBytesOf(int field) {
    switch (static_cast<ChannelField>(field)) {
        case ChannelField::input:
            return {WireInput, 1};
        case ChannelField::delayTaps:
            return {WireDelayHigh, 2};
        default:
            return {field, 1};  // levels, frequencies, types and every EQ field
    }
}
static_assert(wireBytesOf(eqFrequencyField(0)).first == wireEqFrequencyByte(0));
static_assert(wireBytesOf(eqLevelField(5)).first == wireEqLevelByte(5));
static_assert(wireBytesOf(static_cast<int>(ChannelField::lpType)).first == WireLpType);

std::string bytesText(const WireRecord& w, WireBytes b) {
    std::string text = " (Byte";
    for (int i = 0; i < b.count; ++i) text += " " + std::to_string(w[b.first + i]);
    return text + ")";
}

}  // namespace

std::vector<FieldDifference> compareSettings(const ParameterImage& here,
                                             const ParameterImage& device) {
    std::vector<FieldDifference> differences;
    for (int p = 0; p < PresetCount; ++p) {
        for (int c = 0; c < ChannelCount; ++c) {
            const auto a = here.record(p, c).toFields();
            const auto b = device.record(p, c).toFields();
            for (int k = 0; k < ChannelRecordFieldCount; ++k) {
                if (travels(k) && a[k] != b[k]) {
                    differences.push_back(
                        {p, c, k, channelFieldText(k, a[k]), channelFieldText(k, b[k])});
                }
            }
        }
    }
    return differences;
}

std::vector<FieldDifference> compareWireImages(const WireImage& sent, const WireImage& stored) {
    std::vector<FieldDifference> differences;
    for (int p = 0; p < PresetCount; ++p) {
        for (int c = 0; c < ChannelCount; ++c) {
            const WireRecord a = wireRecordAt(sent, p, c);
            const WireRecord b = wireRecordAt(stored, p, c);
            ChannelRecord decodedA, decodedB;
            decodeWireRecord(a, decodedA);
            decodeWireRecord(b, decodedB);
            const auto va = decodedA.toFields();
            const auto vb = decodedB.toFields();
            for (int k = 0; k < ChannelRecordFieldCount; ++k) {
                if (!travels(k)) continue;
                const WireBytes bytes = wireBytesOf(k);
                if (std::equal(a.begin() + bytes.first, a.begin() + bytes.first + bytes.count,
                               b.begin() + bytes.first)) {
                    continue;
                }
                FieldDifference d{p, c, k, channelFieldText(k, va[k]), channelFieldText(k, vb[k])};
                if (d.here == d.device) {
                    d.here += bytesText(a, bytes);
                    d.device += bytesText(b, bytes);
                }
                differences.push_back(std::move(d));
            }
        }
    }
    return differences;
}
