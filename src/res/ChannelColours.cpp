#include "res/ChannelColours.h"

ChannelTabColours channelTabColours(int index) {
    constexpr PaletteColour white{255, 255, 255};
    constexpr PaletteColour black{0, 0, 0};
    constexpr PaletteColour grey{180, 180, 170};
    // Black text where the fill is light (channels 2, 5 and 6).
    static constexpr bool darkText[ChannelCount] = {false, true, false, false, true, true};
    if (index < 0 || index >= ChannelCount) {
        return {white, black, {50, 50, 50}};
    }
    const auto i = static_cast<std::size_t>(index);
    return {ChannelColours[i], darkText[i] ? black : white, grey};
}
