#include <gtest/gtest.h>

#include <algorithm>
#include <sstream>

#include "model/ParameterImage.h"
#include "storage/ParameterFile.h"
#include "storage/SideFile.h"
#include "support/CliRun.h"
#include "support/ScratchDir.h"

namespace {

std::size_t lineCount(const std::string& text) {
    return static_cast<std::size_t>(std::count(text.begin(), text.end(), '\n'));
}

class CliInterchange : public ::testing::Test {
protected:
    void SetUp() override {
        applyDefaults(image);
        ChannelRecord r = image.record(1, 2);
        r.hpType = FilterLinkwitzRiley24;
        r.hpFrequency = 250;
        r.eq[1] = {1250, 5, -4};
        r.level = -2;
        image.setRecord(1, 2, r);
        ASSERT_EQ(saveParameterFile(image, dat), 0);
    }
    ParameterImage loaded(const std::string& path) const {
        ParameterImage i;
        EXPECT_EQ(loadParameterFile(i, path), 1);
        return i;
    }

    ScratchDir dir;
    const std::string dat = dir.file("Boxen.dat");
    ParameterImage image;
};

TEST_F(CliInterchange, ImportPrintsTheReportAndSavesTheChannel) {
    writeFileBytes(dir.file("eq.txt"),
                   "Preamp: -3 dB\n"
                   "Channel: L\nFilter 1: ON PK Fc 100 Hz Gain -6 dB Q 2\n"
                   "Channel: R\nFilter 1: ON PK Fc 200 Hz Gain -5,4 dB Q 2\nunlesbar\n");
    const CliResult r =
        runCliCommand({"import", dat, dir.file("eq.txt"), "--preset", "2", "--channel", "3",
                       "--block", "R", "--out", dir.file("neu.dat")});
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(r.err, "");
    // Q 2 of Equalizer APO at -5 dB is the device's Q 1.5.
    EXPECT_NE(r.out.find("→ EQ1: 200 Hz, -5 dB, Q 1.5 (angepasst)"), std::string::npos) << r.out;
    EXPECT_NE(r.out.find("Zeile 6 nicht lesbar"), std::string::npos);
    const ChannelRecord set = loaded(dir.file("neu.dat")).record(1, 2);
    EXPECT_EQ(set.eq[0], (EqBand{200, 3, -5}));
    EXPECT_EQ(set.level, -3);
    EXPECT_EQ(set.hpType, FilterLinkwitzRiley24);  // the text has no crossover
    EXPECT_EQ(loaded(dat), image);                 // --out leaves the file as it was

    // --refit: the bands fitted to the text as a whole, both differences said.
    const CliResult refit =
        runCliCommand({"import", dat, dir.file("eq.txt"), "--preset", "2", "--channel", "3",
                       "--block", "R", "--refit", "--out", dir.file("raster.dat")});
    ASSERT_EQ(refit.status, 0) << refit.err;
    EXPECT_NE(refit.out.find("Auf das Raster angepasst statt gerundet:"), std::string::npos)
        << refit.out;
    EXPECT_NE(refit.out.find("(gerundet: "), std::string::npos) << refit.out;
    EXPECT_EQ(loaded(dir.file("raster.dat")).record(1, 2).hpType, FilterLinkwitzRiley24);
}

TEST_F(CliInterchange, ExportWritesEachFormatWithTheChannelNames) {
    SideFile side;
    side.channelNames[2] = "Mitte links";
    ASSERT_TRUE(saveSideFile(dat, side));
    const std::pair<std::vector<std::string>, const char*> cases[] = {
        {{"--format", "apo", "--preset", "2", "--channel", "3"},
         "# Preset 2, Kanal 3 \"Mitte links\""},
        {{"--format", "apo", "--preset", "2"}, "Channel: 3\n"},
        {{"--format", "rew", "--preset", "2", "--channel", "3"}, "Filter  1: ON  HPQ   Fc 250 Hz"},
        {{"--format", "camilladsp", "--preset", "2", "--rate", "96000"}, "samplerate: 96000"},
    };
    for (const auto& [options, expected] : cases) {
        std::vector<std::string> args = {"export", dat};
        args.insert(args.end(), options.begin(), options.end());
        const CliResult r = runCliCommand(args);
        ASSERT_EQ(r.status, 0) << r.err;
        // Standard error says, per channel, how far the program plays from the device.
        std::istringstream err(r.err);
        for (std::string line; std::getline(err, line);) {
            EXPECT_EQ(line.rfind("filtaro-cli: Abweichung: Kanal ", 0), 0u) << line;
        }
        EXPECT_NE(r.out.find(expected), std::string::npos) << r.out;
        EXPECT_NE(r.out.find("Mitte links"), std::string::npos);
    }
    // Back through import: the same channel.
    CliResult r = runCliCommand({"export", dat, "--format", "apo", "--preset", "2", "--channel",
                                 "3", "--out", dir.file("kanal3.txt")});
    ASSERT_EQ(r.status, 0) << r.err;
    r = runCliCommand({"import", dat, dir.file("kanal3.txt"), "--preset", "1", "--channel", "3",
                       "--out", dir.file("zurueck.dat")});
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(loaded(dir.file("zurueck.dat")).record(0, 2), image.record(1, 2));

    // A broken side file costs the names, with one line, not the export.
    writeFileBytes(sideFilePath(dat), "{kaputt");
    r = runCliCommand({"export", dat, "--format", "apo"});
    EXPECT_EQ(r.status, 0);
    EXPECT_EQ(lineCount(r.err), 1u + ChannelCount) << r.err;
    EXPECT_NE(r.err.find("beschädigt"), std::string::npos);
}

TEST_F(CliInterchange, RefusesWithOneLineAndTheUsualStatus) {
    writeFileBytes(dir.file("lr.txt"), "Channel: L\nPreamp: -3 dB\nChannel: R\nPreamp: -4 dB\n");
    writeFileBytes(dir.file("leer.txt"), "# nichts\nFilter: ON BP Fc 100 Hz\n");
    const std::string lr = dir.file("lr.txt");
    const std::pair<std::vector<std::string>, int> cases[] = {
        {{"import", dat, lr, "--preset", "1"}, 2},
        {{"import", dat, lr, "--preset", "1", "--channel", "7"}, 2},
        {{"import", dat, lr, "--preset", "1", "--channel", "1"}, 2},
        {{"import", dat, lr, "--preset", "1", "--channel", "1", "--block", "C"}, 2},
        {{"import", dat, dir.file("fehlt.txt"), "--preset", "1", "--channel", "1"}, 1},
        {{"import", dat, dir.file("leer.txt"), "--preset", "1", "--channel", "1"}, 1},
        {{"import", dir.file("fehlt.dat"), lr, "--preset", "1", "--channel", "1"}, 1},
        {{"export", dat}, 2},
        {{"export", dat, "--format", "wav"}, 2},
        {{"export", dat, "--format", "rew"}, 2},
        {{"export", dat, "--format", "camilladsp", "--channel", "1"}, 2},
        {{"export", dat, "--format", "rew", "--channel", "1", "--rate", "48000"}, 2},
        {{"export", dat, "--format", "camilladsp", "--rate", "100"}, 2},
        {{"export", dat, "--format", "apo", "--out", dir.file("nicht/da.txt")}, 1},
    };
    for (const auto& [args, status] : cases) {
        const CliResult r = runCliCommand(args);
        EXPECT_EQ(r.status, status) << args[0] << " " << r.err;
        EXPECT_EQ(lineCount(r.err), 1u) << r.err;
    }
    EXPECT_EQ(loaded(dat), image);
    const CliResult blocks = runCliCommand({"import", dat, lr, "--preset", "1", "--channel", "1"});
    EXPECT_EQ(blocks.err,
              "filtaro-cli: Die Filterdatei hat mehrere Kanalblöcke (L, R); bitte mit --block "
              "einen wählen.\n");
}

}  // namespace
