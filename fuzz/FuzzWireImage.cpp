// The wire block decode: any 624 bytes from the device into any image.
// Input: the WireImage (624 bytes), then the image it is decoded into.
//
// Decoding writes only the channel fields the wire carries, each within the
// range of its code; the header, `redrawPending` and every `reserved` field
// stay. A byte that is a valid code comes back unchanged from the encoder,
// and decoding the encoder's output again changes nothing.

#include <algorithm>

#include "FuzzSupport.h"
#include "device/WireImage.h"
#include "model/FrequencyGrid.h"
#include "model/ParameterImage.h"

namespace {

bool isGridFrequencyOrZero(int hz) {
    const auto& grid = frequencyGrid();
    return hz == 0 || std::binary_search(grid.begin(), grid.end(), hz);
}

// Whether byte k of a WireRecord holds a code the decoder maps one to one.
bool isValidCode(int k, std::uint8_t code) {
    if (k == WireLevel) return code <= 12;
    if (k == WireHpFrequency) return code < FrequencyGridSize;
    if (k == WireLpFrequency) return code + LpFrequencyCodeOrigin < FrequencyGridSize;
    if (k >= wireEqFrequencyByte(0)) {
        const int e = (k - wireEqFrequencyByte(0)) / 3;
        if (k == wireEqFrequencyByte(e)) return code + EqFrequencyCodeOrigin < FrequencyGridSize;
        if (k == wireEqLevelByte(e)) return code <= 18;
    }
    return true;  // types, input, delay and Q travel as they are
}

void checkRecord(const WireRecord& wire, const ChannelRecord& before, const ChannelRecord& r) {
    fuzzCheck(r.reserved == before.reserved, "reserved field untouched");
    fuzzCheck(r.level >= -6 && r.level <= 6, "level in range");
    fuzzCheck(isGridFrequencyOrZero(r.hpFrequency) && isGridFrequencyOrZero(r.lpFrequency),
              "crossover frequencies on the grid");
    fuzzCheck(r.hpType >= 0 && r.hpType <= 255 && r.lpType >= 0 && r.lpType <= 255 &&
                  r.input >= 0 && r.input <= 255,
              "byte fields in 0..255");
    fuzzCheck(r.delayTaps >= 0 && r.delayTaps <= 65535, "delay in 0..65535");
    for (const EqBand& band : r.eq) {
        fuzzCheck(isGridFrequencyOrZero(band.frequency), "EQ frequency on the grid");
        fuzzCheck(band.q >= 1 && band.q <= 256, "Q code in 1..256");
        fuzzCheck(band.level >= -12 && band.level <= 6, "EQ level in range");
    }
    const WireRecord again = encodeWireRecord(r);
    for (int k = 0; k < static_cast<int>(WireRecordSize); ++k) {
        const auto i = static_cast<std::size_t>(k);
        if (isValidCode(k, wire[i])) fuzzCheck(again[i] == wire[i], "valid code encodes back");
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    FuzzInput in(data, size);
    WireImage wire{};
    const std::string_view wireBytes = in.takeBytes(WireImageSize);
    std::copy(wireBytes.begin(), wireBytes.end(), wire.begin());
    ParameterImage before;
    const std::string_view imageBytes = in.takeBytes(ParameterImageSize);
    std::copy(imageBytes.begin(), imageBytes.end(), before.bytes().begin());

    ParameterImage image = before;
    decodeWireImage(wire, image);
    fuzzCheck(std::equal(image.bytes().begin(), image.bytes().begin() + ImageOffset::presets,
                         before.bytes().begin()),
              "header untouched");
    fuzzCheck(image.redrawPending() == before.redrawPending(), "redrawPending untouched");
    for (int p = 0; p < PresetCount; ++p) {
        for (int c = 0; c < ChannelCount; ++c) {
            checkRecord(wireRecordAt(wire, p, c), before.record(p, c), image.record(p, c));
        }
    }

    ParameterImage again = image;
    decodeWireImage(encodeWireImage(image), again);
    fuzzCheck(again == image, "decoding the encoder's output changes nothing");
    return 0;
}
