#include "device/PreSendCheck.h"

#include <algorithm>
#include <optional>

#include "device/WireImage.h"
#include "model/ChannelFieldText.h"
#include "model/ParameterImage.h"
#include "model/ParameterLimits.h"
#include "model/ParameterTexts.h"

namespace {

// Whether the device has a setting for a value that the wire carries
// unchanged. Levels, gains and frequencies need no test: every code they
// travel as stands for a setting, and any other value changes on the way.
bool deviceKnowsCode(int field, std::int32_t value) {
    switch (static_cast<ChannelField>(field)) {
        case ChannelField::hpType:
        case ChannelField::lpType:
            return !filterTypeText(value).empty();
        case ChannelField::input:
            return !inputText(value).empty();
        default:
            break;
    }
    for (int e = 0; e < EqBandCount; ++e) {
        if (field == eqQField(e)) return !eqQText(e, value).empty();
    }
    return true;
}

std::optional<SendFindingKind> findingKind(int channel, int field, std::int32_t stored,
                                           std::int32_t arrives) {
    if (stored != arrives) return SendFindingKind::Changed;
    if (!deviceKnowsCode(field, stored)) return SendFindingKind::UnknownCode;
    if (field == static_cast<int>(ChannelField::delayTaps) &&
        !ParameterLimits::delayTaps(channel).contains(stored)) {
        return SendFindingKind::BeyondDelayLine;
    }
    return std::nullopt;
}

}  // namespace

std::vector<SendFinding> checkBeforeSend(const ParameterImage& image) {
    std::vector<SendFinding> findings;
    for (int p = 0; p < PresetCount; ++p) {
        for (int c = 0; c < ChannelCount; ++c) {
            const ChannelRecord record = image.record(p, c);
            ChannelRecord back = record;
            decodeWireRecord(encodeWireRecord(record), back);
            const auto stored = record.toFields();
            const auto arrives = back.toFields();
            for (int k = 0; k < ChannelRecordFieldCount; ++k) {
                if (k == static_cast<int>(ChannelField::reserved)) continue;
                if (const auto kind = findingKind(c, k, stored[k], arrives[k])) {
                    findings.push_back({p, c, k, stored[k], arrives[k], *kind});
                }
            }
        }
    }
    return findings;
}

std::string findingStoredText(const SendFinding& f) {
    return channelFieldText(f.field, f.stored);
}

std::string findingDeviceText(const SendFinding& f) {
    const std::string arrives = channelFieldText(f.field, f.arrives);
    switch (f.kind) {
        case SendFindingKind::Changed:
            break;
        case SendFindingKind::UnknownCode:
            return arrives + " (kennt das Gerät nicht)";
        case SendFindingKind::BeyondDelayLine:
            return "die Verzögerungsleitung fasst höchstens " +
                   std::to_string(ParameterLimits::delayTaps(f.channel).hi);
    }
    return arrives;
}

std::string findingLine(const SendFinding& f) {
    const std::string head =
        presetChannelText(f.preset, f.channel) + ", " + channelFieldName(f.field) + ": ";
    // The delay travels as set; what matters is the line that cannot hold it.
    if (f.kind == SendFindingKind::BeyondDelayLine) {
        return head + std::to_string(f.stored) + " Taps, " + findingDeviceText(f);
    }
    return head + findingStoredText(f) + " → " + findingDeviceText(f);
}

std::string preSendList(const std::vector<SendFinding>& findings, std::size_t maxLines) {
    std::string list;
    const std::size_t shown = std::min(findings.size(), maxLines);
    for (std::size_t i = 0; i < shown; ++i) {
        list += (i ? "\n" : "") + findingLine(findings[i]);
    }
    if (findings.size() > shown) {
        list += (shown ? "\n" : "") + std::string("… und ") +
                std::to_string(findings.size() - shown) + " weitere";
    }
    return list;
}

std::string preSendIntro(std::size_t count) {
    if (count == 1) return "Diesen Wert kann das Gerät nicht so übernehmen, wie er eingestellt ist";
    return "Diese " + std::to_string(count) +
           " Werte kann das Gerät nicht so übernehmen, wie sie eingestellt sind";
}

std::string preSendMessage(const std::vector<SendFinding>& findings) {
    return preSendIntro(findings.size()) + ":\n\n" + preSendList(findings) + "\n\n" +
           PreSendQuestion;
}
