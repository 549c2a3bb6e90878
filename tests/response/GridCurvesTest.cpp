// Single factors on the grid: each point is the per-point formula's value,
// and the factors add up to the channel's own curve.

#include <gtest/gtest.h>

#include <random>

#include "TestRecords.h"
#include "response/AnalogSection.h"
#include "response/ChannelResponse.h"
#include "response/EqResponse.h"
#include "response/FilterResponse.h"
#include "response/GridCurves.h"
#include "response/ResponseGrid.h"

TEST(GridCurves, FactorsAreThePointFormulasAndAddUpToTheChannel) {
    std::mt19937 rng(24);
    const ResponseGrid grid;
    constexpr int First = 90;
    constexpr int Count = 330;
    for (int trial = 0; trial < 200; ++trial) {
        ChannelRecord r = randomRecord(rng);
        std::vector<double> sum(Count, r.level);
        std::vector<double> curve(Count);
        for (int e = 0; e < EqBandCount; ++e) {
            const EqBand& b = r.eq[e];
            eqBandDbCurve(b, e, First, Count, curve.data());
            for (int i = 0; i < Count; ++i) {
                const double f = grid[First + i];
                ASSERT_EQ(curve[i], magnitudeToDb(eqMagnitude(f, b.frequency, b.q, b.level, e)));
                sum[i] += curve[i];
            }
            const AnalogSection s = eqBandSection(b, e);
            sectionDbCurve(s, First, Count, curve.data());
            for (int i = 0; i < Count; ++i) {
                ASSERT_EQ(curve[i], magnitudeToDb(sectionMagnitude(s, grid[First + i])));
            }
        }
        crossoverDbCurve(r, First, Count, curve.data());
        bool finite = true;
        for (int i = 0; i < Count; ++i) {
            const double f = grid[First + i];
            ASSERT_EQ(curve[i], magnitudeToDb(highPassMagnitude(f, r.hpFrequency, r.hpType) *
                                              lowPassMagnitude(f, r.lpFrequency, r.lpType)));
            sum[i] += curve[i];
            finite = finite && std::isfinite(sum[i]) && std::fabs(sum[i]) < 1e4;
        }
        ChannelResponse response;
        computeChannelResponse(r, response);
        for (int i = 0; finite && i < Count; ++i) {
            // A product that is zero or not a number reads 0 dB in the channel.
            const double product = channelMagnitude(grid[First + i], r);
            if (!(product > 0.0) || !std::isfinite(product)) continue;
            EXPECT_NEAR(response.db[First + i], sum[i], 1e-4 + 1e-6 * std::fabs(sum[i]));
        }
    }
}
