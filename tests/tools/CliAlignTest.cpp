// filtaro-cli align: one user's whole run on the model driver pair (the dome
// 18 mm ahead of the cone: 5 taps), the JSON read back, the best candidate
// saved elsewhere, and the calls it refuses.

#include <gtest/gtest.h>

#include <nlohmann/json.hpp>

#include "model/ParameterImage.h"
#include "storage/ParameterFile.h"
#include "support/CliRun.h"
#include "support/ScratchDir.h"

namespace {

const std::string Woofer = FILTARO_MEASUREMENTS_DIR "/model-a-woofer.txt";
const std::string Tweeter = FILTARO_MEASUREMENTS_DIR "/model-a-tweeter.txt";

class CliAlign : public ::testing::Test {
protected:
    void SetUp() override {
        applyDefaults(image);
        ChannelRecord woofer = image.record(1, 0);
        woofer.lpFrequency = 2300;
        woofer.lpType = 9;
        ChannelRecord tweeter = image.record(1, 1);
        tweeter.hpFrequency = 2300;
        tweeter.hpType = 9;
        image.setRecord(1, 0, woofer);
        image.setRecord(1, 1, tweeter);
        for (int c = 2; c < ChannelCount; ++c) {
            ChannelRecord r = image.record(1, c);
            r.input = 1;
            image.setRecord(1, c, r);
        }
        ASSERT_EQ(saveParameterFile(image, dat), 0);
    }
    ScratchDir dir;
    const std::string dat = dir.file("Box.dat");
    ParameterImage image;
};

}  // namespace

TEST_F(CliAlign, AlignsTheModelPairAndSavesTheBest) {
    const CliResult r = runCliCommand({"align", dat, "--preset", "2", "--channels", "1,2",
                                       "--measurement", "1=" + Woofer, "--measurement",
                                       "2=" + Tweeter, "--json", "--out", dir.file("neu.dat")});
    ASSERT_EQ(r.status, 0) << r.err;
    const nlohmann::json j = nlohmann::json::parse(r.out);
    ASSERT_EQ(j["candidates"].size(), 5u);
    EXPECT_TRUE(j["warnings"].empty());
    const nlohmann::json& best = j["candidates"][0];
    EXPECT_EQ(best["rank"], 1);
    EXPECT_LT(best["score_db"].get<double>(), j["candidates"][1]["score_db"].get<double>());
    const nlohmann::json& tweeter = best["settings"][1];
    EXPECT_EQ(tweeter["channel"], 2);
    EXPECT_EQ(tweeter["delay_taps"], 5);  // 18 mm / 3.57 mm
    EXPECT_EQ(tweeter["hp_frequency_hz"], 2300);
    EXPECT_EQ(tweeter["hp_type"], 9);
    EXPECT_EQ(best["settings"][0]["delay_taps"], 0);  // held

    ParameterImage saved;
    ASSERT_EQ(loadParameterFile(saved, dir.file("neu.dat")), 1);
    EXPECT_EQ(saved.record(1, 1).delayTaps, 5);
    EXPECT_EQ(saved.record(1, 1).level, tweeter["level_db"].get<int>());
    ParameterImage original;
    ASSERT_EQ(loadParameterFile(original, dat), 1);
    EXPECT_EQ(original.record(1, 1).delayTaps, 0);  // FILE stays as it was

    const CliResult text =
        runCliCommand({"align", dat, "--preset", "2", "--channels", "1,2", "--measurement",
                       "1=" + Woofer, "--measurement", "2=" + Tweeter, "--candidates", "1"});
    ASSERT_EQ(text.status, 0) << text.err;
    EXPECT_NE(text.out.find("Kanal 2: Verzögerung 5 Taps (17.8 mm)"), std::string::npos)
        << text.out;
    EXPECT_NE(text.out.find("Nicht geprüft: Ob alle Messungen dieselbe Zeitreferenz haben"),
              std::string::npos);
}

TEST_F(CliAlign, RefusesWrongCalls) {
    struct Case {
        std::vector<std::string> args;
        int status;
        const char* message;
    };
    const Case cases[] = {
        {{"--channels", "1", "--measurement", "1=" + Woofer}, 2, "zwei oder drei Kanäle"},
        {{"--channels", "1,2"}, 2, "Aufruf: filtaro-cli align"},
        {{"--channels", "1,2", "--measurement", "1=" + Woofer}, 2, "genau eine Messung"},
        {{"--channels", "1,2", "--measurement", "1=" + Woofer, "--measurement", "2=" + Tweeter,
          "--vary", "phase"},
         2,
         "--vary"},
        {{"--channels", "1,2", "--measurement", "1=" + Woofer, "--measurement", "2=" + Tweeter,
          "--hold", "3"},
         2,
         "--hold"},
        {{"--channels", "1,3", "--measurement", "1=" + Woofer, "--measurement", "3=" + Tweeter},
         1,
         "Eingangsseite"},
        {{"--channels", "1,2", "--measurement", "1=" + Woofer, "--measurement", "2=fehlt.txt"},
         1,
         "fehlt.txt"},
    };
    for (const Case& c : cases) {
        std::vector<std::string> args{"align", dat, "--preset", "2"};
        args.insert(args.end(), c.args.begin(), c.args.end());
        const CliResult r = runCliCommand(args);
        EXPECT_EQ(r.status, c.status) << r.err;
        EXPECT_NE(r.err.find(c.message), std::string::npos) << r.err;
    }
}
