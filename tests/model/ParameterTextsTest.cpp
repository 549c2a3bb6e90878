#include <gtest/gtest.h>

#include <climits>

#include "model/ParameterTexts.h"

namespace {

TEST(ParameterTexts, CodesMapToTheItemsThePanelShows) {
    EXPECT_EQ(filterTypeText(0), "Off");
    EXPECT_EQ(filterTypeText(FilterLinkwitzRiley24), "Linkwitz-Riley 24 dB/Oct");
    EXPECT_EQ(inputText(2), "L+R");

    // EQ1..EQ4 show whole Q values without a decimal, EQ5 and EQ6 with one.
    EXPECT_EQ(eqQText(0, 1), "0.5");
    EXPECT_EQ(eqQText(3, 4), "2");
    EXPECT_EQ(eqQText(3, 20), "10");
    EXPECT_EQ(eqQText(4, 4), "2.0");
    EXPECT_EQ(eqQText(5, 20), "10.0");
    EXPECT_EQ(eqQText(4, 21), "0.3");
    EXPECT_EQ(eqQText(5, 22), "0.5");
    EXPECT_EQ(eqQText(5, 23), "0.7");
    EXPECT_TRUE(isShelvingQCode(4, 23));
    EXPECT_FALSE(isShelvingQCode(3, 22));  // only EQ5 and EQ6 shelve
    EXPECT_FALSE(isShelvingQCode(5, 20));
}

TEST(ParameterTexts, CodesNoItemRepresentsGiveNoText) {
    for (int code : {-1, 10, 255, INT_MIN, INT_MAX}) {
        EXPECT_EQ(filterTypeText(code), "") << code;
    }
    for (int code : {-1, 3, INT_MIN}) {
        EXPECT_EQ(inputText(code), "") << code;
    }
    for (int code : {0, -5, 24, 30, INT_MIN, INT_MAX}) {
        for (int band = 0; band < EqBandCount; ++band) {
            EXPECT_EQ(eqQText(band, code), "") << band << " " << code;
        }
    }
    EXPECT_EQ(eqQText(0, 21), "");  // a shelving code on a band without shelving
    EXPECT_EQ(eqQText(6, 2), "");
    EXPECT_EQ(eqQText(-1, 2), "");
}

}  // namespace
