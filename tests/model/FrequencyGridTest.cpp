#include <gtest/gtest.h>

#include <climits>

#include "model/FrequencyGrid.h"

TEST(FrequencyGrid, HoldsTheDevicesFrequenciesInSixSteps) {
    const auto& grid = frequencyGrid();
    // The ends of the six bands (code, Hz).
    const int bandEnds[][2] = {{0, 15},     {35, 50},    {36, 55},    {65, 200},
                               {66, 210},   {95, 500},   {96, 550},   {125, 2000},
                               {126, 2100}, {155, 5000}, {156, 5500}, {184, 19500}};
    for (const auto& [code, hz] : bandEnds) EXPECT_EQ(grid[code], hz) << code;
    for (int c = 0; c < FrequencyGridSize; ++c) {
        EXPECT_TRUE(c == 0 || grid[c - 1] < grid[c]) << c;
        EXPECT_EQ(frequencyToCode(grid[c]), c) << grid[c];
    }
}

TEST(FrequencyGrid, OffGridAndOutOfRangeValues) {
    const int toCode[][2] = {{57, 36}, {19999, 184}, {20000, 0}, {INT_MAX, 0},
                             {-1, 0},  {INT_MIN, 0}, {0, -15},   {14, -1}};
    for (const auto& [hz, code] : toCode) EXPECT_EQ(frequencyToCode(hz), code) << hz;
    for (int c : {-1, 185, 255, 271, INT_MIN, INT_MAX}) EXPECT_EQ(codeToFrequency(c), 0) << c;
}
