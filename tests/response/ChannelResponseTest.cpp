#include <gtest/gtest.h>

#include <cmath>

#include "TestRecords.h"
#include "response/ChannelResponse.h"
#include "response/EqResponse.h"
#include "response/SendHeadroom.h"

namespace {

ParameterImage imageWith(int preset, int channel, const ChannelRecord& r) {
    ParameterImage image;
    applyDefaults(image);
    image.setActivePreset(preset);
    image.setRecord(preset, channel, r);
    return image;
}

TEST(ResponseGrid, HundredPointsPerDecadeFromTwoHertz) {
    const ResponseGrid grid;
    EXPECT_EQ(ResponseGrid::size(), 2000);
    EXPECT_EQ(grid[0], 2.0f);
    EXPECT_EQ(grid[100], 20.0f);
    EXPECT_EQ(grid[300], 2000.0f);
    EXPECT_EQ(grid[400], 20000.0f);
    EXPECT_FLOAT_EQ(grid[1999], static_cast<float>(2.0 * std::pow(10.0, 19.99)));
    for (int j = 1; j < ResponseGrid::size(); ++j) ASSERT_LT(grid[j - 1], grid[j]) << j;
    EXPECT_EQ(grid[1234], responseGridFrequency(1234));
}

TEST(ComputeResponses, ReadsTheActivePresetAndEveryChannel) {
    ChannelRecord boosted = neutralRecord();
    boosted.eq[4] = {2000, 2, 6};  // point 300 is 2000 Hz
    ParameterImage image = imageWith(2, 5, boosted);
    image.setRecord(0, 0, boosted);  // another preset: not shown
    ChannelResponses responses;
    computeResponses(image, responses);
    EXPECT_FLOAT_EQ(responses[5].db[300], 6.0f);
    EXPECT_NEAR(responses[5].db[100], 0.0f, 0.01);
    for (int c = 0; c < 5; ++c) EXPECT_EQ(responses[c].db[300], 0.0f) << c;
}

TEST(ComputeResponses, ZeroOrNaNProductsReadAsTheLevel) {
    ChannelRecord qZero = neutralRecord(4);
    qZero.eq[2].q = 0;  // NaN at every point
    ChannelRecord lpAtZero = neutralRecord(-3);
    lpAtZero.lpType = 2;
    lpAtZero.lpFrequency = 0;  // magnitude 0 at every point
    ParameterImage image;
    applyDefaults(image);
    image.setRecord(0, 1, qZero);
    image.setRecord(0, 2, lpAtZero);
    ChannelResponses responses;
    computeResponses(image, responses);
    for (int j = 0; j < ResponseGrid::size(); ++j) {
        ASSERT_EQ(responses[1].db[j], 4.0f) << j;
        ASSERT_EQ(responses[2].db[j], -3.0f) << j;
    }
}

TEST(ComputeResponses, OddValuesFromAFileNeitherCrashNorLeaveGarbage) {
    ChannelRecord odd = neutralRecord(1);
    odd.hpType = 10;
    odd.lpType = 255;
    odd.hpFrequency = -500;
    odd.eq[0] = {1000, 30, 6};   // shelf with Q 30 on EQ1
    odd.eq[1] = {-200, -5, -6};  // negative frequency and Q
    odd.eq[2] = {0, 2, 3};
    odd.eq[3] = {1000, 2, 200};  // +200 dB
    ChannelRecord huge = neutralRecord();
    huge.eq[0] = {1000, 2, 2000};  // beyond the float range: inf and NaN parts
    huge.eq[1] = {1000, 2, -2000};
    ParameterImage image = imageWith(0, 0, odd);
    image.setRecord(0, 1, huge);
    ChannelResponses responses;
    computeResponses(image, responses);
    for (const ChannelResponse& r : responses) {
        for (float v : r.db) ASSERT_FALSE(std::isnan(v));
    }
    EXPECT_EQ(checkHeadroom(responses), -1);

    for (int preset : {7, -1, 4}) {
        image.setActivePreset(preset);
        responses[0].db.fill(99.0f);
        computeResponses(image, responses);
        // All-zero records: Q code 0 in every band, so every point is 0 dB.
        for (const ChannelResponse& r : responses) {
            for (float v : r.db) ASSERT_EQ(v, 0.0f) << preset;
        }
        EXPECT_TRUE(std::isnan(channelMagnitude(1000, image, 0))) << preset;
    }
}

TEST(CheckHeadroom, StrictlyAboveTwelveDecibels) {
    ChannelRecord r = neutralRecord(6);
    r.eq[4] = {2000, 2, 6};  // +6 dB level and +6 dB at point 300: 12 dB exactly
    ParameterImage image = imageWith(0, 4, r);
    ChannelResponses responses;
    computeResponses(image, responses);
    EXPECT_LE(responses[4].db[300], 12.0f);
    EXPECT_EQ(checkHeadroom(responses), 0);

    // Every point of every channel is scanned, the last one too.
    responses = ChannelResponses{};
    EXPECT_EQ(checkHeadroom(responses), 0);
    responses[5].db[1999] = 12.0f;
    EXPECT_EQ(checkHeadroom(responses), 0);
    responses[5].db[1999] = 12.000001f;
    EXPECT_EQ(checkHeadroom(responses), -1);
}

TEST(SendHeadroom, EveryPresetIsCheckedAndTheFirstExcessNamed) {
    ChannelRecord loud = neutralRecord(6);
    loud.eq[3] = {2000, 2, 6};
    loud.eq[4] = {2000, 2, 6};  // 18 dB at 2000 Hz
    ParameterImage image;
    applyDefaults(image);
    EXPECT_EQ(firstAboveHeadroom(image), std::nullopt);

    image.setRecord(3, 0, loud);
    image.setRecord(1, 5, loud);
    image.setActivePreset(3);  // the preset on screen does not come first
    const auto excess = firstAboveHeadroom(image);
    ASSERT_TRUE(excess);
    EXPECT_EQ(*excess, (HeadroomExcess{1, 5}));
    EXPECT_EQ(headroomWarning(*excess),
              "Equalizer-Level zu hoch! Dies kann zu Verzerrungen führen.\n"
              "Zuerst über +12 dB: Preset 2, Kanal 6.");

    // The active preset's curves are the ones computeResponses() gives.
    ChannelResponses active, third;
    computeResponses(image, active);
    computePresetResponses(image, 3, third);
    EXPECT_EQ(active[0].db, third[0].db);
}

}  // namespace
