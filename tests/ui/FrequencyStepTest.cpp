#include <gtest/gtest.h>

#include "device/FrequencyGrid.h"
#include "ui/FrequencyStep.h"
#include "ui/PanelLogic.h"

// One click of a frequency spin: the replaced step, then the spin's clamp.
static int click(int hz, int direction, SpinRange range) {
    return spinApply(hz, frequencyStepDelta(hz, direction), range);
}

TEST(FrequencyStep, BandBoundariesStepIntoTheRightBand) {
    EXPECT_EQ(click(49, +1, EqFrequencyRange), 50);
    EXPECT_EQ(click(50, +1, EqFrequencyRange), 55);
    EXPECT_EQ(click(50, -1, EqFrequencyRange), 49);
    EXPECT_EQ(click(55, -1, EqFrequencyRange), 50);
    EXPECT_EQ(click(200, -1, EqFrequencyRange), 195);
    EXPECT_EQ(click(5000, +1, EqFrequencyRange), 5500);
    EXPECT_EQ(click(5000, -1, EqFrequencyRange), 4900);
}

TEST(FrequencyStep, StepTableAtEveryBandEdge) {
    const int ups[][2] = {{1, 1},      {49, 1},      {50, 5},    {199, 5},    {200, 10},
                          {499, 10},   {500, 50},    {1999, 50}, {2000, 100}, {4999, 100},
                          {5000, 500}, {19999, 500}, {20000, 0}, {0, 0},      {-5, 0}};
    for (const auto& [hz, step] : ups) EXPECT_EQ(FrequencyStepUp(hz), step) << hz;
    const int downs[][2] = {{1, 1},      {50, 1},      {51, 5},    {200, 5},    {201, 10},
                            {500, 10},   {501, 50},    {2000, 50}, {2001, 100}, {5000, 100},
                            {5001, 500}, {20000, 500}, {20001, 0}, {0, 0},      {-5, 0}};
    for (const auto& [hz, step] : downs) EXPECT_EQ(FrequencyStepDown(hz), step) << hz;
}

TEST(FrequencyStep, EveryGridPointStepsToItsNeighbours) {
    const auto& grid = frequencyGrid();
    for (std::size_t i = 0; i + 1 < grid.size(); ++i) {
        EXPECT_EQ(grid[i] + FrequencyStepUp(grid[i]), grid[i + 1]) << grid[i];
        EXPECT_EQ(grid[i + 1] - FrequencyStepDown(grid[i + 1]), grid[i]) << grid[i + 1];
    }
}

TEST(FrequencyStep, ClampedAtTheSpinRange) {
    EXPECT_EQ(click(10000, +1, HpFrequencyRange), 10000);
    EXPECT_EQ(click(20, -1, EqFrequencyRange), 20);
    EXPECT_EQ(click(15, -1, HpFrequencyRange), 15);
    EXPECT_EQ(click(19500, +1, LpFrequencyRange), 19500);
    // A value a file brought from outside the range is pulled into it.
    EXPECT_EQ(click(25000, +1, EqFrequencyRange), 19500);
    EXPECT_EQ(click(20, +1, LowShelfFrequencyRange), 40);
}

TEST(FrequencyStep, ZeroProposedChangeStepsDown) {
    EXPECT_EQ(frequencyStepDelta(200, 0), -5);
    EXPECT_EQ(frequencyStepDelta(200, -7), -5);
    EXPECT_EQ(frequencyStepDelta(200, 3), 10);
}

TEST(FrequencyStep, DelayStepsByOneTapOnly) {
    EXPECT_EQ(delayStepDelta(5), 1);
    EXPECT_EQ(delayStepDelta(-5), -1);
    EXPECT_EQ(delayStepDelta(0), -1);
    EXPECT_EQ(spinApply(420, delayStepDelta(1), delaySpinRange(3)), 420);
    EXPECT_EQ(spinApply(420, delayStepDelta(1), delaySpinRange(4)), 421);
    EXPECT_EQ(spinApply(2801, delayStepDelta(1), delaySpinRange(5)), 2801);
    EXPECT_EQ(spinApply(0, delayStepDelta(-1), delaySpinRange(0)), 0);
}

TEST(FrequencyStep, SpinApplyDoesNotOverflowOnExtremeValues) {
    EXPECT_EQ(spinApply(2147483647, 500, EqFrequencyRange), 19500);
    EXPECT_EQ(spinApply(-2147483647 - 1, -1, EqFrequencyRange), 20);
}
