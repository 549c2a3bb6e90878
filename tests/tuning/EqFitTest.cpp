// The fit: known answers, the options at their edges, determinism, refusals,
// cancellation. The truth for the known answers is the response model's own
// band formula (a measurement made of the inverse of device bands), the
// options are checked on the result's own values and curve.

#include <gtest/gtest.h>

#include <atomic>
#include <cmath>

#include "model/FrequencyGrid.h"
#include "response/EqResponse.h"
#include "response/FilterResponse.h"
#include "tuning/EqFit.h"
#include "tuning/FitTestData.h"

namespace {

using Bands = std::vector<std::pair<int, EqBand>>;

// The loudspeaker needs exactly `bands` to be flat.
Measurement inverseOf(const Bands& bands, double level = 85.0) {
    return measurementOf([&](double f) { return level - bandsDb(bands, f); });
}

bool onGrid(const EqBand& b, int e, const FitOptions& o) {
    const int code = frequencyToCode(b.frequency);
    if (code < 0 || codeToFrequency(code) != b.frequency) return false;
    if (b.level < -12 || b.level > o.maxBoostDb) return false;
    if (b.q >= 1 && b.q <= 20) return b.q <= 2 * o.maxQ + 1e-9;
    return (e == 4 || e == 5) && b.q <= 23 && o.shelves == ShelfUse::IfHelpful;
}

// The six bands' sum at the plot's grid points from 20 Hz to 20 kHz.
double highestBoost(const ChannelRecord& r) {
    double top = -1e9;
    for (int j = 100; j <= 400; ++j) {
        const double f = 2.0 * std::pow(10.0, j / 100.0);
        double db = 0.0;
        for (int e = 0; e < EqBandCount; ++e) {
            db += magnitudeToDb(eqMagnitude(f, r.eq[e].frequency, r.eq[e].q, r.eq[e].level, e));
        }
        top = std::max(top, db);
    }
    return top;
}

FitInput inputFor(const Measurement& m) {
    FitInput in;
    in.channel = flatChannel();
    in.measurement = m;
    return in;
}

}  // namespace

TEST(EqFit, FitsTheDevicesOwnBandsBack) {
    struct Case {
        const char* name;
        Bands truth;
        int hpFrequency;
        int hpType;
        int lpFrequency;
        int lpType;
        std::optional<double> targetLevel;
        int level;  // the level the fit must find for a fixed target
    };
    const Case cases[] = {
        {"peaks and dips",
         {{0, {100, 6, -4}},
          {1, {250, 4, 3}},
          {2, {1000, 2, -5}},
          {3, {3000, 8, -6}},
          {4, {6000, 3, 2}}},
         20,
         0,
         150,
         0,
         std::nullopt,
         0},
        {"within a crossover",
         {{0, {120, 5, -6}}, {1, {400, 3, 2}}, {2, {700, 10, -8}}},
         80,
         4,
         3000,
         9,
         std::nullopt,
         0},
        {"shelves",
         {{1, {1500, 4, -3}}, {4, {100, 22, 3}}, {5, {8000, 21, -4}}},
         20,
         0,
         150,
         0,
         std::nullopt,
         0},
        {"fixed target level", {{0, {200, 2, -3}}, {2, {5000, 6, 2}}}, 20, 0, 150, 0, 0.0, -3},
    };
    for (const Case& c : cases) {
        FitInput in = inputFor(inverseOf(c.truth, c.targetLevel ? 3.0 : 85.0));
        in.channel.hpFrequency = c.hpFrequency;
        in.channel.hpType = c.hpType;
        in.channel.lpFrequency = c.lpFrequency;
        in.channel.lpType = c.lpType;
        in.target.levelDb = c.targetLevel;
        in.options.maxBoostDb = 3;
        in.options.maxQ = 5;
        in.options.dips = DipHandling::Fill;
        const FitResult r = fitChannel(in);
        ASSERT_EQ(r.status, FitStatus::Ok) << c.name << ": " << r.message;
        EXPECT_LT(r.errorAfterDb, 0.05) << c.name;
        EXPECT_GT(r.errorBeforeDb, 0.5) << c.name;
        EXPECT_LE(*r.errorFreeDb, r.errorAfterDb + 1e-9) << c.name;
        if (c.targetLevel) {
            EXPECT_EQ(r.channel.level, c.level) << c.name;
        }
    }
}

TEST(EqFit, KeepsToEveryOption) {
    // A loudspeaker with work for more than six bands.
    const Measurement m = measurementOf([](double f) {
        const double o = std::log2(f / 1000.0);
        return 80.0 + 4.0 * std::sin(3.0 * o) + 3.0 * std::cos(7.0 * o) + 2.0 * o;
    });
    struct Case {
        const char* name;
        std::function<void(FitInput&)> set;
    };
    const Case cases[] = {
        {"defaults", [](FitInput&) {}},
        {"no boost", [](FitInput& in) { in.options.maxBoostDb = 0; }},
        {"most boost",
         [](FitInput& in) {
             in.options.maxBoostDb = 6;
             in.options.maxTotalBoostDb = 12;
         }},
        {"low total boost",
         [](FitInput& in) {
             in.options.maxBoostDb = 6;
             in.options.maxTotalBoostDb = 2;
         }},
        {"Q at most 1.5", [](FitInput& in) { in.options.maxQ = 1.5; }},
        {"Q at most 0.5", [](FitInput& in) { in.options.maxQ = 0.5; }},
        {"no shelves", [](FitInput& in) { in.options.shelves = ShelfUse::Never; }},
        {"bands kept",
         [](FitInput& in) {
             in.channel.eq[1] = {1234, 7, -5};  // off the grid: kept as it is all the same
             in.channel.eq[4] = {300, 22, 2};
             in.options.keep[1] = in.options.keep[4] = true;
         }},
        {"level kept",
         [](FitInput& in) {
             in.channel.level = 4;
             in.options.useLevel = false;
         }},
        {"fixed target, level free", [](FitInput& in) { in.target.levelDb = 78.0; }},
        {"range",
         [](FitInput& in) {
             in.options.range = FrequencyRange{200.0, 2000.0};
         }},
    };
    for (const Case& c : cases) {
        FitInput in = inputFor(m);
        c.set(in);
        const FitResult r = fitChannel(in);
        ASSERT_EQ(r.status, FitStatus::Ok) << c.name << ": " << r.message;
        const FitOptions& o = in.options;
        for (int e = 0; e < EqBandCount; ++e) {
            if (o.keep[e]) {
                EXPECT_EQ(r.channel.eq[e], in.channel.eq[e]) << c.name << " EQ" << e + 1;
            } else {
                EXPECT_TRUE(onGrid(r.channel.eq[e], e, o)) << c.name << " EQ" << e + 1;
            }
        }
        EXPECT_LE(highestBoost(r.channel),
                  std::max(o.maxTotalBoostDb, 2.0 * (o.keep[4] ? 1 : 0)) + 1e-6)
            << c.name;
        if (!o.useLevel) {
            EXPECT_EQ(r.channel.level, in.channel.level) << c.name;
        }
        EXPECT_GE(r.channel.level, -6);
        EXPECT_LE(r.channel.level, 6);
        EXPECT_LT(r.errorAfterDb, r.errorBeforeDb) << c.name;
        EXPECT_LE(r.errorAfterDb, *r.errorRoundedDb + 1e-9) << c.name;
        if (o.range) {
            EXPECT_GE(r.range.loHz, 200.0);
            EXPECT_LE(r.range.hiHz, 2000.0);
        }
    }
}

TEST(EqFit, LeavesNarrowDeepDipsAlone) {
    // Flat but for a notch a sixth of an octave wide and 15 dB deep at 1 kHz.
    const Measurement m = measurementOf([](double f) {
        const double o = std::log2(f / 1000.0);
        return 80.0 - 15.0 * std::exp(-std::pow(o / 0.05, 2.0));
    });
    for (const DipHandling dips : {DipHandling::LeaveAlone, DipHandling::Fill}) {
        FitInput in = inputFor(m);
        in.options.dips = dips;
        in.options.maxBoostDb = 6;
        in.options.maxTotalBoostDb = 6;
        const FitResult r = fitChannel(in);
        ASSERT_EQ(r.status, FitStatus::Ok) << r.message;
        double at1k = 0.0;
        for (int e = 0; e < EqBandCount; ++e) {
            const EqBand& b = r.channel.eq[e];
            at1k += magnitudeToDb(eqMagnitude(1000.0, b.frequency, b.q, b.level, e));
        }
        if (dips == DipHandling::LeaveAlone) {
            ASSERT_EQ(r.dipsLeftAlone.size(), 1u);
            EXPECT_LT(r.dipsLeftAlone[0].loHz, 1000.0);
            EXPECT_GT(r.dipsLeftAlone[0].hiHz, 1000.0);
            EXPECT_LT(r.dipsLeftAlone[0].hiHz / r.dipsLeftAlone[0].loHz, std::sqrt(2.0))
                << "its flanks";
            EXPECT_NEAR(at1k, 0.0, 0.01) << "nothing to do outside the notch";
        } else {
            EXPECT_TRUE(r.dipsLeftAlone.empty());
            EXPECT_GT(at1k, 3.0) << "filling the notch";
        }
    }
}

TEST(EqFit, NeverWorseThanNoEqualiser) {
    FitInput in = inputFor(measurementOf([](double) { return 80.0; }));
    in.channel.eq[2] = {500, 4, -6};  // the channel's own bands make it worse
    const FitResult r = fitChannel(in);
    ASSERT_EQ(r.status, FitStatus::Ok);
    EXPECT_NEAR(r.errorAfterDb, 0.0, 1e-5);
    for (const EqBand& b : r.channel.eq) EXPECT_EQ(b.level, 0);
    EXPECT_EQ(r.channel.eq[2], (EqBand{500, 4, 0})) << "an unused band keeps its place";
}

TEST(EqFit, SameInputSameResult) {
    const Measurement m = measurementOf([](double f) {
        return 80.0 + 5.0 * std::sin(2.0 * std::log2(f)) + std::cos(9.0 * std::log2(f));
    });
    for (const FitEffort effort : {FitEffort::Full, FitEffort::Preview}) {
        FitInput in = inputFor(m);
        in.options.effort = effort;
        const FitResult first = fitChannel(in);
        fitChannel(inputFor(measurementOf([](double f) { return std::log(f); })));
        const FitResult second = fitChannel(in);
        EXPECT_EQ(first.channel, second.channel);
        EXPECT_EQ(first.errorAfterDb, second.errorAfterDb);
        EXPECT_EQ(first.errorFreeDb, second.errorFreeDb);
        EXPECT_EQ(first.predictedDb, second.predictedDb);
        EXPECT_EQ(effort == FitEffort::Full, first.errorFreeDb.has_value());
    }
}

TEST(EqFit, RefusesWhatItCannotFit) {
    const Measurement m = measurementOf([](double) { return 80.0; });
    struct Case {
        const char* name;
        std::function<void(FitInput&)> set;
        const char* message;
    };
    const Case cases[] = {
        {"range narrower than a third",
         [](FitInput& in) {
             in.options.range = FrequencyRange{1000, 1200};
         },
         "Die Messung deckt zu wenig des Bereichs 1000 bis 1200 Hz ab."},
        {"range beside the measurement",
         [](FitInput& in) {
             in.measurement = measurementOf([](double) { return 80.0; });
             in.measurement.frequencies.resize(100);
             in.measurement.db.resize(100);
             in.options.range = FrequencyRange{5000, 15000};
         },
         "Die Messung deckt zu wenig des Bereichs 5000 bis 15000 Hz ab."},
        {"kept band the panel cannot set",
         [](FitInput& in) {
             in.channel.eq[0].q = 0;
             in.options.keep[0] = true;
         },
         "EQ1 soll bleiben, hat aber Werte außerhalb der Bereiche des Panels."},
        {"crossover out of range",
         [](FitInput& in) {
             in.channel.hpType = 2;
             in.channel.hpFrequency = 0;
         },
         "Hoch- oder Tiefpass des Kanals liegen außerhalb der Bereiche des Panels."},
        {"crossovers that leave nothing",
         [](FitInput& in) {
             in.channel.hpType = 9;
             in.channel.hpFrequency = 5000;
             in.channel.lpType = 9;
             in.channel.lpFrequency = 400;
         },
         "Messung und Frequenzweiche lassen keinen Bereich von wenigstens einer Terz zum "
         "Anpassen."},
        {"one point",
         [](FitInput& in) {
             in.measurement.frequencies = {100};
             in.measurement.db = {80};
         },
         "Die Messung enthält keine zwei Messpunkte."},
    };
    for (const Case& c : cases) {
        FitInput in = inputFor(m);
        c.set(in);
        const FitResult r = fitChannel(in);
        EXPECT_EQ(r.status, FitStatus::Refused) << c.name;
        EXPECT_EQ(r.message, c.message) << c.name;
        EXPECT_EQ(r.channel, in.channel) << c.name;
    }
}

TEST(EqFit, ReportsProgressAndStopsWhenAsked) {
    const FitInput in =
        inputFor(measurementOf([](double f) { return 80.0 + std::sin(std::log(f)); }));
    std::vector<double> steps;
    FitProgress hooks;
    hooks.report = [&](double fraction) { steps.push_back(fraction); };
    ASSERT_EQ(fitChannel(in, hooks).status, FitStatus::Ok);
    ASSERT_FALSE(steps.empty());
    EXPECT_TRUE(std::is_sorted(steps.begin(), steps.end()));
    EXPECT_EQ(steps.back(), 1.0);

    std::atomic<bool> cancel{true};
    hooks.cancel = &cancel;
    const FitResult r = fitChannel(in, hooks);
    EXPECT_EQ(r.status, FitStatus::Cancelled);
    EXPECT_EQ(r.channel, in.channel);
}
