#include <gtest/gtest.h>

#include <cmath>
#include <limits>

#include "PrintedFigure.h"
#include "response/EqResponse.h"

namespace {

double eqDb(double f, double f0, int qCode, int gain, int band) {
    return magnitudeToDb(eqMagnitude(f, f0, qCode, gain, band));
}

TEST(Peaking, AtTheCentreGivesExactlyTheGainWhateverQ) {
    for (int q = 1; q <= 20; ++q) {
        EXPECT_PRINTS_AS(eqDb(1000, 1000, q, 6, 0), 6.00, 2) << q;
        EXPECT_PRINTS_AS(eqDb(1000, 1000, q, -12, 3), -12.00, 2) << q;
        EXPECT_FLOAT_EQ(eqMagnitude(440, 440, q, 6, 1), std::pow(10.0, 6 / 20.0));
    }
}

TEST(Peaking, ACutIsNarrowerThanABoost) {
    for (double f : {500.0, 2000.0}) {
        EXPECT_PRINTS_AS(eqDb(f, 1000, 2, 6, 0), 2.83, 2) << f;
        EXPECT_PRINTS_AS(eqDb(f, 1000, 2, -12, 0), -1.48, 2) << f;
    }
}

TEST(EqBand, ZeroGainIsExactlyOneForEveryKind) {
    for (int band = 0; band < 6; ++band) {
        for (int q : {1, 2, 20, 21, 22, 23, 30, -5}) {
            for (double f : {2.0, 199.0, 200.0, 10000.0, 2e20}) {
                EXPECT_EQ(eqMagnitude(f, 200, q, 0, band), 1.0) << band << " " << q << " " << f;
            }
        }
    }
}

TEST(Shelf, LowShelfFigures) {
    EXPECT_PRINTS_AS(eqDb(20, 200, 22, 6, 4), 5.91, 2);
    EXPECT_PRINTS_AS(eqDb(200, 200, 22, 6, 4), 0.96, 2);
    EXPECT_PRINTS_AS(eqDb(2000, 200, 22, 6, 4), -0.08, 2);
    // A shelving cut rises above 0 dB at F0: |H| = sqrt(1 + (A-1)^2 Q^2).
    EXPECT_PRINTS_AS(eqDb(20, 200, 23, -12, 4), -11.05, 2);
    EXPECT_PRINTS_AS(eqDb(200, 200, 23, -12, 4), 1.05, 2);
    const double a = std::pow(10.0, -12 / 20.0);
    EXPECT_NEAR(eqMagnitude(200, 200, 23, -12, 4), std::sqrt(1 + (a - 1) * (a - 1) * 0.49), 1e-6);
}

TEST(Shelf, HighShelfFiguresApproachTheGainFarAbove) {
    EXPECT_PRINTS_AS(eqDb(1000, 10000, 22, 6, 5), -0.08, 2);
    EXPECT_PRINTS_AS(eqDb(10000, 10000, 22, 6, 5), 0.96, 2);
    EXPECT_PRINTS_AS(eqDb(20000, 10000, 22, 6, 5), 4.13, 2);
    EXPECT_NEAR(eqDb(2e7, 10000, 22, 6, 5), 6.0, 0.01);
}

TEST(Shelf, OnlyBandSixShelvesHigh) {
    // Codes above 20 on EQ1..EQ5 make a low shelf: full gain far below F0.
    for (int band = 0; band < 5; ++band) {
        EXPECT_NEAR(eqDb(2, 1000, 22, 6, band), 6.0, 0.01) << band;
        EXPECT_NEAR(eqDb(1e6, 1000, 22, 6, band), 0.0, 0.01) << band;
    }
    EXPECT_NEAR(eqDb(2, 1000, 22, 6, 5), 0.0, 0.01);
}

TEST(EqQCode, TwentyIsPeakingAndOtherHighCodesAreTheQItself) {
    // Q 10 peaking: full gain at F0 only; a shelf would hold it far below.
    EXPECT_PRINTS_AS(eqDb(1000, 1000, 20, 6, 4), 6.00, 2);
    EXPECT_PRINTS_AS(eqDb(2, 1000, 20, 6, 4), 0.000, 3);
    EXPECT_PRINTS_AS(eqDb(2, 1000, 21, 6, 4), 6.000, 3);
    EXPECT_EQ(shelfQ(21), 0.3);
    EXPECT_EQ(shelfQ(22), 0.5);
    EXPECT_EQ(shelfQ(23), 0.7);
    EXPECT_EQ(shelfQ(30), 30.0);
    // Code 30 on EQ5 is a low shelf with Q 30: at F0 |H| = sqrt(1 + (A-1)^2 Q^2).
    const double a = std::pow(10.0, 6 / 20.0);
    EXPECT_NEAR(eqMagnitude(200, 200, 30, 6, 4), std::sqrt(1 + (a - 1) * (a - 1) * 900), 1e-4);
}

TEST(EqQCode, OddCodesFromAFileStayDefined) {
    // A negative code is a peaking band with a negative Q: same magnitude.
    EXPECT_EQ(eqMagnitude(700, 1000, -5, 6, 0), eqMagnitude(700, 1000, 5, 6, 0));
    // Code 0 divides by Q == 0: NaN, which the channel shows as 0 dB.
    EXPECT_TRUE(std::isnan(eqMagnitude(700, 1000, 0, 6, 0)));
    EXPECT_TRUE(std::isnan(eqMagnitude(700, 1000, 0, 0, 0)));
    EXPECT_TRUE(std::isnan(eqMagnitude(700, 0, 0, 6, 0)));
}

TEST(EqBand, ZeroOrNegativeFrequencies) {
    // F0 == 0: the peaking and low-shelf terms vanish, the high shelf is all gain.
    EXPECT_EQ(eqMagnitude(700, 0, 2, 6, 0), 1.0);
    EXPECT_EQ(eqMagnitude(700, 0, 22, 6, 4), 1.0);
    EXPECT_FLOAT_EQ(eqMagnitude(700, 0, 22, 6, 5), std::pow(10.0, 6 / 20.0));
    EXPECT_EQ(eqMagnitude(700, -1000, 2, 6, 0), eqMagnitude(700, 1000, 2, 6, 0));
}

TEST(MagnitudeToDb, ZeroNegativeAndNaNReadAsZero) {
    EXPECT_EQ(magnitudeToDb(0.0), 0.0);
    EXPECT_EQ(magnitudeToDb(-2.0), 0.0);
    EXPECT_EQ(magnitudeToDb(std::numeric_limits<double>::quiet_NaN()), 0.0);
    EXPECT_EQ(magnitudeToDb(1.0), 0.0);
    EXPECT_DOUBLE_EQ(magnitudeToDb(10.0), 20.0);
    EXPECT_DOUBLE_EQ(magnitudeToDb(0.001), -60.0);
}

}  // namespace
