#pragma once
// The ParameterImage: every setting of the device and the few view settings
// that travel with them, in one flat 2784-byte block. It is the only model of
// the program and, byte for byte, the parameter file format. All multi-byte
// fields are little-endian two's-complement int32 at fixed offsets.
//
// Values arrive from files unchecked, so every accessor is safe for any
// index: a preset outside 0..3, a channel outside 0..5 or a field outside
// 0..25 reads as 0 and is never written.

#include <array>
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "model/ChannelRecord.h"

constexpr std::size_t ParameterImageSize = 2784;
constexpr int PresetCount = 4;
constexpr int ChannelCount = 6;

namespace ImageOffset {
constexpr std::size_t activePreset = 0;
constexpr std::size_t tabMarker = 4;
constexpr std::size_t plotStartHz = 8;
constexpr std::size_t plotEndHz = 12;
constexpr std::size_t workingDirectory = 16;
constexpr std::size_t workingDirectorySize = 260;  // terminator included
constexpr std::size_t sixChannels = 276;
constexpr std::size_t channelShown = 277;
constexpr std::size_t spareByte = 283;
constexpr std::size_t presets = 284;
constexpr std::size_t presetSize = 624;
constexpr std::size_t channelRecordSize = 104;
constexpr std::size_t redrawPending = 2780;

// Byte offset of field k of channel c in preset p (all in range).
constexpr std::size_t field(int p, int c, int k) {
    return presets + presetSize * static_cast<std::size_t>(p) +
           channelRecordSize * static_cast<std::size_t>(c) + 4 * static_cast<std::size_t>(k);
}
}  // namespace ImageOffset

static_assert(ImageOffset::workingDirectory + ImageOffset::workingDirectorySize ==
              ImageOffset::sixChannels);
static_assert(ImageOffset::channelShown + ChannelCount == ImageOffset::spareByte);
static_assert(ImageOffset::presetSize == ChannelCount * ImageOffset::channelRecordSize);
static_assert(ImageOffset::channelRecordSize == 4 * ChannelRecordFieldCount);
static_assert(ImageOffset::field(3, 5, ChannelRecordFieldCount) == ImageOffset::redrawPending);
static_assert(ImageOffset::redrawPending + 4 == ParameterImageSize);
// As an array of int32 words: field k of channel c in preset p is word 71 + 156p + 26c + k.
static_assert(ImageOffset::field(0, 0, 0) == 4 * 71);
static_assert(ImageOffset::field(1, 1, 1) == 4 * (71 + 156 + 26 + 1));

class ParameterImage {
public:
    using Bytes = std::array<std::uint8_t, ParameterImageSize>;

    ParameterImage() : m_bytes{} {}  // all zero bytes

    Bytes& bytes() { return m_bytes; }
    const Bytes& bytes() const { return m_bytes; }

    static bool isPreset(int p) { return p >= 0 && p < PresetCount; }
    static bool isChannel(int c) { return c >= 0 && c < ChannelCount; }

    std::int32_t activePreset() const { return word(ImageOffset::activePreset); }
    void setActivePreset(std::int32_t v) { setWord(ImageOffset::activePreset, v); }
    std::int32_t tabMarker() const { return word(ImageOffset::tabMarker); }
    void setTabMarker(std::int32_t v) { setWord(ImageOffset::tabMarker, v); }
    std::int32_t plotStartHz() const { return word(ImageOffset::plotStartHz); }
    void setPlotStartHz(std::int32_t v) { setWord(ImageOffset::plotStartHz, v); }
    std::int32_t plotEndHz() const { return word(ImageOffset::plotEndHz); }
    void setPlotEndHz(std::int32_t v) { setWord(ImageOffset::plotEndHz, v); }
    std::int32_t redrawPending() const { return word(ImageOffset::redrawPending); }
    void setRedrawPending(std::int32_t v) { setWord(ImageOffset::redrawPending, v); }

    // Read up to the first NUL, never past the 260 bytes of the field.
    std::string workingDirectory() const;
    // Stores at most 259 characters and always a terminator; the rest of the
    // field is cleared.
    void setWorkingDirectory(std::string_view path);

    std::uint8_t sixChannels() const { return m_bytes[ImageOffset::sixChannels]; }
    void setSixChannels(std::uint8_t v) { m_bytes[ImageOffset::sixChannels] = v; }
    std::uint8_t channelShown(int c) const;
    void setChannelShown(int c, std::uint8_t v);
    std::uint8_t spareByte() const { return m_bytes[ImageOffset::spareByte]; }

    // Field k (0..25) of channel c in preset p; see ChannelField.
    std::int32_t field(int p, int c, int k) const;
    void setField(int p, int c, int k, std::int32_t v);
    std::int32_t field(int p, int c, ChannelField f) const {
        return field(p, c, static_cast<int>(f));
    }
    void setField(int p, int c, ChannelField f, std::int32_t v) {
        setField(p, c, static_cast<int>(f), v);
    }

    // All 26 fields of a record at once (zeros for an index out of range).
    ChannelRecord record(int p, int c) const;
    void setRecord(int p, int c, const ChannelRecord& r);

    friend bool operator==(const ParameterImage&, const ParameterImage&) = default;

private:
    std::int32_t word(std::size_t offset) const;
    void setWord(std::size_t offset, std::int32_t v);

    Bytes m_bytes;
};

// The data part of New, in its fixed order. `workingDirectory`, the spare
// byte 283 and every `reserved` field keep their values.
void applyDefaults(ParameterImage& image);
