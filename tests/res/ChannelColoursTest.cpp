#include <gtest/gtest.h>

#include "res/ChannelColours.h"

namespace {

TEST(ChannelColours, ContrastRatioAsWcagDefinesIt) {
    constexpr PaletteColour black{0, 0, 0};
    constexpr PaletteColour white{255, 255, 255};
    constexpr PaletteColour grey{180, 180, 170};
    EXPECT_DOUBLE_EQ(contrastRatio(black, white), 21.0);
    EXPECT_DOUBLE_EQ(contrastRatio(white, black), 21.0);
    EXPECT_DOUBLE_EQ(contrastRatio(grey, grey), 1.0);
    EXPECT_NEAR(contrastRatio(white, {255, 0, 0}), 4.00, 0.01);
    EXPECT_NEAR(contrastRatio(grey, {255, 255, 0}), 1.95, 0.01);  // "Ch. 2" unreadable
    EXPECT_NEAR(contrastRatio(grey, {0, 0, 255}), 4.11, 0.01);
}

TEST(ChannelColours, EveryTabCaptionReadsOnItsFill) {
    const PaletteColour grey{180, 180, 170};
    const PaletteColour darkGrey{50, 50, 50};
    // The designed grey stays on blue and dark red; red, yellow, cyan and
    // green get the dark grey.
    const PaletteColour normal[] = {darkGrey, darkGrey, grey, grey, darkGrey, darkGrey};
    for (int i = 0; i < 7; ++i) {
        const ChannelTabColours c = channelTabColours(i);
        if (i < 6) {
            EXPECT_EQ(c.normalText, normal[i]) << i;
        }
        EXPECT_GE(contrastRatio(c.normalText, c.fill), MinimumCaptionContrast) << i;
        EXPECT_GE(contrastRatio(c.selectedText, c.fill), MinimumCaptionContrast) << i;
    }
}

}  // namespace
