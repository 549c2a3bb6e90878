#include <gtest/gtest.h>

#include <cstring>
#include <filesystem>

#include "storage/ParameterFile.h"
#include "support/ScratchDir.h"

namespace fs = std::filesystem;

namespace {

// An image in which every byte differs from its neighbours, so that any
// byte a load changes shows.
ParameterImage patterned(std::uint8_t seed) {
    ParameterImage image;
    for (std::size_t i = 0; i < ParameterImageSize; ++i) {
        image.bytes()[i] = static_cast<std::uint8_t>(seed + i * 7);
    }
    return image;
}

std::string asFileBytes(const ParameterImage& image) {
    return std::string(reinterpret_cast<const char*>(image.bytes().data()), ParameterImageSize);
}

TEST(ParameterFile, RefusedLoadsLeaveEveryByteUnchanged) {
    ScratchDir dir;
    const ParameterImage before = patterned(3);
    const std::string valid = asFileBytes(patterned(100));
    const struct {
        const char* name;
        std::string bytes;
    } files[] = {
        {"empty.dat", ""},
        {"short.dat", valid.substr(0, 2783)},
        {"long.dat", valid + "x"},
    };
    for (const auto& f : files) {
        writeFileBytes(dir.file(f.name), f.bytes);
    }
    fs::create_directory(dir.file("folder.dat"));
    for (const std::string& path :
         {dir.file("empty.dat"), dir.file("short.dat"), dir.file("long.dat"),
          dir.file("missing.dat"), dir.file("folder.dat"), std::string(),
          std::string("/dev/zero")}) {
        ParameterImage image = before;
        EXPECT_EQ(loadParameterFile(image, path), 0) << path;
        EXPECT_EQ(image, before) << path;
    }
}

TEST(ParameterFile, SaveAndLoadGiveTheImageByteForByte) {
    ScratchDir dir;
    ParameterImage image = patterned(9);
    image.bytes()[ImageOffset::spareByte] = 0xA5;
    // A directory field without a terminator, and header values no panel produces.
    std::memset(image.bytes().data() + ImageOffset::workingDirectory, 'd',
                ImageOffset::workingDirectorySize);
    image.setActivePreset(7);
    const std::string path = dir.file("Filtaro.dat");
    ASSERT_EQ(saveParameterFile(image, path), 0);
    EXPECT_EQ(readFileBytes(path), asFileBytes(image));

    ParameterImage loaded = patterned(200);
    ASSERT_EQ(loadParameterFile(loaded, path), 1);
    EXPECT_EQ(loaded, image);
    EXPECT_EQ(loaded.spareByte(), 0xA5);
    EXPECT_EQ(loaded.activePreset(), 7);
    EXPECT_EQ(loaded.workingDirectory(), std::string(260, 'd'));

    image.setActivePreset(-1);
    ASSERT_EQ(saveParameterFile(image, path), 0);  // over the existing file
    ASSERT_EQ(loadParameterFile(loaded, path), 1);
    EXPECT_EQ(loaded.activePreset(), -1);
    EXPECT_EQ(std::distance(fs::directory_iterator(dir.path()), fs::directory_iterator()), 1);
}

TEST(ParameterFile, RelativePathIsTakenFromTheCurrentDirectory) {
    ScratchDir dir(true);
    ParameterImage image;
    applyDefaults(image);
    ASSERT_EQ(saveParameterFile(image, "Filtaro.dat"), 0);
    EXPECT_EQ(fs::file_size(dir.file("Filtaro.dat")), ParameterFileSize);
    ParameterImage loaded = patterned(1);
    EXPECT_EQ(loadParameterFile(loaded, "Filtaro.dat"), 1);
    EXPECT_EQ(loaded, image);
}

TEST(ParameterFile, UnwritablePlaceGivesANegativeResultAndKeepsThePreviousFile) {
    ScratchDir dir;
    const ParameterImage image = patterned(5);
    const std::string previous = asFileBytes(patterned(50));
    writeFileBytes(dir.file("old.dat"), previous);

    // The tests run as root, so a read-only directory would not stop the
    // write; a regular file in place of the parent directory does.
    EXPECT_LT(saveParameterFile(image, dir.file("old.dat") + "/new.dat"), 0);
    fs::create_directory(dir.file("folder.dat"));
    EXPECT_LT(saveParameterFile(image, dir.file("folder.dat")), 0);
    EXPECT_TRUE(fs::is_empty(dir.file("folder.dat")));
    EXPECT_LT(saveParameterFile(image, ""), 0);

    EXPECT_EQ(readFileBytes(dir.file("old.dat")), previous);
    EXPECT_EQ(std::distance(fs::directory_iterator(dir.path()), fs::directory_iterator()), 2);
}

}  // namespace
