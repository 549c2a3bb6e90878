#include <gtest/gtest.h>

#include "model/FrequencyGrid.h"
#include "ui/FrequencyStep.h"
#include "ui/PanelLogic.h"

namespace {

// One click of a frequency spin: the replaced step, then the spin's clamp.
int click(int hz, int direction, SpinRange range = EqFrequencyRange) {
    return spinApply(hz, frequencyStepDelta(hz, direction), range);
}

TEST(FrequencyStep, ExamplesAndBandEdges) {
    EXPECT_EQ(click(49, +1), 50);
    EXPECT_EQ(click(50, +1), 55);
    EXPECT_EQ(click(50, -1), 49);
    EXPECT_EQ(click(55, -1), 50);
    EXPECT_EQ(click(200, -1), 195);
    EXPECT_EQ(click(5000, +1), 5500);
    EXPECT_EQ(click(5000, -1), 4900);
    EXPECT_EQ(click(200, 0), 195);  // no proposed direction counts as down
    // Outside the device's table nothing moves.
    for (int hz : {0, -5, 20000}) EXPECT_EQ(frequencyStepUp(hz), 0) << hz;
    for (int hz : {0, -5, 20001}) EXPECT_EQ(frequencyStepDown(hz), 0) << hz;
    EXPECT_EQ(frequencyStepUp(19999), 500);
    EXPECT_EQ(frequencyStepDown(20000), 500);
    EXPECT_EQ(frequencyStepUp(1), 1);
    EXPECT_EQ(frequencyStepDown(1), 1);
}

TEST(FrequencyStep, EveryGridPointStepsToItsNeighbours) {
    const auto& grid = frequencyGrid();
    for (std::size_t i = 0; i + 1 < grid.size(); ++i) {
        EXPECT_EQ(grid[i] + frequencyStepUp(grid[i]), grid[i + 1]) << grid[i];
        EXPECT_EQ(grid[i + 1] - frequencyStepDown(grid[i + 1]), grid[i]) << grid[i + 1];
    }
}

TEST(FrequencyStep, ClampedToTheSpinRangeWithoutOverflow) {
    EXPECT_EQ(click(10000, +1, HpFrequencyRange), 10000);
    EXPECT_EQ(click(20, -1), 20);
    EXPECT_EQ(click(20, +1, LowShelfFrequencyRange), 40);  // a file's value is pulled in
    EXPECT_EQ(spinApply(2147483647, 500, EqFrequencyRange), 19500);
    EXPECT_EQ(spinApply(-2147483647 - 1, -1, EqFrequencyRange), 20);
    EXPECT_EQ(spinApply(420, delayStepDelta(7), delaySpinRange(3)), 420);
    EXPECT_EQ(spinApply(420, delayStepDelta(7), delaySpinRange(4)), 421);
    EXPECT_EQ(delayStepDelta(0), -1);
}

}  // namespace
