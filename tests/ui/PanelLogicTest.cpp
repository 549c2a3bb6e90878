#include <gtest/gtest.h>

#include "ui/PanelLogic.h"

namespace {

TEST(PanelLogic, QListsPerBandAndMode) {
    for (int row = 0; row < 4; ++row) {
        ASSERT_EQ(eqQItems(row, true).size(), 20u);  // EQ1..EQ4 never shelve
        EXPECT_EQ(eqQItems(row, false)[3], "2");
    }
    for (int row : {LowShelfRow, HighShelfRow}) {
        EXPECT_EQ(eqQItems(row, false)[3], "2.0");
        EXPECT_EQ(eqQItems(row, false)[19], "10.0");
        ASSERT_EQ(eqQItems(row, true).size(), 3u);
        EXPECT_EQ(eqQItems(row, true)[0], "0.3");
    }
    EXPECT_EQ(qIndexToCode(19, false), 20);
    EXPECT_EQ(qIndexToCode(0, true), 21);
    EXPECT_EQ(qIndexToCode(2, true), 23);
    EXPECT_EQ(qCodeToIndex(23, true), 2);
    EXPECT_EQ(qCodeToIndex(21, false), 20);  // past the 20 items: no selection
    EXPECT_EQ(qCodeToIndex(-2147483647 - 1, false), -1);
}

TEST(PanelLogic, LevelIndicesAndValuesNoItemRepresents) {
    EXPECT_EQ(LevelTexts[dbToLevelIndex(-6)], "-6");
    EXPECT_EQ(EqGainTexts[dbToEqLevelIndex(-12)], "-12");
    EXPECT_EQ(dbToLevelIndex(7), -1);  // +7 from a file: no item
    EXPECT_EQ(dbToEqLevelIndex(-13), -1);
    EXPECT_EQ(levelIndexToDb(12), -6);
    EXPECT_EQ(levelIndexToDb(13), 0);
    EXPECT_EQ(levelIndexToDb(-1), 0);
    EXPECT_EQ(eqLevelIndexToDb(18), -12);
    EXPECT_EQ(eqLevelIndexToDb(19), 0);
}

}  // namespace
