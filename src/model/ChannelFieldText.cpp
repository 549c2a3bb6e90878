#include "model/ChannelFieldText.h"

#include <charconv>

#include "model/ChannelRecord.h"
#include "model/DelayUnits.h"
#include "model/ParameterTexts.h"

namespace {

// The equaliser band of an EQ field, -1 for the fields before them.
int eqBand(int field) {
    return field >= eqFrequencyField(0) && field < ChannelRecordFieldCount
               ? (field - eqFrequencyField(0)) / 3
               : -1;
}

std::string codeText(std::string_view listText, std::int32_t code) {
    return listText.empty() ? "Code " + std::to_string(code) : std::string(listText);
}

// The panel shows the delay in millimetres with one decimal and a point,
// whatever the process locale.
std::string delayTapsText(std::int32_t taps) {
    char mm[64];
    const auto end = std::to_chars(mm, mm + sizeof mm, static_cast<double>(taps) * MmPerTap,
                                   std::chars_format::fixed, 1)
                         .ptr;
    return std::to_string(taps) + " Taps (" + std::string(mm, end) + " mm)";
}

}  // namespace

std::string channelFieldName(int field) {
    switch (static_cast<ChannelField>(field)) {
        case ChannelField::level:
            return "Pegel";
        case ChannelField::hpFrequency:
            return "Hochpass-Frequenz";
        case ChannelField::hpType:
            return "Hochpass-Typ";
        case ChannelField::lpFrequency:
            return "Tiefpass-Frequenz";
        case ChannelField::lpType:
            return "Tiefpass-Typ";
        case ChannelField::reserved:
            return "Reserviert";
        case ChannelField::input:
            return "Eingang";
        case ChannelField::delayTaps:
            return "Verzögerung";
    }
    const int band = eqBand(field);
    if (band < 0) return {};
    const std::string eq = "EQ" + std::to_string(band + 1) + " ";
    if (field == eqFrequencyField(band)) return eq + "Frequenz";
    if (field == eqQField(band)) return eq + "Q";
    return eq + "Pegel";
}

std::string channelFieldText(int field, std::int32_t value) {
    const std::string number = std::to_string(value);
    switch (static_cast<ChannelField>(field)) {
        case ChannelField::level:
            return number + " dB";
        case ChannelField::hpFrequency:
        case ChannelField::lpFrequency:
            return number + " Hz";
        case ChannelField::hpType:
        case ChannelField::lpType:
            return codeText(filterTypeText(value), value);
        case ChannelField::reserved:
            return number;
        case ChannelField::input:
            return codeText(inputText(value), value);
        case ChannelField::delayTaps:
            return delayTapsText(value);
    }
    const int band = eqBand(field);
    if (band < 0) return number;
    if (field == eqFrequencyField(band)) return number + " Hz";
    if (field == eqLevelField(band)) return number + " dB";
    const std::string q = codeText(eqQText(band, value), value);
    if (!isShelvingQCode(band, value)) return q;
    return q + (band == 4 ? " (LowShelf)" : " (HighShelf)");
}

std::string presetChannelText(int preset, int channel) {
    return "Preset " + std::to_string(preset + 1) + ", Kanal " + std::to_string(channel + 1);
}

std::string eqBandText(const EqBand& band, int e) {
    const std::string gain = (band.level > 0 ? "+" : "") + std::to_string(band.level);
    return std::to_string(band.frequency) + " Hz, " + gain + " dB, Q " +
           channelFieldText(eqQField(e), band.q);
}
