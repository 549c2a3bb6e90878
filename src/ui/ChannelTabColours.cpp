#include "ui/ChannelTabColours.h"

ChannelTabColours channelTabColours(int index) {
    constexpr PaletteColour white{255, 255, 255};
    constexpr PaletteColour black{0, 0, 0};
    constexpr PaletteColour grey{180, 180, 170};
    static constexpr PaletteColour fills[6] = {{255, 0, 0},   {255, 255, 0}, {0, 0, 255},
                                               {139, 35, 35}, {0, 255, 255}, {0, 255, 0}};
    // Black text where the fill is light (yellow, cyan, green).
    static constexpr bool darkText[6] = {false, true, false, false, true, true};
    if (index < 0 || index >= 6) {
        return {white, black, {50, 50, 50}};
    }
    return {fills[index], darkText[index] ? black : white, grey};
}
