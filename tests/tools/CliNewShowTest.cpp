#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/resource.h>
#include <unistd.h>

#include <algorithm>
#include <climits>
#include <csignal>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <sstream>

#include "model/ParameterImage.h"
#include "storage/ParameterFile.h"
#include "support/ChildProcess.h"
#include "support/CliRun.h"
#include "support/ScratchDir.h"

namespace fs = std::filesystem;

namespace {

std::size_t countOf(const std::string& text, const std::string& what) {
    std::size_t n = 0;
    for (std::size_t pos = text.find(what); pos != std::string::npos;
         pos = text.find(what, pos + 1)) {
        ++n;
    }
    return n;
}

// The cells of the first line of `text` whose cells start with `prefix`;
// cells are separated by two or more blanks, as the tables print them.
std::vector<std::string> rowStartingWith(const std::string& text,
                                         const std::vector<std::string>& prefix) {
    std::istringstream lines(text);
    for (std::string line; std::getline(lines, line);) {
        std::vector<std::string> cells;
        std::size_t pos = line.find_first_not_of(' ');
        while (pos != std::string::npos) {
            const std::size_t gap = line.find("  ", pos);
            cells.push_back(line.substr(pos, gap == std::string::npos ? gap : gap - pos));
            pos = gap == std::string::npos ? gap : line.find_first_not_of(' ', gap);
        }
        if (cells.size() >= prefix.size() &&
            std::equal(prefix.begin(), prefix.end(), cells.begin())) {
            return cells;
        }
    }
    return {};
}

TEST(CliNew, WritesTheDefaultsOfAZeroImage) {
    ScratchDir dir;
    const std::string path = dir.file("neu.dat");
    const CliResult r = runCliCommand({"new", path});
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(r.err, "");

    ParameterImage expected;
    applyDefaults(expected);
    ParameterImage loaded;
    loaded.bytes().fill(0xEE);
    ASSERT_EQ(loadParameterFile(loaded, path), 1);
    EXPECT_EQ(loaded, expected);
    EXPECT_EQ(loaded.workingDirectory(), "");
    EXPECT_EQ(loaded.spareByte(), 0);
}

TEST(CliNew, UnwritablePathFailsAndKeepsWhatWasThere) {
    ScratchDir dir;
    writeFileBytes(dir.file("plain"), "keep");
    CliResult r = runCliCommand({"new", dir.file("plain") + "/neu.dat"});
    EXPECT_NE(r.status, 0);
    EXPECT_EQ(countOf(r.err, "\n"), 1u);
    EXPECT_NE(r.err.find("konnte nicht gespeichert werden"), std::string::npos);

    fs::create_directory(dir.file("folder.dat"));
    r = runCliCommand({"new", dir.file("folder.dat")});
    EXPECT_NE(r.status, 0);
    EXPECT_TRUE(fs::is_directory(dir.file("folder.dat")));
    EXPECT_EQ(readFileBytes(dir.file("plain")), "keep");

    EXPECT_EQ(runCliCommand({"new"}).status, 2);
    EXPECT_EQ(runCliCommand({"new", "a.dat", "b.dat"}).status, 2);
    EXPECT_FALSE(fs::exists("a.dat"));
}

// The real program under a file-size limit below what it writes: the usual
// failure (one line, status 1), never death by SIGXFSZ (status 153), and no
// file or temporary file left.
TEST(CliNewEncode, SizeLimitGivesTheUsualFailure) {
    const char* cli = std::getenv("FILTARO_CLI");
    ASSERT_TRUE(cli != nullptr && *cli != '\0');
    ScratchDir dir;
    ParameterImage image;
    applyDefaults(image);
    ASSERT_EQ(saveParameterFile(image, dir.file("in.dat")), 0);
    const std::vector<std::vector<std::string>> commands = {
        {"new", dir.file("out.dat")},
        {"encode", dir.file("in.dat"), dir.file("out.bin")},
    };
    for (const auto& args : commands) {
        SCOPED_TRACE(args.front());
        const int status = runInChild([&] {
            std::signal(SIGXFSZ, SIG_DFL);
            rlimit limit{};
            getrlimit(RLIMIT_FSIZE, &limit);
            limit.rlim_cur = 500;  // below the 624 bytes of a wire image
            const int err = open(dir.file("err.txt").c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
            if (setrlimit(RLIMIT_FSIZE, &limit) != 0 || err < 0 || dup2(err, 2) < 0) return 125;
            std::vector<char*> argv{const_cast<char*>(cli)};
            for (const std::string& a : args) argv.push_back(const_cast<char*>(a.c_str()));
            argv.push_back(nullptr);
            execv(cli, argv.data());
            return 127;
        });
        EXPECT_EQ(status, 1);
        const std::string err = readFileBytes(dir.file("err.txt"));
        EXPECT_EQ(countOf(err, "\n"), 1u) << err;
        EXPECT_NE(err.find("konnte nicht gespeichert werden"), std::string::npos) << err;
        fs::remove(dir.file("err.txt"));
        EXPECT_EQ(std::distance(fs::directory_iterator(dir.path()), fs::directory_iterator()), 1);
    }
}

TEST(CliShow, ShowsHeaderAndEveryChannelOfEveryPreset) {
    ScratchDir dir;
    const std::string path = dir.file("a.dat");
    ParameterImage image;
    applyDefaults(image);
    image.setWorkingDirectory("/home/ton");
    image.setActivePreset(2);
    image.setField(2, 3, ChannelField::hpType, FilterButterworth18);
    image.setField(2, 3, ChannelField::hpFrequency, 85);
    image.setField(2, 3, ChannelField::lpType, FilterLinkwitzRiley24);
    image.setField(2, 3, ChannelField::input, 2);
    image.setField(1, 5, ChannelField::delayTaps, 2801);
    image.setField(0, 0, eqQField(4), 22);  // EQ5 low shelf, Q 0.5
    image.setField(0, 0, eqQField(0), 20);
    ASSERT_EQ(saveParameterFile(image, path), 0);

    const CliResult r = runCliCommand({"show", path});
    ASSERT_EQ(r.status, 0) << r.err;
    const std::string& o = r.out;
    EXPECT_NE(o.find("Aktives Preset:      3\n"), std::string::npos) << o;
    EXPECT_NE(o.find("Arbeitsverzeichnis:  /home/ton\n"), std::string::npos);
    EXPECT_NE(o.find("Plotbereich:         20 Hz bis 20000 Hz\n"), std::string::npos);
    EXPECT_NE(o.find("Preset 3 (aktiv)\n"), std::string::npos);
    for (int p = 1; p <= 4; ++p) {
        EXPECT_NE(o.find("\nPreset " + std::to_string(p)), std::string::npos);
    }
    EXPECT_EQ(countOf(o, "  Kanal  Pegel"), 4u);
    EXPECT_EQ(countOf(o, "150 Hz"), 24u);
    using Cells = std::vector<std::string>;
    EXPECT_EQ(rowStartingWith(o, {"4", "0 dB", "L+R"}),
              (Cells{"4", "0 dB", "L+R", "0", "0.0", "0.000", "85 Hz", "Butterworth 18 dB/Oct",
                     "150 Hz", "Linkwitz-Riley 24 dB/Oct", "-", "0"}));
    // 2801 taps: 3.57 mm and 10.41 µs each.
    EXPECT_EQ(rowStartingWith(o, {"6", "0 dB", "L", "2801"}),
              (Cells{"6", "0 dB", "L", "2801", "9999.6", "29.153", "20 Hz", "Off", "150 Hz", "Off",
                     "-", "0"}));
    EXPECT_NE(o.find("LowShelf"), std::string::npos);
    // Channel 1 of preset 1: EQ1 code 20 and the shelf's 0.5 among the 1.0 of the others.
    EXPECT_EQ(rowStartingWith(o, {"Q"}), (Cells{"Q", "10", "1.0", "1.0", "1.0", "0.5", "1.0"}));
    EXPECT_EQ(rowStartingWith(o, {"2", "Hz"}),
              (Cells{"2", "Hz", "40", "80", "160", "400", "2000", "6000"}));
    EXPECT_EQ(o.find("["), o.rfind("[n]"));  // no raw codes in a sane file
}

// Values no panel produces: shown as stored, never read past a field.
TEST(CliShow, OddValuesAreShownRawWithoutHarm) {
    ScratchDir dir;
    const std::string path = dir.file("odd.dat");
    ParameterImage image;
    applyDefaults(image);
    std::memset(image.bytes().data() + ImageOffset::workingDirectory, 'w',
                ImageOffset::workingDirectorySize);  // no terminator
    image.bytes()[ImageOffset::workingDirectory] = '\x1b';
    image.bytes()[ImageOffset::workingDirectory + 1] = '\xe4';  // Latin-1, no UTF-8
    image.setSixChannels(9);
    image.setChannelShown(2, 0);
    image.setChannelShown(3, 200);
    image.setField(0, 0, ChannelField::hpType, 10);
    image.setField(0, 0, ChannelField::lpType, 255);
    image.setField(0, 0, ChannelField::input, 3);
    image.setField(0, 0, ChannelField::hpFrequency, -20);
    image.setField(0, 0, ChannelField::lpFrequency, 0);
    image.setField(0, 0, ChannelField::delayTaps, INT_MIN);
    image.setField(0, 0, ChannelField::level, INT_MAX);
    image.setField(0, 0, eqQField(0), 0);
    image.setField(0, 0, eqQField(1), 30);
    image.setField(0, 0, eqQField(2), -5);
    image.setField(0, 0, eqQField(3), 22);  // shelving code on a band that cannot shelve
    image.setField(0, 0, eqQField(4), INT_MIN);

    for (int active : {7, -1}) {
        image.setActivePreset(active);
        ASSERT_EQ(saveParameterFile(image, path), 0);
        const CliResult r = runCliCommand({"show", path});
        ASSERT_EQ(r.status, 0) << r.err;
        const std::string& o = r.out;
        EXPECT_NE(o.find("Aktives Preset:      [" + std::to_string(active) + "]\n"),
                  std::string::npos);
        EXPECT_EQ(o.find("(aktiv)"), std::string::npos);
        EXPECT_NE(o.find("Arbeitsverzeichnis:  \\x1B\\xE4" + std::string(258, 'w') + "\n"),
                  std::string::npos);
        EXPECT_EQ(o.find('\x1b'), std::string::npos);
        EXPECT_EQ(o.find('\xe4'), std::string::npos);
        EXPECT_NE(o.find("Kanalzahl:           [9]\n"), std::string::npos);
        EXPECT_NE(o.find("1=an 2=an 3=aus 4=[200] 5=an 6=an\n"), std::string::npos);
        using Cells = std::vector<std::string>;
        EXPECT_EQ(rowStartingWith(o, {"1", "2147483647 dB"}),
                  (Cells{"1", "2147483647 dB", "[3]", "-2147483648", "-7666516623.4",
                         "-22351360.418", "-20 Hz", "[10]", "0 Hz", "[255]", "-", "0"}))
            << o;
        EXPECT_EQ(rowStartingWith(o, {"Q"}),
                  (Cells{"Q", "[0]", "[30]", "[-5]", "[22]", "[-2147483648]", "1.0"}));
    }
}

}  // namespace
