#include "ui/ChannelTabColours.h"

#include "response/CPlotRenderer.h"

ChannelTabColours channelTabColours(int index) {
    constexpr PaletteColour white{255, 255, 255};
    constexpr PaletteColour black{0, 0, 0};
    constexpr PaletteColour grey{180, 180, 170};
    // Black text where the fill is light (channels 2, 5 and 6).
    static constexpr bool darkText[ChannelCount] = {false, true, false, false, true, true};
    if (index < 0 || index >= ChannelCount) {
        return {white, black, {50, 50, 50}};
    }
    const QRgb pen = PlotChannelColours[static_cast<std::size_t>(index)];
    const PaletteColour fill{static_cast<std::uint8_t>(qRed(pen)),
                             static_cast<std::uint8_t>(qGreen(pen)),
                             static_cast<std::uint8_t>(qBlue(pen))};
    return {fill, darkText[index] ? black : white, grey};
}
