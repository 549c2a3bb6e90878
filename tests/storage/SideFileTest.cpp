#include <gtest/gtest.h>

#include <filesystem>

#include "storage/ParameterFile.h"
#include "storage/SideFile.h"
#include "support/ScratchDir.h"

namespace {

TEST(SideFile, LivesBesideTheParameterFile) {
    const std::pair<const char*, const char*> cases[] = {
        {"/home/a/Filtaro.dat", "/home/a/Filtaro.filtaro.json"},
        {"Boxen.v2.DAT", "Boxen.v2.filtaro.json"},
        {"ohne", "ohne.filtaro.json"},
    };
    for (const auto& [dat, json] : cases) EXPECT_EQ(sideFilePath(dat), json);
    // (As a path: Windows joins with its own separator.)
    EXPECT_TRUE(std::filesystem::path(measurementFilePath("/home/a/x.dat", "mess/bass.txt")) ==
                std::filesystem::path("/home/a/mess/bass.txt"));
    EXPECT_EQ(measurementFilePath("/home/a/x.dat", "/tmp/hoch.frd"), "/tmp/hoch.frd");
    EXPECT_EQ(measurementFilePath("/home/a/x.dat", ""), "");
    // Stored relative (with '/') in or below the folder, else as given.
    const std::pair<const char*, const char*> stored[] = {
        {"/home/a/mess/bass.txt", "mess/bass.txt"},
        {"/home/a/./hoch.frd", "hoch.frd"},
        {"/home/b/hoch.frd", "/home/b/hoch.frd"},
        {"/home/ab/hoch.frd", "/home/ab/hoch.frd"},
    };
    for (const auto& [path, form] : stored) {
        EXPECT_EQ(storedMeasurementPath("/home/a/x.dat", path), form);
        EXPECT_EQ(
            std::filesystem::path(measurementFilePath("/home/a/x.dat", form)).lexically_normal(),
            std::filesystem::path(path).lexically_normal());
    }
}

TEST(SideFile, HasContentWithAnythingBeyondTheDefaults) {
    EXPECT_FALSE(sideFileHasContent({}));
    SideFile named, measured, overlay, original;
    named.channelNames[5] = "Sub";
    measured.measurements[0] = {"bass.txt"};
    overlay.overlay.predicted = true;
    original.original = "{}";
    for (const SideFile& data : {named, measured, overlay, original}) {
        EXPECT_TRUE(sideFileHasContent(data));
    }
}

TEST(SideFile, IsWrittenAndReadBackKeepingWhatItDoesNotKnow) {
    ScratchDir dir;
    const std::string dat = dir.file("Boxen.dat");
    ParameterImage image;
    applyDefaults(image);
    ASSERT_EQ(saveParameterFile(image, dat), 0);
    EXPECT_EQ(loadSideFile(dat).state, SideFileState::Missing);

    // A newer program's keys at every level.
    writeFileBytes(sideFilePath(dat),
                   R"({"farbe": "blau", "channels": [{"name": "alt", "eq": [1, 2]}, 7],
                       "overlay": {"predicted": true, "dicke": 2}})");
    SideFileLoad load = loadSideFile(dat);
    ASSERT_EQ(load.state, SideFileState::Read) << load.message;
    EXPECT_EQ(load.data.channelNames[0], "alt");
    EXPECT_TRUE(load.data.overlay.predicted);
    EXPECT_TRUE(load.data.overlay.normalise);  // missing: the default

    SideFile data = load.data;
    data.channelNames = {"Bass \"links\"", "Bass rechts", "", "Mitte", "Höhe ✓", "Sub"};
    data.measurements[3] = {"mess/mitte.txt", "/tmp/sitz 2.txt"};
    data.overlay = {false, true, false, Averaging::Vector, 0};
    ASSERT_TRUE(saveSideFile(dat, data));
    load = loadSideFile(dat);
    ASSERT_EQ(load.state, SideFileState::Read);
    EXPECT_EQ(load.data.channelNames, data.channelNames);
    EXPECT_EQ(load.data.measurements, data.measurements);
    EXPECT_EQ(load.data.overlay, data.overlay);
    for (const char* kept : {"\"farbe\": \"blau\"", "\"eq\": [", "\"dicke\": 2"}) {
        EXPECT_NE(load.data.original.find(kept), std::string::npos) << kept;
    }
    // The parameter file is untouched and still a parameter file.
    EXPECT_EQ(std::filesystem::file_size(dat), ParameterFileSize);
    ParameterImage loaded;
    EXPECT_EQ(loadParameterFile(loaded, dat), 1);
    EXPECT_EQ(loaded, image);
}

// What each way a file can name a channel's measurements and the overlay's
// choices reads as: files of earlier versions (one "measurement"), files
// with a list, and files where an earlier version changed "measurement"
// and kept the list it did not know.
TEST(SideFile, ReadsMeasurementListsAndChoicesOfEveryVersion) {
    const struct {
        const char* what;
        const char* channel;
        MeasurementList files;
    } lists[] = {
        {"one file, as before", R"({"measurement": "a.txt"})", {"a.txt"}},
        {"none", R"({"measurement": ""})", {}},
        {"a list",
         R"({"measurement": "a.txt", "measurements": ["a.txt", "b.txt", 7, ""]})",
         {"a.txt", "b.txt"}},
        {"an older version changed the file",
         R"({"measurement": "c.txt", "measurements": ["a.txt", "b.txt"]})",
         {"c.txt"}},
        {"an older version took the file away",
         R"({"measurement": "", "measurements": ["a.txt"]})",
         {}},
        {"a list without its first", R"({"measurements": ["a.txt"]})", {}},
    };
    for (const auto& c : lists) {
        SCOPED_TRACE(c.what);
        ScratchDir dir;
        const std::string dat = dir.file("Boxen.dat");
        writeFileBytes(sideFilePath(dat), std::string(R"({"channels": [{}, )") + c.channel + "]}");
        const SideFileLoad load = loadSideFile(dat);
        ASSERT_EQ(load.state, SideFileState::Read);
        EXPECT_EQ(load.data.measurements[1], c.files);
        EXPECT_EQ(load.data.overlay, OverlayOptions{});  // no choices: the defaults
    }
    const struct {
        const char* overlay;
        OverlayOptions options;
    } choices[] = {
        {R"({"averaging": "db", "smoothing": "1/3", "shared_offset": true})",
         {true, true, false, Averaging::Db, 3}},
        {R"({"averaging": "vector", "smoothing": "none"})",
         {true, false, false, Averaging::Vector, 0}},
        {R"({"averaging": "median", "smoothing": "1/5", "shared_offset": 1})", {}},
    };
    for (const auto& c : choices) {
        SCOPED_TRACE(c.overlay);
        ScratchDir dir;
        const std::string dat = dir.file("Boxen.dat");
        writeFileBytes(sideFilePath(dat), std::string(R"({"overlay": )") + c.overlay + "}");
        EXPECT_EQ(loadSideFile(dat).data.overlay, c.options);
    }
    // What an older version reads of a list: its first file.
    ScratchDir dir;
    const std::string dat = dir.file("Boxen.dat");
    SideFile data;
    data.measurements[2] = {"sitz1.txt", "sitz2.txt"};
    ASSERT_TRUE(saveSideFile(dat, data));
    const std::string text = readFileBytes(sideFilePath(dat));
    EXPECT_NE(text.find(R"("measurement": "sitz1.txt")"), std::string::npos) << text;
    EXPECT_NE(text.find(R"("smoothing": "1/12")"), std::string::npos) << text;
}

TEST(SideFile, ABrokenOneIsReportedOnceIgnoredAndKeptAsideOnSave) {
    ScratchDir dir;
    const std::string dat = dir.file("Boxen.dat");
    const std::string broken = "{\n  \"channels\": [\n    {\"name\": \"Bass\",,}\n";
    writeFileBytes(sideFilePath(dat), broken);
    const SideFileLoad load = loadSideFile(dat);
    EXPECT_EQ(load.state, SideFileState::Broken);
    EXPECT_EQ(load.message,
              "Die Zusatzdatei \"Boxen.filtaro.json\" ist beschädigt (Zeile 3) und wird nicht "
              "verwendet; Kanalnamen und Messungen fehlen.");
    EXPECT_EQ(load.data.channelNames[0], "");

    SideFile data = load.data;
    data.channelNames[1] = "neu";
    ASSERT_TRUE(saveSideFile(dat, data));
    EXPECT_EQ(readFileBytes(sideFilePath(dat) + ".defekt"), broken);
    EXPECT_EQ(loadSideFile(dat).data.channelNames[1], "neu");

    writeFileBytes(sideFilePath(dat), "[1, 2]");  // JSON, but no side file
    EXPECT_EQ(loadSideFile(dat).state, SideFileState::Broken);
}

// Whatever the JSON library throws stays inside: the file is broken, and a
// save keeps it aside instead of crashing on it.
TEST(SideFile, NoTextMakesTheReaderOrTheWriterFail) {
    const auto nested = [](int depth, const std::string& inner) {
        return "{\"neu\": " + std::string(static_cast<std::size_t>(depth - 1), '[') + inner +
               std::string(static_cast<std::size_t>(depth - 1), ']') + "}";
    };
    const struct {
        const char* what;
        std::string text;
        bool read;
    } cases[] = {
        {"a number no double holds", R"({"a": 1e400})", false},
        {"65000 levels", nested(65000, "1"), false},
        {"33 levels", nested(33, "1"), false},
        {"32 levels", nested(32, "\"[[[[\""), true},  // brackets in a string do not count
        {"a name that is no UTF-8", "{\"channels\": [{\"name\": \"\xFF\"}]}", false},
        {"a byte order mark", "\xEF\xBB\xBF{\"neu\": 1}", true},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        ScratchDir dir;
        const std::string dat = dir.file("Boxen.dat");
        writeFileBytes(sideFilePath(dat), c.text);
        SideFileLoad load = loadSideFile(dat);
        EXPECT_EQ(load.state, c.read ? SideFileState::Read : SideFileState::Broken);
        load.data.channelNames[0] = "Bass";
        ASSERT_TRUE(saveSideFile(dat, load.data));
        EXPECT_EQ(loadSideFile(dat).data.channelNames[0], "Bass");
        if (c.read) {  // a newer program's key stays
            EXPECT_NE(readFileBytes(sideFilePath(dat)).find("\"neu\""), std::string::npos);
        } else {
            EXPECT_EQ(readFileBytes(sideFilePath(dat) + ".defekt"), c.text);
        }
    }
}

// A side file the program could not read is never written over: without
// anything to keep it stays as it is, else it is set aside whole first, and
// an earlier one set aside stays too.
TEST(SideFile, OneThatCouldNotBeReadIsNeverDestroyed) {
    ScratchDir dir;
    const std::string dat = dir.file("Boxen.dat");
    const std::string side = sideFilePath(dat);
    const std::string large = "{\"notizen\": \"" + std::string(1 << 20, 'n') + "\"}";
    writeFileBytes(side, large);
    const SideFileLoad load = loadSideFile(dat);
    EXPECT_EQ(load.state, SideFileState::Broken);
    EXPECT_EQ(load.message,
              "Die Zusatzdatei \"Boxen.filtaro.json\" kann nicht gelesen werden (größer als "
              "1048576 Bytes); Kanalnamen und Messungen fehlen.");
    ASSERT_TRUE(saveSideFile(dat, load.data)) << "nothing to keep: nothing to write";
    EXPECT_EQ(readFileBytes(side), large);
    EXPECT_FALSE(std::filesystem::exists(side + ".defekt"));

    writeFileBytes(side + ".defekt", "an earlier one");
    SideFile named = load.data;
    named.channelNames[2] = "Mitte";
    ASSERT_TRUE(saveSideFile(dat, named));
    EXPECT_EQ(readFileBytes(side + ".defekt"), "an earlier one");
    EXPECT_EQ(readFileBytes(side + ".2.defekt"), large);
    EXPECT_EQ(loadSideFile(dat).data.channelNames[2], "Mitte");

    // A folder in its place is neither set aside nor written over.
    std::filesystem::remove(side);
    std::filesystem::create_directory(side);
    EXPECT_FALSE(saveSideFile(dat, named));
    EXPECT_TRUE(std::filesystem::is_directory(side));
}

}  // namespace
