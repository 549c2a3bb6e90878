#include <gtest/gtest.h>

#include <bit>
#include <cstdint>
#include <cstdlib>
#include <memory>
#include <sstream>
#include <string>
#include <vector>

#include "model/ParameterImage.h"
#include "plotmodel/CurveCsv.h"
#include "response/ChannelResponse.h"
#include "response/ComplexResponse.h"
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

struct ViewCase {
    std::vector<std::string> options;
    ResponseQuantity quantity;
    bool sums;
    bool csv;
};

// --view picks the quantity (the magnitude stays the plot's own path), --sum
// adds the sums L and R, --csv writes the same columns as CSV.
TEST(CliResponse, ViewSumAndCsvChooseTheColumns) {
    ScratchDir dir;
    const std::string path = dir.file("kurven.dat");
    ParameterImage image = sampleImage();
    image.setField(2, 1, ChannelField::input, 1);
    image.setField(2, 2, ChannelField::delayTaps, 40);
    ASSERT_EQ(saveParameterFile(image, path), 0);
    ChannelResponses magnitudes;
    computeResponses(image, magnitudes);
    const auto complex = std::make_unique<ComplexResponses>();
    computeComplexResponses(image, *complex);
    const std::string plain = runCliCommand({"response", path, "--preset", "3"}).out;

    using Q = ResponseQuantity;
    for (const ViewCase& c :
         std::vector<ViewCase>{{{"--view", "magnitude"}, Q::Magnitude, false, false},
                               {{"--view", "phase"}, Q::Phase, false, false},
                               {{"--sum", "--view", "groupdelay"}, Q::GroupDelay, true, false},
                               {{"--sum"}, Q::Magnitude, true, false},
                               {{"--csv", "--sum", "--view", "phase"}, Q::Phase, true, true},
                               {{"--csv"}, Q::Magnitude, false, true}}) {
        std::vector<std::string> args{"response", path, "--preset", "3"};
        args.insert(args.end(), c.options.begin(), c.options.end());
        const CliResult r = runCliCommand(args);
        ASSERT_EQ(r.status, 0) << r.err;
        std::vector<CsvCurve> expected;
        for (int ch = 0; ch < ChannelCount; ++ch) {
            expected.push_back(
                {channelCurveName(ch), c.quantity == Q::Magnitude
                                           ? &magnitudes[ch].db
                                           : &complex->channels[ch].values(c.quantity)});
        }
        for (int s = 0; c.sums && s < SumCount; ++s) {
            expected.push_back(
                {std::string(SumCurveNames[s]), &complex->sums[s].values(c.quantity)});
        }
        if (c.csv) {
            EXPECT_EQ(r.out, curvesCsv(expected, quantityUnit(c.quantity))) << c.options.front();
            if (c.sums) {
                EXPECT_EQ(r.out.substr(0, r.out.find('\n')),
                          "Frequenz [Hz],Kanal 1 [deg],Kanal 2 [deg],Kanal 3 [deg],"
                          "Kanal 4 [deg],Kanal 5 [deg],Kanal 6 [deg],Summe L [deg],"
                          "Summe R [deg]");
            }
            continue;
        }
        if (c.quantity == Q::Magnitude && !c.sums) {
            EXPECT_EQ(r.out, plain);  // the bytes of the plain command
        }
        const auto rows = tabRows(r.out);
        ASSERT_EQ(rows.size(), 2000u);
        for (int j = 0; j < ResponsePointCount; ++j) {
            ASSERT_EQ(rows[j].size(), expected.size() + 1) << j;
            for (std::size_t k = 0; k < expected.size(); ++k) {
                ASSERT_EQ(bitsOf(rows[j][k + 1]),
                          std::bit_cast<std::uint32_t>((*expected[k].values)[j]))
                    << c.options.back() << " point " << j << " column " << k;
            }
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
                                               {"response", path, "--voreinstellung", "2"},
                                               {"response", path, "--view"},
                                               {"response", path, "--view", "Phase"},
                                               {"response", path, "--view", "betrag"},
                                               {"response", path, "--csv", "x.csv"}}) {
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
