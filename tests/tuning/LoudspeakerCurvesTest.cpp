// The loudspeaker curves of measurements/ (see its README.md): on every one
// the fit on the grid is better than the obvious method, the free fit
// rounded value by value. The curves come from physical loudspeaker and room
// models, not from the program's filters, so the fit meets shapes it did not
// make; each is fitted over the band its driver or speaker plays.

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>

#include "tuning/EqFit.h"
#include "tuning/Evidence.h"
#include "tuning/FitTestData.h"

TEST(LoudspeakerCurves, GridFitBeatsRoundingTheFreeFit) {
    const struct {
        const char* file;
        FrequencyRange range;
    } cases[] = {
        // Whole speakers: their bass roll-off is no work for an equaliser.
        {"model-a-on-axis.txt", {60.0, 18000.0}},
        {"model-b-on-axis.txt", {60.0, 18000.0}},
        {"model-a-seat-1.txt", {60.0, 18000.0}},
        {"model-a-seat-2.txt", {60.0, 18000.0}},
        // The drivers alone, each below or above the 2.3 kHz crossover.
        {"model-a-woofer.txt", {60.0, 2300.0}},
        {"model-a-tweeter.txt", {2300.0, 18000.0}},
    };
    for (const auto& c : cases) {
        std::ifstream stream(std::filesystem::path(FILTARO_MEASUREMENTS_DIR) / c.file);
        std::stringstream text;
        text << stream.rdbuf();
        const MeasurementRead read = parseMeasurement(text.str());
        ASSERT_TRUE(read.ok) << c.file << ": " << read.message();
        FitInput in;
        in.channel = flatChannel();
        in.measurement = combineMeasurements({read.measurement}, Averaging::Power, 12).curve;
        in.options.range = c.range;
        const FitResult r = fitChannel(in);
        ASSERT_EQ(r.status, FitStatus::Ok) << c.file << ": " << r.message;
        EXPECT_LT(r.errorAfterDb, *r.errorRoundedDb) << c.file;
        EXPECT_LT(r.errorAfterDb, r.errorBeforeDb) << c.file;
        EXPECT_LE(*r.errorFreeDb, r.errorAfterDb) << c.file;
    }
}
