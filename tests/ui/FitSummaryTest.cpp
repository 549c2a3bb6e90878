#include <gtest/gtest.h>

#include "ui/FitSummary.h"

namespace {

TEST(FitSummary, TheErrorLineSaysTheThreeErrorsWithADecimalComma) {
    const struct {
        double value;
        int decimals;
        const char* text;
    } numbers[] = {{3.24, 1, "3,2"},  {0.86, 1, "0,9"},    {12.0, 1, "12,0"},
                   {-0.04, 1, "0,0"}, {-1.25, 2, "-1,25"}, {7.0, 0, "7"}};
    for (const auto& n : numbers) EXPECT_EQ(germanDecimal(n.value, n.decimals), n.text);

    FitResult r;
    r.errorBeforeDb = 3.21;
    r.errorAfterDb = 0.94;
    EXPECT_EQ(fitErrorLine(r), "Fehler vorher 3,2 dB, nachher 0,9 dB");  // a preview
    r.errorFreeDb = 0.81;
    EXPECT_EQ(fitErrorLine(r),
              "Fehler vorher 3,2 dB, nachher 0,9 dB; ohne Raster wären 0,8 dB möglich");
}

TEST(FitSummary, RowsNameEachBandBeforeAndAfter) {
    ChannelRecord before;
    for (int e = 0; e < EqBandCount; ++e) before.eq[e] = {1000, 2, 0};
    ChannelRecord after = before;
    after.eq[1] = {65, 4, -5};
    after.eq[5] = {2400, 22, 3};
    after.level = 2;
    std::array<bool, EqBandCount> keep{};
    keep[3] = true;
    const std::vector<FitRow> rows = fitRows(before, after, keep);
    ASSERT_EQ(rows.size(), 7u);
    EXPECT_EQ(rows[1].name, "EQ2");
    EXPECT_EQ(rows[1].before, "1000 Hz, 0 dB, Q 1.0");
    EXPECT_EQ(rows[1].after, "65 Hz, -5 dB, Q 2");
    EXPECT_TRUE(rows[1].changed);
    EXPECT_FALSE(rows[0].changed);
    EXPECT_EQ(rows[3].after, "beibehalten");
    EXPECT_EQ(rows[5].after, "2400 Hz, +3 dB, Q 0.5 (HighShelf)");
    EXPECT_EQ(rows[6].name, "Pegel");
    EXPECT_EQ(rows[6].after, "+2 dB");
}

}  // namespace
