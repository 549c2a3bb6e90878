#pragma once
// The WireImage: all four presets of all six channels in the device's compact
// coding, 624 unsigned bytes ordered channel first (the ParameterImage is
// preset first; the conversion reorders). Each channel of each preset is a
// 26-byte WireRecord of one-byte index codes. There is no framing, padding or
// checksum: every byte is written by the encoder.

#include <array>
#include <cstddef>
#include <cstdint>

#include "model/ChannelRecord.h"

class ParameterImage;

constexpr std::size_t WireRecordSize = 26;
constexpr std::size_t WireImageSize = 624;

using WireRecord = std::array<std::uint8_t, WireRecordSize>;
using WireImage = std::array<std::uint8_t, WireImageSize>;

// Byte offset of the WireRecord of preset p (0..3) and channel c (0..5).
constexpr std::size_t wireRecordOffset(int p, int c) {
    return static_cast<std::size_t>(c) * 4 * WireRecordSize +
           static_cast<std::size_t>(p) * WireRecordSize;
}
static_assert(wireRecordOffset(3, 5) + WireRecordSize == WireImageSize);

// Byte k of a WireRecord.
enum WireByte : int {
    WireLevel = 0,        // levelToCode
    WireHpFrequency = 1,  // grid code
    WireHpType = 2,       // low 8 bits
    WireLpFrequency = 3,  // grid code minus LpFrequencyCodeOrigin
    WireLpType = 4,       // low 8 bits
    WireInput = 5,        // low 8 bits
    WireDelayHigh = 6,    // the delay travels big-endian
    WireDelayLow = 7,
};
// Equaliser e (0..5): frequency (grid code minus EqFrequencyCodeOrigin),
// Q code minus 1, eqLevelToCode.
constexpr int wireEqFrequencyByte(int e) {
    return 8 + 3 * e;
}
constexpr int wireEqQByte(int e) {
    return 9 + 3 * e;
}
constexpr int wireEqLevelByte(int e) {
    return 10 + 3 * e;
}

// The device's frequency fields start at different grid points: the
// high-pass at code 0 (15 Hz), the low-pass at 25 (40 Hz), the EQ at 5 (20 Hz).
constexpr int LpFrequencyCodeOrigin = 25;
constexpr int EqFrequencyCodeOrigin = 5;

// Channel level -6..+6 dB <-> code 0..12; anything else maps to 0.
int levelToCode(int db);
int codeToLevel(int code);
// EQ gain -12..+6 dB <-> code 0..18; anything else maps to 0.
int eqLevelToCode(int db);
int codeToEqLevel(int code);

// Every value is stored as its low 8 bits; out-of-range values are not
// rejected (a level of 7 goes as 0, a 30 Hz low-pass as 246). `reserved`
// has no place on the wire.
WireRecord encodeWireRecord(const ChannelRecord& record);
// Overwrites every field of `record` but `reserved`.
void decodeWireRecord(const WireRecord& wire, ChannelRecord& record);

WireRecord wireRecordAt(const WireImage& wire, int p, int c);

// Fields 0..4 and 6..25 of all 24 records; the header is not read.
WireImage encodeWireImage(const ParameterImage& image);
// Writes fields 0..4 and 6..25 of all 24 records and nothing else: the
// header, `redrawPending` and every `reserved` field are untouched.
void decodeWireImage(const WireImage& wire, ParameterImage& image);

// The encoding of the default parameter image: what a factory-fresh device
// holds.
WireImage defaultWireImage();
