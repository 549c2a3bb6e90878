#include <gtest/gtest.h>

#include "plotmodel/PlotPalette.h"

namespace {

TEST(PlotPalette, RampAndFixedEntries) {
    const PlotPalette p = buildPlotPalette();
    EXPECT_EQ(p[239], (PaletteColour{255, 255, 255}));
    EXPECT_EQ(p[175], (PaletteColour{255, 255, 0}));
    EXPECT_EQ(p[111], (PaletteColour{255, 0, 0}));
    EXPECT_EQ(p[82], (PaletteColour{139, 0, 0}));
    EXPECT_EQ(p[47], (PaletteColour{0, 0, 0}));
    EXPECT_EQ(p[16], (PaletteColour{0, 0, 0}));
    EXPECT_EQ(p[200], (PaletteColour{255, 255, 99}));  // s = 39
    EXPECT_EQ(p[0], (PaletteColour{0, 0, 0}));
    EXPECT_EQ(p[7], (PaletteColour{192, 192, 192}));
    EXPECT_EQ(p[9], (PaletteColour{166, 202, 240}));
    EXPECT_EQ(p[15], (PaletteColour{153, 153, 153}));
    EXPECT_EQ(p[240], (PaletteColour{0, 0, 119}));
    EXPECT_EQ(p[246], (PaletteColour{255, 251, 240}));
    EXPECT_EQ(p[247], (PaletteColour{160, 160, 164}));
    EXPECT_EQ(p[248], (PaletteColour{128, 128, 128}));
    EXPECT_EQ(p[253], (PaletteColour{255, 0, 255}));
    EXPECT_EQ(p[255], (PaletteColour{255, 255, 255}));
}

TEST(PlotPalette, DrawingColoursLandOnTheNearestEntry) {
    const PlotPalette p = buildPlotPalette();
    auto nearest = [&](PaletteColour c) {
        return p[static_cast<std::size_t>(nearestPaletteIndex(p, c))];
    };
    // The plot's own colours are entries, except channel 4's brown.
    for (PaletteColour c :
         {PaletteColour{255, 0, 0}, PaletteColour{255, 255, 0}, PaletteColour{0, 0, 255},
          PaletteColour{0, 255, 255}, PaletteColour{0, 255, 0}, PaletteColour{128, 128, 128},
          PaletteColour{255, 255, 255}, PaletteColour{0, 0, 0}}) {
        EXPECT_EQ(nearest(c), c);
    }
    EXPECT_EQ(nearest({139, 35, 35}), (PaletteColour{139, 0, 0}));
    EXPECT_EQ(nearestPaletteIndex(p, {0, 0, 0}), 0);  // the lowest of the equal entries
}

}  // namespace
