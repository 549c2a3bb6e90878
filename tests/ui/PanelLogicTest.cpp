#include <gtest/gtest.h>

#include "ui/PanelLogic.h"

TEST(PanelLogic, DelayTextAtTheLimits) {
    EXPECT_EQ(delayText(0), "Taps entsprechen 0.0 mm");
    EXPECT_EQ(delayText(420), "Taps entsprechen 1499.4 mm");
    EXPECT_EQ(delayText(2801), "Taps entsprechen 9999.6 mm");
    EXPECT_EQ(delaySpinRange(0), (SpinRange{0, 420}));
    EXPECT_EQ(delaySpinRange(3), (SpinRange{0, 420}));
    EXPECT_EQ(delaySpinRange(4), (SpinRange{0, 2801}));
    EXPECT_EQ(delaySpinRange(5), (SpinRange{0, 2801}));
}

TEST(PanelLogic, ListContents) {
    EXPECT_EQ(LevelTexts[6], "0");
    EXPECT_EQ(LevelTexts.back(), "-6");
    EXPECT_EQ(EqGainTexts[6], "0");
    EXPECT_EQ(EqGainTexts.back(), "-12");
    for (int row = 0; row < 4; ++row) {
        ASSERT_EQ(eqQItems(row, true).size(), 20u);  // EQ1..EQ4 never shelve
        EXPECT_EQ(eqQItems(row, false)[3], "2");
        EXPECT_EQ(eqQItems(row, false)[19], "10");
    }
    for (int row : {LowShelfRow, HighShelfRow}) {
        ASSERT_EQ(eqQItems(row, false).size(), 20u);
        EXPECT_EQ(eqQItems(row, false)[3], "2.0");
        EXPECT_EQ(eqQItems(row, false)[19], "10.0");
        ASSERT_EQ(eqQItems(row, true).size(), 3u);
        EXPECT_EQ(eqQItems(row, true)[0], "0.3");
        EXPECT_EQ(eqQItems(row, true)[2], "0.7");
    }
}

TEST(PanelLogic, LevelMappingsAndOutOfRangeValues) {
    EXPECT_EQ(LevelIndexToDb(0), 6);
    EXPECT_EQ(LevelIndexToDb(12), -6);
    EXPECT_EQ(LevelIndexToDb(13), 0);
    EXPECT_EQ(LevelIndexToDb(-1), 0);
    EXPECT_EQ(EqLevelIndexToDb(18), -12);
    EXPECT_EQ(EqLevelIndexToDb(19), 0);
    EXPECT_EQ(DbToLevelIndex(7), 0);  // +7 from a file shows "6"
    EXPECT_EQ(DbToLevelIndex(-6), 12);
    EXPECT_EQ(DbToLevelIndex(-7), 0);
    EXPECT_EQ(DbToEqLevelIndex(-12), 18);
    EXPECT_EQ(DbToEqLevelIndex(-13), 0);
    EXPECT_EQ(DbToEqLevelIndex(6), 0);
}

TEST(PanelLogic, QCodesInNormalAndShelvingMode) {
    EXPECT_EQ(QIndexToCode(19, false), 20);  // "10.0"
    EXPECT_EQ(QIndexToCode(0, true), 21);    // "0.3"
    EXPECT_EQ(QIndexToCode(1, true), 22);    // "0.5"
    EXPECT_EQ(QIndexToCode(2, true), 23);    // "0.7"
    EXPECT_EQ(qCodeToIndex(20, false), 19);
    EXPECT_EQ(qCodeToIndex(23, true), 2);
    EXPECT_EQ(qCodeToIndex(21, false), 20);  // outside the 20 items: no selection
    EXPECT_EQ(qCodeToIndex(-2147483647 - 1, false), -1);
}

TEST(PanelLogic, ShelfSwitchValues) {
    const ShelfSwitch lowOn = shelfSwitchValues(LowShelfRow, true);
    EXPECT_EQ(lowOn.frequency, 200);
    EXPECT_EQ(lowOn.qCode, 22);
    EXPECT_EQ(lowOn.level, 0);
    EXPECT_EQ(eqQItems(LowShelfRow, true)[lowOn.qIndex], "0.5");
    EXPECT_EQ(lowOn.range, (SpinRange{40, 10000}));
    const ShelfSwitch lowOff = shelfSwitchValues(LowShelfRow, false);
    EXPECT_EQ(lowOff.frequency, 2000);
    EXPECT_EQ(lowOff.qCode, 2);
    EXPECT_EQ(eqQItems(LowShelfRow, false)[lowOff.qIndex], "1.0");
    EXPECT_EQ(lowOff.range, (SpinRange{20, 19500}));
    const ShelfSwitch highOn = shelfSwitchValues(HighShelfRow, true);
    EXPECT_EQ(highOn.frequency, 10000);
    EXPECT_EQ(highOn.qCode, 22);
    EXPECT_EQ(highOn.range, (SpinRange{200, 15000}));
    const ShelfSwitch highOff = shelfSwitchValues(HighShelfRow, false);
    EXPECT_EQ(highOff.frequency, 6000);
    EXPECT_EQ(highOff.qCode, 2);
    EXPECT_EQ(highOff.range, (SpinRange{20, 19500}));
}

TEST(PanelLogic, InputStepperDigits) {
    EXPECT_EQ(inputFromStepperText("0"), 0);
    EXPECT_EQ(inputFromStepperText("2"), 2);
    EXPECT_EQ(inputFromStepperText("L+R"), std::nullopt);
    EXPECT_EQ(inputFromStepperText("3"), std::nullopt);
}
