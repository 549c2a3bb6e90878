// The measured prediction against the response model's own curves: a driver
// of 0 dB without phase of its own must give back the channel, and such
// drivers must sum as the model's sums do.

#include <gtest/gtest.h>

#include <memory>
#include <numbers>

#include "AlignTestData.h"
#include "response/ResponseGrid.h"
#include "tuning/MeasuredSum.h"

namespace {

TEST(MeasuredSum, IdealDriversGiveTheModelsCurvesAndSums) {
    std::array<ChannelRecord, ChannelCount> records = crossoverPair(1200, FilterLinkwitzRiley24);
    records[0].delayTaps = 30;
    records[1].level = -3;
    records[1].eq[2] = {3000, 4, -6};
    records[2].input = 0;  // on L without a measurement
    auto responses = std::make_unique<ComplexResponses>();
    computeComplexResponses(records, *responses);
    const Measurement ideal = idealDriver(0.0, 0.0);
    std::array<const Measurement*, ChannelCount> measurements{&ideal, &ideal,  nullptr,
                                                              &ideal, nullptr, nullptr};
    const MeasuredSums sums = measuredSums(records, *responses, measurements);
    EXPECT_EQ(sums.channels[SideLeft], (std::vector<int>{0, 1}));
    EXPECT_EQ(sums.missing[SideLeft], (std::vector<int>{2}));
    EXPECT_EQ(sums.channels[SideRight], (std::vector<int>{3}));

    // Channel 2 alone against its own curve, and the sum of the two against
    // the model's sum with channel 3 silenced.
    const MeasuredQuantities channel =
        quantitiesOf(predictedChannel(MeasuredPhase(ideal), responses->channels[1]));
    records[2].input = 1;
    computeComplexResponses(records, *responses);
    const MeasuredQuantities left = quantitiesOf(sums.sums[SideLeft]);
    ASSERT_EQ(left.first, gridSpan(20.0, 20000.0 * 1.0001).first);
    for (std::size_t k = 0; k < left.db.size(); k += 7) {
        const int j = left.first + static_cast<int>(k);
        EXPECT_NEAR(channel.db[k], responses->channels[1].db[j], 1e-3);
        EXPECT_NEAR(
            std::remainder(channel.phaseDegrees[k] - responses->channels[1].phaseDegrees[j], 360.0),
            0.0, 0.01);
        EXPECT_NEAR(left.db[k], responses->sums[SideLeft].db[j], 1e-3);
        EXPECT_NEAR(
            std::remainder(left.phaseDegrees[k] - responses->sums[SideLeft].phaseDegrees[j], 360.0),
            0.0, 0.01);
        if (k > 0 && k + 1 < left.db.size()) {
            EXPECT_NEAR(left.groupDelayMs[k], responses->sums[SideLeft].groupDelayMs[j], 0.01);
        }
    }
}

// A delay heard as the files give it: wrapped, or unwrapped, or with points
// so far apart that the delay turns the phase by more than half a turn from
// one to the next.
TEST(MeasuredSum, DelayReadsTheSameHoweverThePhaseIsWritten) {
    const double seconds = 0.0029;  // one metre
    struct Case {
        const char* what;
        double perOctave;
        bool wrapped;
    };
    for (const Case& c :
         {Case{"wrapped", 48, true}, Case{"unwrapped", 48, false}, Case{"coarse", 6, true}}) {
        SCOPED_TRACE(c.what);
        Measurement m;
        for (double f = 20.0; f <= 20001.0; f *= std::pow(2.0, 1.0 / c.perOctave)) {
            m.frequencies.push_back(f);
            m.db.push_back(80.0);
            const double degrees = -360.0 * f * seconds;
            m.phaseDegrees.push_back(c.wrapped ? std::remainder(degrees, 360.0) : degrees);
        }
        const MeasuredPhase phase(m);
        EXPECT_NEAR(phase.bulkDelaySeconds(), seconds, 1e-9);
        for (double f : {25.0, 1000.0, 7777.0, 19000.0}) {
            const std::complex<double> expected =
                std::polar(1e4, -2.0 * std::numbers::pi * f * seconds);
            EXPECT_NEAR(std::abs(phase.valueAt(f) - expected), 0.0, 1e-4 * 1e4);
        }
        ChannelRecord flat = flatChannel();
        std::array<ChannelRecord, ChannelCount> records;
        records.fill(flat);
        auto responses = std::make_unique<ComplexResponses>();
        computeComplexResponses(records, *responses);
        const MeasuredQuantities q = quantitiesOf(predictedChannel(phase, responses->channels[0]));
        for (double ms : q.groupDelayMs) EXPECT_NEAR(ms, 2.9, 1e-6);
    }
}

}  // namespace
