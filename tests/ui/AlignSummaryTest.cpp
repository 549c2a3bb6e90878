// What the alignment dialog says a candidate changes: a delay as taps, as
// the path sound travels meanwhile and as time, with its direction; the
// other fields only where they change.

#include <gtest/gtest.h>

#include "ui/AlignSummary.h"

namespace {

// One tap is 3.57 mm of path, at 343 m/s 10.408 µs: 12 taps are 42.84 mm
// and 0.1249 ms.
TEST(AlignSummary, ADelayChangeSaysHowFarAndWhichWay) {
    struct Case {
        int before;
        int after;
        const char* text;
    } cases[] = {
        {0, 12, "+12 Taps (4,3 cm / 0,12 ms später)"},
        {40, 37, "-3 Taps (1,1 cm / 0,03 ms früher)"},
        {5, 6, "+1 Tap (0,4 cm / 0,01 ms später)"},
        {7, 7, ""},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(delayChangeText(c.before, c.after), c.text) << c.before << " → " << c.after;
    }
}

TEST(AlignSummary, EachChannelSaysWhatChangesAndTheHeldOneOnlyIfItsCrossoverDoes) {
    ChannelRecord woofer;
    woofer.lpFrequency = 2300;
    woofer.lpType = FilterLinkwitzRiley24;
    ChannelRecord tweeter;
    tweeter.hpFrequency = 2300;
    tweeter.hpType = FilterLinkwitzRiley24;
    ChannelRecord wooferAfter = woofer;
    wooferAfter.lpFrequency = 2900;
    ChannelRecord tweeterAfter = tweeter;
    tweeterAfter.delayTaps = 5;
    tweeterAfter.level = -3;
    tweeterAfter.hpFrequency = 2900;
    tweeterAfter.hpType = FilterButterworth24;
    EXPECT_EQ(candidateLines({0, 1}, 0, {woofer, tweeter}, {wooferAfter, tweeterAfter}),
              (std::vector<std::string>{
                  "Kanal 1: Tiefpass 2300 → 2900 Hz",
                  "Kanal 2: +5 Taps (1,8 cm / 0,05 ms später), Pegel 0 → -3 dB, Hochpass 2300 → "
                  "2900 Hz, Hochpass Butterworth 24 dB/Oct"}));
    EXPECT_EQ(candidateLines({2, 4}, 4, {woofer, tweeter}, {woofer, tweeter}),
              (std::vector<std::string>{"Kanal 3: unverändert"}));
}

// Without phase no sum can be predicted: the plot gets each driver as the
// candidate's channel sets it. A channel without filters and equaliser bands
// at 0 dB passes its driver unchanged but for its level, so the curve is the
// file's level, minus 4 dB, moved by the overlay's offset.
TEST(AlignSummary, WithoutPhaseThePreviewIsEachDriverAtTheCandidatesLevel) {
    AlignInput input;
    input.channels = {0, 1};
    for (int c : input.channels) {
        Measurement& m = input.measurements[std::size_t(c)];
        m.frequencies = {100.0, 1000.0, 10000.0};
        m.db = {80.0, 86.0 + c, 83.0};
    }
    std::vector<ChannelRecord> candidate(2);
    candidate[1].level = -4;
    const PlotPreview preview = alignPreview(input, candidate, 1, -85.0);
    ASSERT_EQ(preview.size(), 2u);
    EXPECT_EQ(preview[1].id, 1);
    EXPECT_EQ(preview[1].stroke, CurveStroke::Dashed);
    EXPECT_EQ(preview[1].name, "Vorschlag 1 Kanal 2");
    const std::vector<double> expected = {80.0 - 4 - 85, 87.0 - 4 - 85, 83.0 - 4 - 85};
    for (std::size_t i = 0; i < expected.size(); ++i) {
        EXPECT_NEAR(preview[1].values[i], expected[i], 1e-3) << i;
    }
}

}  // namespace
