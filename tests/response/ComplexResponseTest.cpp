#include <gtest/gtest.h>

#include <cmath>
#include <complex>
#include <cstring>
#include <functional>
#include <memory>
#include <random>
#include <vector>

#include "TestRecords.h"
#include "model/DelayUnits.h"
#include "response/ChannelResponse.h"
#include "response/ComplexKernel.h"
#include "response/ComplexResponse.h"
#include "response/EqResponse.h"
#include "response/FilterResponse.h"

namespace {

constexpr double Pi = 3.141592653589793;

using Records = std::array<ChannelRecord, ChannelCount>;

// Six neutral channels, none on either side; tests put the ones they need.
Records silentRecords() {
    Records records;
    records.fill(neutralRecord());
    for (ChannelRecord& r : records) r.input = 7;
    return records;
}

std::unique_ptr<ComplexResponses> responsesOf(const Records& records) {
    auto responses = std::make_unique<ComplexResponses>();
    computeComplexResponses(records, *responses);
    return responses;
}

double wrappedDegrees(double degrees) {
    return degrees - 360.0 * std::nearbyint(degrees / 360.0);
}

// The group delay from the phase of neighbouring frequencies, in seconds.
double numericGroupDelay(const std::function<PointResponse(double)>& at, double f) {
    const double h = f * 1e-6;
    const double turn = std::arg(at(f + h).value / at(f - h).value);
    return -turn / (2.0 * h) / (2.0 * Pi);
}

struct SectionCase {
    const char* name;
    std::function<PointResponse(double)> complexAt;
    std::function<double(double)> magnitudeAt;
};

// Every crossover type on both sides (and codes no list holds), every kind of
// band with boosts and cuts: the magnitude of the complex value is the
// magnitude path's, and the group delay is the slope of its phase.
TEST(ComplexSections, MagnitudeAndGroupDelayOfEveryType) {
    std::vector<SectionCase> cases;
    for (int type = -1; type <= 10; ++type) {
        for (double fc : {15.0, 1000.0, 19500.0, -700.0}) {
            cases.push_back({"high-pass", [=](double f) { return highPassResponse(f, fc, type); },
                             [=](double f) { return highPassMagnitude(f, fc, type); }});
            cases.push_back({"low-pass", [=](double f) { return lowPassResponse(f, fc, type); },
                             [=](double f) { return lowPassMagnitude(f, fc, type); }});
        }
    }
    for (int band : {0, 4, 5}) {
        for (int code : {1, 2, 7, 20, 21, 22, 23, 30, -4}) {
            for (double gain : {-12.0, -3.0, 6.0, 0.0}) {
                for (double f0 : {40.0, 1000.0, 18000.0}) {
                    cases.push_back(
                        {"band", [=](double f) { return eqResponse(f, f0, code, gain, band); },
                         [=](double f) { return eqMagnitude(f, f0, code, gain, band); }});
                }
            }
        }
    }
    const ResponseGrid grid;
    for (std::size_t i = 0; i < cases.size(); ++i) {
        const SectionCase& c = cases[i];
        for (int j = 0; j < ResponsePointCount; j += 7) {
            const double f = grid[j];
            const PointResponse r = c.complexAt(f);
            const double expectedDb = magnitudeToDb(c.magnitudeAt(f));
            ASSERT_NEAR(20.0 * std::log10(std::abs(r.value)), expectedDb, 1e-4)
                << c.name << " case " << i << " at " << f;
            const double numeric = numericGroupDelay(c.complexAt, f);
            ASSERT_NEAR(r.groupDelaySeconds, numeric, 1e-5 * std::fabs(numeric) + 1e-10)
                << c.name << " case " << i << " at " << f;
        }
    }
}

// Random presets with the odd codes of files: the channels agree with the
// magnitude path within 0.001 dB wherever that path gives a value, every
// value is finite, and every vector width gives the same bits.
TEST(ComplexResponses, AgreeWithTheMagnitudePathAndStayFinite) {
    std::mt19937 rng(20240612);
    const ResponseGrid grid;
    auto responses = std::make_unique<ComplexResponses>();
    auto variant = std::make_unique<ComplexResponses>();
    ChannelResponses magnitudes;
    for (int round = 0; round < 40; ++round) {
        ParameterImage image;
        image.setActivePreset(round % PresetCount);
        Records records;
        for (int c = 0; c < ChannelCount; ++c) {
            records[c] = randomRecord(rng);
            image.setRecord(round % PresetCount, c, records[c]);
        }
        computeComplexResponses(image, *responses);
        computeResponses(image, magnitudes);
        for (int c = 0; c < ChannelCount; ++c) {
            const ResponseCurves& curves = responses->channels[c];
            for (int j = 0; j < ResponsePointCount; ++j) {
                const double product = channelMagnitude(grid[j], records[c]);
                const float expected = magnitudes[c].db[j];
                if (product > 0 && std::isfinite(expected)) {
                    ASSERT_NEAR(curves.db[j], expected, 0.001)
                        << "round " << round << " channel " << c << " point " << j;
                }
                ASSERT_TRUE(std::isfinite(curves.db[j]) && std::isfinite(curves.groupDelayMs[j]) &&
                            std::fabs(curves.phaseDegrees[j]) <= 180.0f)
                    << "round " << round << " channel " << c << " point " << j;
            }
        }
        for (const ResponseCurves& sum : responses->sums) {
            for (int j = 0; j < ResponsePointCount; ++j) {
                ASSERT_TRUE(std::isfinite(sum.db[j]) && std::isfinite(sum.groupDelayMs[j]) &&
                            std::fabs(sum.phaseDegrees[j]) <= 180.0f)
                    << "round " << round << " point " << j;
            }
        }
        for (KernelIsa isa : {KernelIsa::Portable, KernelIsa::Avx2, KernelIsa::Avx512}) {
            if (!kernelIsaAvailable(isa)) continue;
            complexResponsesOf(records, gridTerms(), *variant, isa);
            ASSERT_EQ(std::memcmp(variant.get(), responses.get(), sizeof(ComplexResponses)), 0)
                << "round " << round << " vector width " << static_cast<int>(isa);
        }
    }
}

struct CornerPhase {
    int type;
    bool lowPass;
    double degrees;
};

// At the corner (2000 Hz is grid point 300): a first-order low-pass lags by
// 45 degrees, a second-order one by 90; the high-passes lead by as much.
TEST(ComplexResponses, PhaseAtTheCorner) {
    const CornerPhase cases[] = {
        {FilterFirstOrder, true, -45},      {FilterFirstOrder, false, 45},
        {FilterButterworth12, true, -90},   {FilterButterworth12, false, 90},
        {FilterLinkwitzRiley12, true, -90}, {FilterLinkwitzRiley12, false, 90}};
    for (const CornerPhase& c : cases) {
        Records records = silentRecords();
        (c.lowPass ? records[0].lpType : records[0].hpType) = c.type;
        (c.lowPass ? records[0].lpFrequency : records[0].hpFrequency) = 2000;
        const auto r = responsesOf(records);
        EXPECT_NEAR(r->channels[0].phaseDegrees[300], c.degrees, 1e-4) << c.type << c.lowPass;
        if (c.type == FilterFirstOrder) {
            EXPECT_NEAR(r->channels[0].db[300], -3.0103, 1e-4);
            // tau = 1 / (2 omega_c) at the corner.
            EXPECT_NEAR(r->channels[0].groupDelayMs[300], 1000.0 / (4.0 * Pi * 2000.0), 1e-7);
        }
    }
}

// Linkwitz-Riley 24 high- and low-pass at one corner are in phase at every
// frequency and add up to an all-pass: flat within the 0.07 dB that Q 0.71
// (rather than 1/sqrt 2) leaves, with the delay of either channel.
TEST(ComplexResponses, LinkwitzRiley24PairSumsFlat) {
    Records records = silentRecords();
    records[0].hpType = FilterLinkwitzRiley24;
    records[0].hpFrequency = 2000;
    records[1].lpType = FilterLinkwitzRiley24;
    records[1].lpFrequency = 2000;
    for (int c : {0, 1}) {
        records[c].input = 0;
        records[c].delayTaps = 10;
    }
    const auto r = responsesOf(records);
    const ResponseCurves& sum = r->sums[SideLeft];
    EXPECT_EQ(r->sumChannelCount[SideLeft], 2);
    for (int j = 0; j < ResponsePointCount; ++j) {
        ASSERT_NEAR(sum.db[j], 0.035, 0.036) << j;
        ASSERT_NEAR(r->channels[0].groupDelayMs[j], r->channels[1].groupDelayMs[j], 1e-6) << j;
        ASSERT_NEAR(sum.groupDelayMs[j], r->channels[0].groupDelayMs[j], 1e-6) << j;
        ASSERT_NEAR(wrappedDegrees(sum.phaseDegrees[j] - r->channels[1].phaseDegrees[j]), 0.0, 1e-3)
            << j;
    }
    EXPECT_FLOAT_EQ(sum.groupDelayMs[1999], static_cast<float>(delayMilliseconds(10)));
}

TEST(ComplexResponses, PureDelayOf96Taps) {
    Records records = silentRecords();
    records[2].delayTaps = 96;
    records[2].level = -4;
    const auto r = responsesOf(records);
    const ResponseGrid grid;
    EXPECT_NEAR(SecondsPerTap, 10.41e-6, 0.005e-6);  // 3.57 mm at 343 m/s
    const double seconds = 96 * SecondsPerTap;
    for (int j = 0; j < ResponsePointCount; ++j) {
        ASSERT_FLOAT_EQ(r->channels[2].groupDelayMs[j], static_cast<float>(1000.0 * seconds)) << j;
        ASSERT_EQ(r->channels[2].db[j], -4.0f) << j;
    }
    for (int j : {0, 100, 250, 300, 333, 400}) {
        const double expected = wrappedDegrees(-360.0 * grid[j] * seconds);
        EXPECT_NEAR(wrappedDegrees(r->channels[2].phaseDegrees[j] - expected), 0.0, 1e-4) << j;
    }
}

// Input 0 feeds L, 1 R, 2 both, anything else neither; each sum is the
// complex sum of its channels, levels and delays included.
TEST(ComplexResponses, SumsTakeTheChannelsOfTheirSide) {
    Records records = silentRecords();
    records[0].input = 0;
    records[0].hpType = FilterBessel18;
    records[0].hpFrequency = 300;
    records[0].delayTaps = 37;
    records[0].level = 3;
    records[1].input = 1;
    records[1].lpType = FilterButterworth24;
    records[1].lpFrequency = 1200;
    records[1].eq[2] = {160, 4, -9};
    records[3] = records[0];
    records[3].input = 3;  // no side
    auto r = responsesOf(records);
    EXPECT_EQ(r->sumChannelCount[SideLeft], 1);
    EXPECT_EQ(r->sumChannelCount[SideRight], 1);
    for (int side : {SideLeft, SideRight}) {
        const ResponseCurves& sum = r->sums[side];
        const ResponseCurves& alone = r->channels[side];  // channel 0 on L, 1 on R
        for (int j = 0; j < 500; ++j) {
            ASSERT_NEAR(sum.db[j], alone.db[j], 1e-4) << side << ' ' << j;
            ASSERT_NEAR(wrappedDegrees(sum.phaseDegrees[j] - alone.phaseDegrees[j]), 0.0, 1e-3)
                << side << ' ' << j;
            ASSERT_NEAR(sum.groupDelayMs[j], alone.groupDelayMs[j], 1e-6) << side << ' ' << j;
        }
    }
    // A copy of channel 1 on L+R: twice channel 1 on the right, and on the
    // left the sum with channel 0, which it cancels where they are opposed.
    records[4] = records[1];
    records[4].input = 2;
    r = responsesOf(records);
    EXPECT_EQ(r->sumChannelCount[SideLeft], 2);
    EXPECT_EQ(r->sumChannelCount[SideRight], 2);
    const ResponseGrid grid;
    for (int j = 0; j < 500; ++j) {
        ASSERT_NEAR(r->sums[SideRight].db[j], r->channels[1].db[j] + 20 * std::log10(2.0), 1e-4);
        const auto phasor = [&](int c) {
            return std::polar(std::pow(10.0, r->channels[c].db[j] / 20.0),
                              r->channels[c].phaseDegrees[j] * Pi / 180.0);
        };
        const std::complex<double> left = phasor(0) + phasor(1);
        ASSERT_NEAR(r->sums[SideLeft].db[j], 20 * std::log10(std::abs(left)), 1e-3) << j;
    }
}

// Products the magnitude path shows as 0 dB plus the level (a Q code of 0,
// a low-pass at 0 Hz) count as 1: level and delay remain. A preset out of
// range reads all-zero records: six such channels on L.
TEST(ComplexResponses, UnusableChannelsReadAsTheirLevel) {
    Records records = silentRecords();
    records[0].eq[1].q = 0;
    records[0].level = 5;
    records[0].delayTaps = 50;
    records[1].lpType = FilterButterworth12;
    records[1].lpFrequency = 0;
    records[1].level = -2;
    auto r = responsesOf(records);
    for (int j = 0; j < ResponsePointCount; ++j) {
        ASSERT_EQ(r->channels[0].db[j], 5.0f);
        ASSERT_FLOAT_EQ(r->channels[0].groupDelayMs[j], static_cast<float>(delayMilliseconds(50)));
        ASSERT_EQ(r->channels[1].db[j], -2.0f);
        ASSERT_EQ(r->channels[1].phaseDegrees[j], 0.0f);
        ASSERT_EQ(r->channels[1].groupDelayMs[j], 0.0f);
    }

    ParameterImage image;
    image.setActivePreset(9);
    auto fromImage = std::make_unique<ComplexResponses>();
    computeComplexResponses(image, *fromImage);
    EXPECT_EQ(fromImage->sumChannelCount[SideLeft], 6);
    EXPECT_EQ(fromImage->sumChannelCount[SideRight], 0);
    for (int j = 0; j < ResponsePointCount; ++j) {
        ASSERT_NEAR(fromImage->sums[SideLeft].db[j], 20 * std::log10(6.0), 1e-5);
        ASSERT_EQ(fromImage->sums[SideRight].db[j], SilenceDb);
        ASSERT_EQ(fromImage->sums[SideRight].phaseDegrees[j], 0.0f);
        ASSERT_EQ(fromImage->sums[SideRight].groupDelayMs[j], 0.0f);
    }
}

}  // namespace
