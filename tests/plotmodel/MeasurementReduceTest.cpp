#include <gtest/gtest.h>

#include "plotmodel/MeasurementReduce.h"

TEST(Measurement, ReducedKeepsEachBandsFirstLowestHighestAndLastPoint) {
    // Ten points in one band (a thousandth of a decade above 1 kHz), then
    // two alone in bands of their own; with a phase that follows its points.
    Measurement m;
    const double levels[] = {5, 3, 9, 1, 7, 8, 2, 6, 4, 5};
    for (int i = 0; i < 10; ++i) {
        m.frequencies.push_back(1000.0 + 0.1 * i);
        m.db.push_back(levels[i]);
        m.phaseDegrees.push_back(10.0 * i);
    }
    for (double f : {2000.0, 3000.0}) {
        m.frequencies.push_back(f);
        m.db.push_back(0);
        m.phaseDegrees.push_back(-1);
    }
    const Measurement r = reducedMeasurement(m);
    // First (5), lowest (1, 4th), highest (9, 3rd), last (5): in order.
    EXPECT_EQ(r.db, (std::vector<double>{5, 9, 1, 5, 0, 0}));
    EXPECT_EQ(r.phaseDegrees, (std::vector<double>{0, 20, 30, 90, -1, -1}));
    EXPECT_EQ(r.frequencies.back(), 3000.0);
    // A sparse measurement stays whole.
    EXPECT_EQ(reducedMeasurement(r).db, r.db);
}
