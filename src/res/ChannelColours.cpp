#include "res/ChannelColours.h"

#include <algorithm>
#include <cmath>

namespace {

// One sRGB component (0..255) as linear light.
double linearLight(int component) {
    const double c = component / 255.0;
    return c <= 0.04045 ? c / 12.92 : std::pow((c + 0.055) / 1.055, 2.4);
}

double relativeLuminance(PaletteColour c) {
    return 0.2126 * linearLight(c.red) + 0.7152 * linearLight(c.green) +
           0.0722 * linearLight(c.blue);
}

}  // namespace

double contrastRatio(PaletteColour a, PaletteColour b) {
    const double la = relativeLuminance(a);
    const double lb = relativeLuminance(b);
    return (std::max(la, lb) + 0.05) / (std::min(la, lb) + 0.05);
}

ChannelTabColours channelTabColours(int index) {
    constexpr PaletteColour white{255, 255, 255};
    constexpr PaletteColour black{0, 0, 0};
    constexpr PaletteColour grey{180, 180, 170};
    constexpr PaletteColour darkGrey{50, 50, 50};
    // Black text where the fill is light (channels 2, 5 and 6).
    static constexpr bool darkText[ChannelCount] = {false, true, false, false, true, true};
    if (index < 0 || index >= ChannelCount) {
        return {white, black, darkGrey};
    }
    const auto i = static_cast<std::size_t>(index);
    const PaletteColour fill = ChannelColours[i];
    const PaletteColour normal =
        contrastRatio(grey, fill) >= MinimumCaptionContrast ? grey : darkGrey;
    return {fill, darkText[i] ? black : white, normal};
}
