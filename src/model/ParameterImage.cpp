#include "model/ParameterImage.h"

#include <algorithm>

std::int32_t ParameterImage::word(std::size_t offset) const {
    const std::uint32_t u = static_cast<std::uint32_t>(m_bytes[offset]) |
                            static_cast<std::uint32_t>(m_bytes[offset + 1]) << 8 |
                            static_cast<std::uint32_t>(m_bytes[offset + 2]) << 16 |
                            static_cast<std::uint32_t>(m_bytes[offset + 3]) << 24;
    return static_cast<std::int32_t>(u);
}

void ParameterImage::setWord(std::size_t offset, std::int32_t v) {
    const auto u = static_cast<std::uint32_t>(v);
    for (std::size_t i = 0; i < 4; ++i) {
        m_bytes[offset + i] = static_cast<std::uint8_t>(u >> (8 * i));
    }
}

std::string ParameterImage::workingDirectory() const {
    const auto* first = m_bytes.data() + ImageOffset::workingDirectory;
    const auto* last = first + ImageOffset::workingDirectorySize;
    const auto* end = std::find(first, last, std::uint8_t{0});
    return std::string(first, end);
}

void ParameterImage::setWorkingDirectory(std::string_view path) {
    auto* first = m_bytes.data() + ImageOffset::workingDirectory;
    std::fill(first, first + ImageOffset::workingDirectorySize, std::uint8_t{0});
    const std::size_t n = std::min(path.size(), ImageOffset::workingDirectorySize - 1);
    std::copy_n(path.begin(), n, first);
}

std::uint8_t ParameterImage::channelShown(int c) const {
    return isChannel(c) ? m_bytes[ImageOffset::channelShown + static_cast<std::size_t>(c)] : 0;
}

void ParameterImage::setChannelShown(int c, std::uint8_t v) {
    if (isChannel(c)) {
        m_bytes[ImageOffset::channelShown + static_cast<std::size_t>(c)] = v;
    }
}

static bool inRecord(int p, int c, int k) {
    return ParameterImage::isPreset(p) && ParameterImage::isChannel(c) && k >= 0 &&
           k < ChannelRecordFieldCount;
}

std::int32_t ParameterImage::field(int p, int c, int k) const {
    return inRecord(p, c, k) ? word(ImageOffset::field(p, c, k)) : 0;
}

void ParameterImage::setField(int p, int c, int k, std::int32_t v) {
    if (inRecord(p, c, k)) {
        setWord(ImageOffset::field(p, c, k), v);
    }
}

ChannelRecord ParameterImage::record(int p, int c) const {
    std::array<std::int32_t, ChannelRecordFieldCount> f{};
    for (int k = 0; k < ChannelRecordFieldCount; ++k) {
        f[k] = field(p, c, k);
    }
    return ChannelRecord::fromFields(f);
}

void ParameterImage::setRecord(int p, int c, const ChannelRecord& r) {
    const auto f = r.toFields();
    for (int k = 0; k < ChannelRecordFieldCount; ++k) {
        setField(p, c, k, f[k]);
    }
}

void applyDefaults(ParameterImage& image) {
    image.setActivePreset(0);
    image.setTabMarker(0);
    image.setRedrawPending(0);
    image.setPlotStartHz(20);
    image.setPlotEndHz(20000);
    image.setSixChannels(1);
    for (int c = 0; c < ChannelCount; ++c) {
        image.setChannelShown(c, 1);
    }
    static constexpr std::int32_t eqFrequencies[EqBandCount] = {40, 80, 160, 400, 2000, 6000};
    for (int p = 0; p < PresetCount; ++p) {
        for (int c = 0; c < ChannelCount; ++c) {
            image.setField(p, c, ChannelField::level, 0);
            image.setField(p, c, ChannelField::hpType, 0);
            image.setField(p, c, ChannelField::lpType, 0);
            image.setField(p, c, ChannelField::input, 0);
            image.setField(p, c, ChannelField::delayTaps, 0);
            for (int e = 0; e < EqBandCount; ++e) {
                image.setField(p, c, eqLevelField(e), 0);
                image.setField(p, c, eqQField(e), 2);
            }
            image.setField(p, c, ChannelField::hpFrequency, 20);
            image.setField(p, c, ChannelField::lpFrequency, 150);
            for (int e = 0; e < EqBandCount; ++e) {
                image.setField(p, c, eqFrequencyField(e), eqFrequencies[e]);
            }
        }
    }
}
