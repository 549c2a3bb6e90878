#include <gtest/gtest.h>

#include <cmath>
#include <limits>

#include "PrintedFigure.h"
#include "response/EqResponse.h"
#include "response/FilterResponse.h"

namespace {

double hpDb(double f, double fc, int type) {
    return magnitudeToDb(highPassMagnitude(f, fc, type));
}
double lpDb(double f, double fc, int type) {
    return magnitudeToDb(lowPassMagnitude(f, fc, type));
}

TEST(ComplexMagnitude, TakesTheShortCutsAndScalesByTheLargerPart) {
    EXPECT_EQ(complexMagnitude(0.0f, -2.5f), 2.5f);
    EXPECT_EQ(complexMagnitude(-3.0f, 0.0f), 3.0f);
    EXPECT_EQ(complexMagnitude(0.0f, 0.0f), 0.0f);
    EXPECT_EQ(complexMagnitude(3.0f, -4.0f), 5.0f);
    EXPECT_EQ(complexMagnitude(-4.0f, 3.0f), 5.0f);
    // No overflow where re*re + im*im would leave the float range.
    EXPECT_FLOAT_EQ(complexMagnitude(3e30f, 4e30f), 5e30f);
    EXPECT_TRUE(std::isnan(complexMagnitude(std::numeric_limits<float>::quiet_NaN(), 1.0f)));
    const float inf = std::numeric_limits<float>::infinity();
    EXPECT_EQ(complexMagnitude(inf, 1.0f), inf);
}

TEST(FilterType, FamilyAndOrderOfEveryCode) {
    const int family[] = {10, 0, 1, 1, 1, 0, 0, 0, 2, 2};
    const int order[] = {0, 1, 2, 3, 4, 2, 3, 4, 2, 4};
    for (int code = 0; code < 10; ++code) {
        EXPECT_EQ(filterFamily(code), family[code]) << code;
        EXPECT_EQ(filterOrder(code), order[code]) << code;
    }
    for (int code : {10, 255, -1, std::numeric_limits<int>::min()}) {
        EXPECT_EQ(filterFamily(code), 0) << code;
        EXPECT_EQ(filterOrder(code), 0) << code;
    }
}

struct CornerCase {
    int code;
    double hpAtFc, lpAtFc, hpHalf, lpDouble;
};

class CrossoverAtCorner : public testing::TestWithParam<CornerCase> {};

TEST_P(CrossoverAtCorner, MatchesTheReferenceFigures) {
    const CornerCase& c = GetParam();
    EXPECT_PRINTS_AS(hpDb(1000, 1000, c.code), c.hpAtFc, 2);
    EXPECT_PRINTS_AS(lpDb(1000, 1000, c.code), c.lpAtFc, 2);
    EXPECT_PRINTS_AS(hpDb(500, 1000, c.code), c.hpHalf, 2);
    EXPECT_PRINTS_AS(lpDb(2000, 1000, c.code), c.lpDouble, 2);
}

INSTANTIATE_TEST_SUITE_P(AllTypes, CrossoverAtCorner,
                         testing::Values(CornerCase{1, -3.01, -3.01, -6.99, -6.99},
                                         CornerCase{2, -2.97, -2.97, -12.29, -12.29},
                                         CornerCase{3, -3.01, -3.01, -18.13, -18.13},
                                         CornerCase{4, -2.98, -3.01, -24.06, -24.11},
                                         CornerCase{5, -3.01, -3.03, -9.87, -9.91},
                                         CornerCase{6, -3.02, -3.02, -11.99, -12.02},
                                         CornerCase{7, -2.98, -2.97, -13.37, -13.34},
                                         CornerCase{8, -6.02, -6.02, -13.98, -13.98},
                                         CornerCase{9, -5.95, -5.95, -24.58, -24.58}));

TEST(Crossover, ADecadeIntoThePassBand) {
    const double expected[] = {0,      -0.043, 0.000,  0.000,  0.000,
                               -0.027, -0.027, -0.028, -0.086, 0.001};
    for (int code = 1; code <= 9; ++code) {
        EXPECT_PRINTS_AS(hpDb(10000, 1000, code), expected[code], 3) << "code " << code;
    }
}

TEST(Crossover, OffAndUnknownCodesAreExactlyOne) {
    for (double type :
         {0.0, 10.0, 255.0, -1.0, 1e12, -1e12, std::numeric_limits<double>::quiet_NaN()}) {
        for (double f : {2.0, 20.0, 999.0, 1000.0, 2e20}) {
            EXPECT_EQ(highPassMagnitude(f, 1000, type), 1.0) << type << " " << f;
            EXPECT_EQ(lowPassMagnitude(f, 1000, type), 1.0) << type << " " << f;
        }
    }
    // The type is truncated like the integer conversion.
    EXPECT_EQ(highPassMagnitude(500, 1000, 2.9), highPassMagnitude(500, 1000, 2));
}

TEST(Crossover, OddCornerFrequenciesStayDefined) {
    for (int code = 1; code <= 9; ++code) {
        // A negative corner behaves like its magnitude.
        EXPECT_EQ(highPassMagnitude(700, -1000, code), highPassMagnitude(700, 1000, code));
        EXPECT_EQ(lowPassMagnitude(700, -1000, code), lowPassMagnitude(700, 1000, code));
        // A zero corner gives 1, 0 or NaN: each reads as 0 dB.
        EXPECT_EQ(magnitudeToDb(highPassMagnitude(700, 0, code)), 0.0) << code;
        EXPECT_EQ(magnitudeToDb(lowPassMagnitude(700, 0, code)), 0.0) << code;
    }
}

}  // namespace
