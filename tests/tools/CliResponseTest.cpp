#include <gtest/gtest.h>

#include <bit>
#include <cstdint>
#include <cstdlib>
#include <sstream>
#include <string>
#include <vector>

#include "model/ParameterImage.h"
#include "response/ChannelResponse.h"
#include "storage/ParameterFile.h"
#include "support/CliRun.h"
#include "support/ScratchDir.h"

namespace {

std::vector<std::vector<std::string>> tabRows(const std::string& text) {
    std::vector<std::vector<std::string>> rows;
    std::istringstream lines(text);
    for (std::string line; std::getline(lines, line);) {
        std::vector<std::string> cells;
        std::istringstream fields(line);
        for (std::string cell; std::getline(fields, cell, '\t');) cells.push_back(cell);
        rows.push_back(cells);
    }
    return rows;
}

std::uint32_t bitsOf(const std::string& number) {
    return std::bit_cast<std::uint32_t>(std::strtof(number.c_str(), nullptr));
}

// Defaults in every preset, with preset 3 made distinct: a level per
// channel, a crossover and a boost.
ParameterImage sampleImage() {
    ParameterImage image;
    applyDefaults(image);
    for (int c = 0; c < ChannelCount; ++c) {
        ChannelRecord r = image.record(2, c);
        r.level = c - 2;
        r.hpType = 1 + c;
        r.hpFrequency = 60;
        r.eq[3] = {1000, 3, 5};
        image.setRecord(2, c, r);
    }
    image.setActivePreset(2);  // what the file was saved with; the command ignores it
    return image;
}

TEST(CliResponse, PrintsTheGridAndSixChannelsSoTheBitsReadBack) {
    ScratchDir dir;
    const std::string path = dir.file("kurven.dat");
    ParameterImage image = sampleImage();
    ASSERT_EQ(saveParameterFile(image, path), 0);

    for (int preset : {1, 3}) {
        std::vector<std::string> args{"response", path};
        if (preset != 1) args.insert(args.end(), {"--preset", std::to_string(preset)});
        const CliResult r = runCliCommand(args);
        ASSERT_EQ(r.status, 0) << r.err;
        EXPECT_EQ(r.err, "");
        ASSERT_FALSE(r.out.empty());
        EXPECT_EQ(r.out.back(), '\n');
        const auto rows = tabRows(r.out);
        ASSERT_EQ(rows.size(), 2000u);

        image.setActivePreset(preset - 1);
        ChannelResponses expected;
        computeResponses(image, expected);
        const ResponseGrid grid;
        for (int j = 0; j < ResponsePointCount; ++j) {
            ASSERT_EQ(rows[j].size(), 7u) << j;
            ASSERT_EQ(bitsOf(rows[j][0]), std::bit_cast<std::uint32_t>(grid[j])) << j;
            for (int c = 0; c < ChannelCount; ++c) {
                ASSERT_EQ(bitsOf(rows[j][1 + c]), std::bit_cast<std::uint32_t>(expected[c].db[j]))
                    << "preset " << preset << " point " << j << " channel " << c;
            }
        }
        EXPECT_EQ(rows[100][0], "20");
        EXPECT_EQ(rows[400][0], "20000");
        // Preset 1 holds the defaults: every curve is flat at 0 dB.
        if (preset == 1) {
            EXPECT_EQ(rows[300], (std::vector<std::string>{"2000", "0", "0", "0", "0", "0", "0"}));
        } else {
            EXPECT_NE(rows[300][1], "0");  // preset 3, not the flat preset 1
        }
    }
}

TEST(CliResponse, RejectsBadArguments) {
    ScratchDir dir;
    const std::string path = dir.file("a.dat");
    ASSERT_EQ(saveParameterFile(ParameterImage(), path), 0);
    for (const std::vector<std::string>& args :
         std::vector<std::vector<std::string>>{{"response"},
                                               {"response", path, path},
                                               {"response", path, "--preset"},
                                               {"response", path, "--preset", "0"},
                                               {"response", path, "--preset", "5"},
                                               {"response", path, "--preset", "2x"},
                                               {"response", path, "--voreinstellung", "2"}}) {
        const CliResult r = runCliCommand(args);
        EXPECT_EQ(r.status, 2) << args.size();
        EXPECT_EQ(r.out, "");
        EXPECT_NE(r.err.find("filtaro-cli: "), std::string::npos);
    }
    // An all-zero file (Q code 0 everywhere) is valid and prints 0 dB throughout.
    const CliResult r = runCliCommand({"response", path, "--preset", "4"});
    ASSERT_EQ(r.status, 0) << r.err;
    for (const auto& row : tabRows(r.out)) {
        for (std::size_t c = 1; c < row.size(); ++c) ASSERT_EQ(row[c], "0");
    }
}

}  // namespace
