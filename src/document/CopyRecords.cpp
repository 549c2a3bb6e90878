#include "document/CopyRecords.h"

#include "model/ParameterImage.h"

bool copyChannelInActivePreset(ParameterImage& image, int source, int target) {
    const int preset = image.activePreset();
    if (!ParameterImage::isPreset(preset) || !ParameterImage::isChannel(source) ||
        !ParameterImage::isChannel(target)) {
        return false;
    }
    image.setRecord(preset, target, image.record(preset, source));
    return true;
}

bool copyPreset(ParameterImage& image, int source, int target) {
    if (!ParameterImage::isPreset(source) || !ParameterImage::isPreset(target)) {
        return false;
    }
    for (int c = 0; c < ChannelCount; ++c) {
        image.setRecord(target, c, image.record(source, c));
    }
    return true;
}
