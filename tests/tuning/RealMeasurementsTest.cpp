// The real set (measurements/README.md): on every file the fit on the grid
// is better than the obvious method, the free fit rounded value by value.

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>

#include "tuning/EqFit.h"
#include "tuning/Evidence.h"
#include "tuning/FitTestData.h"

TEST(RealMeasurements, GridFitBeatsRoundingTheFreeFit) {
    std::vector<std::filesystem::path> files;
    for (const auto& entry : std::filesystem::directory_iterator(FILTARO_MEASUREMENTS_DIR)) {
        if (entry.path().extension() == ".txt") files.push_back(entry.path());
    }
    std::sort(files.begin(), files.end());
    ASSERT_GE(files.size(), 6u);
    for (const auto& path : files) {
        std::ifstream stream(path);
        std::stringstream text;
        text << stream.rdbuf();
        const MeasurementRead read = parseMeasurement(text.str());
        ASSERT_TRUE(read.ok) << path << ": " << read.message();
        FitInput in;
        in.channel = flatChannel();
        in.measurement = combineMeasurements({read.measurement}, Averaging::Power, 12).curve;
        // Where these loudspeakers play; their bass roll-off is no work for an equaliser.
        in.options.range = FrequencyRange{60.0, 18000.0};
        const FitResult r = fitChannel(in);
        ASSERT_EQ(r.status, FitStatus::Ok) << path << ": " << r.message;
        EXPECT_LT(r.errorAfterDb, *r.errorRoundedDb) << path.filename();
        EXPECT_LT(r.errorAfterDb, r.errorBeforeDb) << path.filename();
        EXPECT_LE(*r.errorFreeDb, r.errorAfterDb) << path.filename();
    }
}
