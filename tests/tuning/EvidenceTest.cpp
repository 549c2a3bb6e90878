// Measurements as evidence: smoothing, averaging, one offset for a preset,
// the target's shapes and the narrow dips, each against figures worked out
// by hand.

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>

#include "tuning/Evidence.h"
#include "tuning/FitTarget.h"
#include "tuning/NarrowDips.h"
#include "tuning/Smoothing.h"

namespace {

// Points every 1/96 octave from 250 Hz; power 1 up to 1 kHz (point 192),
// 4 from the next point on.
Measurement stepMeasurement() {
    Measurement m;
    for (int k = 0; k <= 384; ++k) {
        m.frequencies.push_back(250.0 * std::pow(2.0, k / 96.0));
        m.db.push_back(k <= 192 ? 0.0 : 10.0 * std::log10(4.0));
    }
    return m;
}

Measurement constant(double db, double lo = 20.0, double hi = 20000.0) {
    Measurement m;
    for (double f = lo; f <= hi * 1.0001; f *= std::pow(2.0, 1.0 / 24.0)) {
        m.frequencies.push_back(f);
        m.db.push_back(db);
    }
    return m;
}

}  // namespace

TEST(Smoothing, AveragesPowerOverTheWindow) {
    const Measurement m = stepMeasurement();
    struct Case {
        int perOctave;
        int point;
        double db;  // by hand: mean power over the window, segments linear in power
    };
    const Case cases[] = {
        // 1/12 octave = 8 segments around 1 kHz: 4 at power 1, the step's
        // segment at 2.5 on average, 3 at 4 -> 18.5 / 8.
        {12, 192, 10.0 * std::log10(18.5 / 8.0)},
        // 1/24 octave = 4 segments: 2 at 1, 2.5, 1 at 4 -> 8.5 / 4.
        {24, 192, 10.0 * std::log10(8.5 / 4.0)},
        // Far from the step nothing changes.
        {3, 40, 0.0},
        {3, 360, 10.0 * std::log10(4.0)},
        // Not smoothed.
        {0, 192, 0.0},
        {0, 193, 10.0 * std::log10(4.0)},
    };
    for (const Case& c : cases) {
        const std::vector<double> s = smoothedDb(m.frequencies, m.db, c.perOctave);
        ASSERT_EQ(s.size(), m.db.size());
        EXPECT_NEAR(s[c.point], c.db, 1e-9) << "1/" << c.perOctave << " at " << c.point;
    }
}

TEST(Smoothing, EndsKeepTheirOwnSideAndHolesStayFinite) {
    Measurement m = constant(80.0, 100.0, 1000.0);
    m.db[10] = -1e300;  // a hole no power fills
    const std::vector<double> s = smoothedDb(m.frequencies, m.db, 3);
    EXPECT_NEAR(s.front(), 80.0, 0.2);
    EXPECT_NEAR(s.back(), 80.0, 1e-9);
    for (double v : s) EXPECT_TRUE(std::isfinite(v));
}

TEST(Evidence, AveragesAsAsked) {
    Measurement a = constant(0.0);
    Measurement b = constant(10.0 * std::log10(4.0));
    for (Measurement* m : {&a, &b}) m->phaseDegrees.assign(m->frequencies.size(), 0.0);
    Measurement opposite = a;
    opposite.phaseDegrees.assign(a.frequencies.size(), 180.0);
    struct Case {
        const char* name;
        std::vector<Measurement> measurements;
        Averaging averaging;
        double db;
    };
    const Case cases[] = {
        {"power", {a, b}, Averaging::Power, 10.0 * std::log10(2.5)},
        {"dB", {a, b}, Averaging::Db, 10.0 * std::log10(2.0)},
        {"vector, in phase", {a, b}, Averaging::Vector, 20.0 * std::log10(1.5)},
        // Cancelled to the floor: 300 dB below the loudest level.
        {"vector, opposite phase", {a, opposite}, Averaging::Vector, -300.0},
    };
    for (const Case& c : cases) {
        const EvidenceCurve e = combineMeasurements(c.measurements, c.averaging, 0);
        ASSERT_TRUE(e.ok) << c.name << ": " << e.error;
        EXPECT_NEAR(e.curve.db[100], c.db, 1e-6) << c.name;
    }
}

TEST(Evidence, CommonSpanAndRefusals) {
    const EvidenceCurve e = combineMeasurements(
        {constant(0.0, 20.0, 2000.0), constant(6.0, 100.0, 20000.0)}, Averaging::Db, 12);
    ASSERT_TRUE(e.ok);
    EXPECT_GE(e.curve.frequencies.front(), 100.0);
    EXPECT_LE(e.curve.frequencies.back(), 2000.0);
    EXPECT_NEAR(e.curve.db[10], 3.0, 1e-9);

    EXPECT_EQ(combineMeasurements({constant(0.0)}, Averaging::Vector, 0).error,
              "Die Vektormittelung braucht die Phase aller Messungen.");
    EXPECT_EQ(
        combineMeasurements({constant(0.0, 20, 100), constant(0.0, 200, 2000)}, Averaging::Power, 0)
            .error,
        "Die Messungen haben keinen gemeinsamen Frequenzbereich.");
    EXPECT_FALSE(combineMeasurements({}, Averaging::Power, 0).ok);
}

TEST(Evidence, SharedOffsetKeepsTheLevelRatio) {
    const Measurement woofer = constant(90.0);
    const Measurement tweeter = constant(84.0, 2500.0, 20000.0);  // no midrange: its own span
    const Measurement quiet = constant(80.0);
    EXPECT_NEAR(sharedNormalisationOffset({&woofer, &tweeter, &quiet}), -90.0, 1e-9);
    EXPECT_NEAR(sharedNormalisationOffset({&tweeter}), -84.0, 1e-9);
    EXPECT_DOUBLE_EQ(sharedNormalisationOffset({}), 0.0);
}

TEST(FitTarget, Shapes) {
    FitTarget tilt;
    tilt.shape = TargetShape::Tilt;
    tilt.tiltDbPerOctave = -1.0;
    FitTarget house;
    house.shape = TargetShape::House;
    house.house = {200.0, 6.0, 2000.0, 3.0};
    FitTarget curve;
    curve.shape = TargetShape::Curve;
    curve.curve.frequencies = {100.0, 1000.0};
    curve.curve.db = {4.0, -2.0};
    struct Case {
        const FitTarget* target;
        double hz;
        double db;
    };
    const Case cases[] = {
        {&tilt, 1000.0, 0.0},  {&tilt, 2000.0, -1.0},   {&tilt, 250.0, 2.0},
        {&house, 20.0, 6.0},   {&house, 10.0, 6.0},     {&house, 63.2456, 3.0},
        {&house, 1000.0, 0.0}, {&house, 20000.0, -3.0}, {&house, 6324.56, -1.5},
        {&curve, 50.0, 4.0},   {&curve, 316.228, 1.0},  {&curve, 5000.0, -2.0},
    };
    for (const Case& c : cases) EXPECT_NEAR(targetShapeDb(*c.target, c.hz), c.db, 1e-4) << c.hz;

    FitTarget wrong = house;
    wrong.house.lowCornerHz = 3000.0;
    EXPECT_FALSE(targetProblem(wrong).empty());
    EXPECT_TRUE(targetProblem(house).empty());
}

TEST(NarrowDips, OnlyNarrowAndDeep) {
    // 100 points per decade: a third of an octave is 10 points.
    const auto dipOf = [](int width, double depth) {
        std::vector<double> db(60, 0.0);
        for (int i = 30; i < 30 + width; ++i) db[i] = -depth;
        return narrowDipPoints(db, std::vector<bool>(60, true), 10, 6.0);
    };
    struct Case {
        int width;
        double depth;
        bool found;
    };
    const Case cases[] = {{4, 12.0, true}, {9, 12.0, true}, {10, 12.0, false}, {4, 5.0, false}};
    for (const Case& c : cases) {
        const std::vector<bool> dip = dipOf(c.width, c.depth);
        EXPECT_EQ(dip[30], c.found) << c.width << " points, " << c.depth << " dB";
        EXPECT_FALSE(dip[28] || dip[31 + c.width]) << "the flat beyond the rims is no dip";
    }
}

TEST(NarrowDips, NeverWiderThanTheLimit) {
    // A notch two points wide at the foot of long slopes (a room mode's null
    // between two peaks): only a third of an octave around it is left out.
    std::vector<double> db(61);
    for (int i = 0; i < 61; ++i) db[i] = 0.5 * std::abs(i - 30);
    db[30] = db[31] = -12.0;
    const std::vector<bool> dip = narrowDipPoints(db, std::vector<bool>(61, true), 10, 6.0);
    EXPECT_TRUE(dip[30] && dip[31]);
    EXPECT_LE(std::count(dip.begin(), dip.end(), true), 11);
}
