// filtaro-cli fit: one user's whole run (two measurement files, the JSON,
// the result saved elsewhere), the text it prints, and what ends it early.

#include <gtest/gtest.h>

#include <cmath>
#include <nlohmann/json.hpp>

#include "model/FrequencyGrid.h"
#include "model/ParameterImage.h"
#include "response/EqResponse.h"
#include "storage/ParameterFile.h"
#include "support/CliRun.h"
#include "support/ScratchDir.h"

namespace {

// A loudspeaker that two bands would make flat, measured at two seats
// that differ by a level only.
std::string measurementText(double offset) {
    std::string text = "* Freq(Hz) SPL(dB)\n";
    for (double f = 20.0; f <= 20000.0; f *= std::pow(2.0, 1.0 / 24.0)) {
        const double db = 80.0 + offset - magnitudeToDb(eqMagnitude(f, 300, 4, -5, 0)) -
                          magnitudeToDb(eqMagnitude(f, 4000, 6, 3, 1));
        text += std::to_string(f) + " " + std::to_string(db) + "\n";
    }
    return text;
}

class CliFit : public ::testing::Test {
protected:
    void SetUp() override {
        applyDefaults(image);
        ASSERT_EQ(saveParameterFile(image, dat), 0);
        writeFileBytes(dir.file("sitz1.txt"), measurementText(0.0));
        writeFileBytes(dir.file("sitz2.txt"), measurementText(2.0));
    }
    ScratchDir dir;
    const std::string dat = dir.file("Boxen.dat");
    ParameterImage image;
};

}  // namespace

TEST_F(CliFit, FitsAChannelAndSavesItElsewhere) {
    const CliResult r = runCliCommand({"fit", dat, "--channel", "2", "--preset", "3",
                                       "--measurement", dir.file("sitz1.txt"), "--measurement",
                                       dir.file("sitz2.txt"), "--average", "db", "--smooth", "none",
                                       "--dips", "fill", "--json", "--out", dir.file("neu.dat")});
    ASSERT_EQ(r.status, 0) << r.err;
    const nlohmann::json j = nlohmann::json::parse(r.out);
    ASSERT_EQ(j["bands"].size(), 6u);
    ParameterImage saved;
    ASSERT_EQ(loadParameterFile(saved, dir.file("neu.dat")), 1);
    const ChannelRecord set = saved.record(2, 1);
    for (int e = 0; e < EqBandCount; ++e) {
        const nlohmann::json& b = j["bands"][e];
        EXPECT_EQ(b["band"], e + 1);
        EXPECT_EQ(b["frequency_hz"], set.eq[e].frequency);
        EXPECT_EQ(codeToFrequency(b["frequency_code"]), set.eq[e].frequency);
        EXPECT_EQ(b["q_code"], set.eq[e].q);
        EXPECT_EQ(b["gain_db"], set.eq[e].level);
    }
    EXPECT_EQ(j["level_db"], set.level);
    EXPECT_GT(j["error_db"]["before"].get<double>(), 1.0);
    EXPECT_LT(j["error_db"]["after"].get<double>(), 0.05);
    EXPECT_LE(j["error_db"]["continuous"].get<double>(), j["error_db"]["after"].get<double>());
    EXPECT_TRUE(j["error_db"].contains("rounded"));
    EXPECT_EQ(j["range_hz"].size(), 2u);
    ParameterImage untouched;
    ASSERT_EQ(loadParameterFile(untouched, dat), 1);
    EXPECT_EQ(untouched, image);
    EXPECT_EQ(saved.record(0, 1), image.record(0, 1)) << "only the channel asked for changes";
}

TEST_F(CliFit, PrintsBandsAndErrors) {
    const CliResult r = runCliCommand(
        {"fit", dat, "--channel", "1", "--measurement", dir.file("sitz1.txt"), "--keep", "EQ6"});
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_NE(r.out.find("Anpassung Preset 1, Kanal 1, "), std::string::npos) << r.out;
    EXPECT_NE(r.out.find("EQ6: 6000 Hz, 0 dB, Q 1.0 (beibehalten)"), std::string::npos) << r.out;
    EXPECT_NE(r.out.find("Fehler vorher "), std::string::npos);
    EXPECT_NE(r.out.find("; ohne Raster wären "), std::string::npos);
    EXPECT_EQ(r.out.find("Gespeichert"), std::string::npos) << "without --out nothing is saved";
}

TEST_F(CliFit, EndsWithAReason) {
    const std::string m = dir.file("sitz1.txt");
    struct Case {
        std::vector<std::string> args;
        int status;
        std::string message;
    };
    const Case cases[] = {
        {{"fit", dat, "--channel", "1"}, 2, "filtaro-cli: Aufruf: filtaro-cli fit DATEI"},
        {{"fit", dat, "--channel", "7", "--measurement", m},
         2,
         "filtaro-cli: Der Kanal muss eine Zahl von 1 bis 6 sein."},
        {{"fit", dat, "--channel", "1", "--measurement", m, "--smooth", "1/5"},
         2,
         "filtaro-cli: Die Glättung muss none, 1/24, 1/12, 1/6 oder 1/3 sein."},
        {{"fit", dat, "--channel", "1", "--measurement", m, "--target", "house:100:3"},
         2,
         "filtaro-cli: Ziel house:100:3"},
        {{"fit", dat, "--channel", "1", "--measurement", m, "--range", "10000-100"},
         2,
         "filtaro-cli: Der Bereich muss VON-BIS in Hz sein"},
        {{"fit", dat, "--channel", "1", "--measurement", m, "--keep", "EQ7"},
         2,
         "filtaro-cli: --keep nennt Bänder als EQ1 bis EQ6"},
        {{"fit", dat, "--channel", "1", "--measurement", m, "--max-boost", "7"},
         2,
         "filtaro-cli: Die größte Anhebung je Band muss eine ganze Zahl von 0 bis 6 dB sein."},
        {{"fit", dat, "--channel", "1", "--measurement", dir.file("fehlt.txt")},
         1,
         "filtaro-cli: " + dir.file("fehlt.txt")},
        {{"fit", dat, "--channel", "1", "--measurement", m, "--target", dir.file("fehlt.txt")},
         1,
         "filtaro-cli: " + dir.file("fehlt.txt")},
        {{"fit", dat, "--channel", "1", "--measurement", m, "--range", "1000-1100"},
         1,
         "filtaro-cli: Die Messung deckt zu wenig des Bereichs 1000 bis 1100 Hz ab."},
        {{"fit", dat, "--channel", "1", "--measurement", m, "--average", "vector"},
         1,
         "filtaro-cli: Die Vektormittelung braucht die Phase aller Messungen."},
    };
    for (const Case& c : cases) {
        const CliResult r = runCliCommand(c.args);
        EXPECT_EQ(r.status, c.status) << c.message;
        EXPECT_EQ(r.err.rfind(c.message, 0), 0u) << r.err;
        EXPECT_EQ(r.out, "");
    }
}
