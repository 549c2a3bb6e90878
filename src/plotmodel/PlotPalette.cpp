#include "plotmodel/PlotPalette.h"

#include <algorithm>

namespace {

constexpr std::array<PaletteColour, 16> LowEntries{{{0, 0, 0},
                                                    {128, 0, 0},
                                                    {0, 128, 0},
                                                    {128, 128, 0},
                                                    {0, 0, 128},
                                                    {128, 0, 128},
                                                    {0, 128, 128},
                                                    {192, 192, 192},
                                                    {192, 220, 192},
                                                    {166, 202, 240},
                                                    {238, 238, 238},
                                                    {221, 221, 221},
                                                    {204, 204, 204},
                                                    {187, 187, 187},
                                                    {170, 170, 170},
                                                    {153, 153, 153}}};

constexpr std::array<PaletteColour, 16> HighEntries{{{0, 0, 119},
                                                     {0, 0, 102},
                                                     {0, 0, 85},
                                                     {0, 0, 68},
                                                     {0, 0, 51},
                                                     {0, 0, 34},
                                                     {255, 251, 240},
                                                     {160, 160, 164},
                                                     {128, 128, 128},
                                                     {255, 0, 0},
                                                     {0, 255, 0},
                                                     {255, 255, 0},
                                                     {0, 0, 255},
                                                     {255, 0, 255},
                                                     {0, 255, 255},
                                                     {255, 255, 255}}};

constexpr int RampFirst = 16;
constexpr int RampLast = 239;

std::uint8_t clampByte(int v) {
    return static_cast<std::uint8_t>(std::clamp(v, 0, 255));
}

}  // namespace

PlotPalette buildPlotPalette() {
    PlotPalette p{};
    std::copy(LowEntries.begin(), LowEntries.end(), p.begin());
    for (int i = RampFirst; i <= RampLast; ++i) {
        const int s = RampLast - i;
        p[static_cast<std::size_t>(i)] = {clampByte(767 - 4 * s), clampByte(511 - 4 * s),
                                          clampByte(255 - 4 * s)};
    }
    std::copy(HighEntries.begin(), HighEntries.end(), p.begin() + RampLast + 1);
    return p;
}

int nearestPaletteIndex(const PlotPalette& palette, PaletteColour colour) {
    int best = 0;
    long bestDistance = -1;
    for (int i = 0; i < PlotPaletteSize; ++i) {
        const PaletteColour& e = palette[static_cast<std::size_t>(i)];
        const long dr = long{e.red} - colour.red;
        const long dg = long{e.green} - colour.green;
        const long db = long{e.blue} - colour.blue;
        const long d = dr * dr + dg * dg + db * db;
        if (bestDistance < 0 || d < bestDistance) {
            best = i;
            bestDistance = d;
        }
    }
    return best;
}
