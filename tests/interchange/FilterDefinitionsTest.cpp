#include <gtest/gtest.h>

#include <cmath>
#include <complex>
#include <numbers>

#include "interchange/FilterDefinitions.h"
#include "response/AnalogSection.h"

namespace {

// R. Bristow-Johnson, "Cookbook formulae for audio EQ biquad filter
// coefficients", written out here from the text and not from the code:
// A = 10^(G/40), w0 = 2 pi f0 / Fs, alpha = sin(w0) / (2 Q).
struct Coefficients {
    double b0, b1, b2, a0, a1, a2;
};

Coefficients cookbookDigital(CookbookType type, double f0, double gainDb, double q, double fs) {
    const double a = std::pow(10.0, gainDb / 40.0);
    const double w0 = 2.0 * std::numbers::pi * f0 / fs;
    const double c = std::cos(w0);
    const double alpha = std::sin(w0) / (2.0 * q);
    const double beta = 2.0 * std::sqrt(a) * alpha;
    switch (type) {
        case CookbookType::Peaking:
            return {1 + alpha * a, -2 * c, 1 - alpha * a, 1 + alpha / a, -2 * c, 1 - alpha / a};
        case CookbookType::LowShelf:
            return {a * ((a + 1) - (a - 1) * c + beta), 2 * a * ((a - 1) - (a + 1) * c),
                    a * ((a + 1) - (a - 1) * c - beta), (a + 1) + (a - 1) * c + beta,
                    -2 * ((a - 1) + (a + 1) * c),       (a + 1) + (a - 1) * c - beta};
        case CookbookType::HighShelf:
            return {a * ((a + 1) + (a - 1) * c + beta), -2 * a * ((a - 1) + (a + 1) * c),
                    a * ((a + 1) + (a - 1) * c - beta), (a + 1) - (a - 1) * c + beta,
                    2 * ((a - 1) - (a + 1) * c),        (a + 1) - (a - 1) * c - beta};
        case CookbookType::LowPass:
            return {(1 - c) / 2, 1 - c, (1 - c) / 2, 1 + alpha, -2 * c, 1 - alpha};
        case CookbookType::HighPass:
            return {(1 + c) / 2, -(1 + c), (1 + c) / 2, 1 + alpha, -2 * c, 1 - alpha};
        default:
            return {};
    }
}

// |H(j w/w0)|^2 of the cookbook's analog prototypes, with x = f / f0.
double cookbookAnalogPower(CookbookType type, double x, double gainDb, double q) {
    const double a = std::pow(10.0, gainDb / 40.0);
    const double x2 = x * x;
    switch (type) {
        case CookbookType::Peaking: {
            const double d = (1 - x2) * (1 - x2);
            return (d + x2 * a * a / (q * q)) / (d + x2 / (a * a * q * q));
        }
        case CookbookType::LowShelf: {
            const double m = x2 * a / (q * q);
            return a * a * ((a - x2) * (a - x2) + m) / ((1 - a * x2) * (1 - a * x2) + m);
        }
        case CookbookType::HighShelf: {
            const double m = x2 * a / (q * q);
            return a * a * ((1 - a * x2) * (1 - a * x2) + m) / ((a - x2) * (a - x2) + m);
        }
        case CookbookType::LowPass:
            return 1.0 / ((1 - x2) * (1 - x2) + x2 / (q * q));
        case CookbookType::HighPass:
            return x2 * x2 / ((1 - x2) * (1 - x2) + x2 / (q * q));
        default:
            return 0.0;
    }
}

const CookbookFilter Filters[] = {
    {CookbookType::Peaking, 1000, 6, 1.4},       {CookbookType::Peaking, 63, -12, 4.3},
    {CookbookType::LowShelf, 105, 5.8, 0.7},     {CookbookType::LowShelf, 300, -9, 0.45},
    {CookbookType::HighShelf, 10000, -6.6, 0.7}, {CookbookType::HighShelf, 2500, 3, 1.2},
    {CookbookType::LowPass, 15500, 0, 0.54},     {CookbookType::HighPass, 80, 0, 1.31},
};

TEST(FilterDefinitions, BiquadsAreTheCookbooksCoefficients) {
    for (const double fs : {44100.0, 48000.0, 96000.0}) {
        for (const CookbookFilter& f : Filters) {
            const Coefficients c = cookbookDigital(f.type, f.frequency, f.gainDb, f.q, fs);
            const Biquad b = bilinear(analogPrototype(f), fs);
            const double expected[] = {c.b0 / c.a0, c.b1 / c.a0, c.b2 / c.a0, c.a1 / c.a0,
                                       c.a2 / c.a0};
            const double got[] = {b.b0, b.b1, b.b2, b.a1, b.a2};
            for (int i = 0; i < 5; ++i) {
                EXPECT_NEAR(got[i], expected[i], 1e-12) << f.frequency << " " << fs << " " << i;
            }
        }
    }
}

TEST(FilterDefinitions, AnalogPrototypesAreTheCookbooksAndTheDevicesFilters) {
    for (const CookbookFilter& f : Filters) {
        for (const double x : {0.05, 0.3, 0.9, 1.0, 1.7, 6.0, 40.0}) {
            EXPECT_NEAR(powerAt(analogPrototype(f), x * f.frequency),
                        cookbookAnalogPower(f.type, x, f.gainDb, f.q),
                        1e-12 * cookbookAnalogPower(f.type, x, f.gainDb, f.q))
                << f.frequency << " " << x;
        }
    }
    // The device's sections as its own model computes them.
    const AnalogSection device[] = {
        {SectionType::Peaking, 1000, 2.5, -12},       {SectionType::LowShelf, 200, 0.5, 6},
        {SectionType::HighShelf, 10000, 0.5, 6},      {SectionType::HighPass, 80, 0.71, 0},
        {SectionType::LowPassFirstOrder, 3000, 0, 0},
    };
    for (const AnalogSection& s : device) {
        for (const double f : {20.0, 200.0, 1000.0, 3000.0, 19000.0}) {
            EXPECT_NEAR(magnitudeDb(analogPrototype(s), f), 20 * std::log10(sectionMagnitude(s, f)),
                        1e-5)
                << f;
        }
    }
}

TEST(FilterDefinitions, KnownAnswersAtTheSectionsOwnFrequencyAndTheBandEdges) {
    // A peaking biquad has its gain at f0 exactly, whatever the rate; a
    // shelf half of it; a low-pass is 1 at 0 Hz and 0 at half the rate.
    const CookbookFilter pk{CookbookType::Peaking, 4500, -12, 1.5};
    EXPECT_NEAR(magnitudeDb(bilinear(analogPrototype(pk), 48000), 4500, 48000), -12, 1e-9);
    const CookbookFilter hs{CookbookType::HighShelf, 10000, -6.6, 0.7};
    EXPECT_NEAR(magnitudeDb(analogPrototype(hs), 10000), -3.3, 1e-9);
    const Biquad lp =
        bilinear(analogPrototype(CookbookFilter{CookbookType::LowPass, 3000, 0, 0.7}), 48000);
    EXPECT_NEAR(std::abs(response(lp, 0, 48000)), 1.0, 1e-12);
    EXPECT_NEAR(std::abs(response(lp, 24000, 48000)), 0.0, 1e-9);
    // S = 1 is Q 1/sqrt(2) at any gain; REW's LS 12 dB at 10 kHz has its
    // midpoint where REW's author listed it (10741 Hz at -2.5 dB ... 17777 Hz
    // at -20 dB), to the precision of that table.
    for (const double g : {-9.0, 0.0, 6.0}) {
        EXPECT_NEAR(*shelfQFromSlope(1.0, g), std::sqrt(0.5), 1e-12);
        EXPECT_NEAR(shelfSlopeFromQ(*shelfQFromSlope(0.9, g), g), 0.9, 1e-12);
    }
    const std::pair<double, double> rew[] = {
        {-2.5, 10741}, {-5, 11546}, {-10, 13333}, {-15, 15395}, {-20, 17777}};
    for (const auto& [gain, centre] : rew) {
        EXPECT_NEAR(shelfMidpointFromCorner(10000, gain, 1.0, true), centre, centre * 1e-3) << gain;
        EXPECT_NEAR(shelfMidpointFromCorner(10000, gain, 1.0, false), 1e8 / centre, 1e5 / centre)
            << gain;
    }
    EXPECT_FALSE(shelfQFromSlope(10.0, 12).has_value());
    EXPECT_TRUE(apoShelfFrequencyIsCorner("LS", true));
    EXPECT_FALSE(apoShelfFrequencyIsCorner("LS", false));
    EXPECT_FALSE(apoShelfFrequencyIsCorner("HSC", true));
}

TEST(FilterDefinitions, ConvertedPeakingQMakesTheDevicesBandTheCookbooksFilter) {
    for (const double gain : {-12.0, -6.0, -1.0, 3.0, 6.0}) {
        for (const double q : {0.5, 1.41, 4.3}) {
            const AnalogSection device{SectionType::Peaking, 1000, devicePeakingQ(q, gain), gain};
            for (const double x : {0.1, 0.5, 0.8, 1.0, 1.3, 2.0, 10.0}) {
                EXPECT_NEAR(20 * std::log10(sectionMagnitude(device, 1000 * x)),
                            10 * std::log10(cookbookAnalogPower(CookbookType::Peaking, x, gain, q)),
                            1e-5)
                    << gain << " " << q << " " << x;
            }
            EXPECT_NEAR(cookbookPeakingQ(devicePeakingQ(q, gain), gain), q, 1e-12);
        }
    }
}

}  // namespace
