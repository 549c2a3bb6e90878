#include "response/SendHeadroom.h"

#include <memory>

#include "model/ChannelFieldText.h"
#include "response/ChannelResponse.h"

std::optional<HeadroomExcess> firstAboveHeadroom(const ParameterImage& image) {
    const auto responses = std::make_unique<ChannelResponses>();
    for (int p = 0; p < PresetCount; ++p) {
        computePresetResponses(image, p, *responses);
        for (int c = 0; c < ChannelCount; ++c) {
            if (aboveHeadroom((*responses)[c])) return HeadroomExcess{p, c};
        }
    }
    return std::nullopt;
}

std::string headroomWarning(const HeadroomExcess& excess) {
    return std::string(HeadroomWarningText) + "\nZuerst über +" +
           std::to_string(static_cast<int>(HeadroomLimitDb)) +
           " dB: " + presetChannelText(excess.preset, excess.channel) + ".";
}
