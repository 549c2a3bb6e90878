#include <gtest/gtest.h>
#include <sys/stat.h>

#include <filesystem>

#include "platform/ReplaceFile.h"
#include "support/ScratchDir.h"

namespace fs = std::filesystem;

namespace {

bool replace(const std::string& path, const std::string& bytes) {
    return replaceFileContents(path, bytes.data(), bytes.size());
}

std::size_t entriesIn(const fs::path& dir) {
    return static_cast<std::size_t>(
        std::distance(fs::directory_iterator(dir), fs::directory_iterator()));
}

TEST(ReplaceFile, ReplacesContentKeepingPermissionsAndLinks) {
    ScratchDir dir;
    const std::string file = dir.file("data.dat");
    ASSERT_TRUE(replace(file, "first"));
    EXPECT_EQ(readFileBytes(file), "first");

    fs::permissions(file, fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read);
    ASSERT_TRUE(replace(file, "second"));
    EXPECT_EQ(readFileBytes(file), "second");
    EXPECT_EQ(fs::status(file).permissions() & fs::perms::all,
              fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read);

    const std::string link = dir.file("link.dat");
    fs::create_symlink(file, link);
    ASSERT_TRUE(replace(link, "through the link"));
    EXPECT_TRUE(fs::is_symlink(link));
    EXPECT_EQ(readFileBytes(file), "through the link");
    EXPECT_EQ(entriesIn(dir.path()), 2u);  // no temporary file left behind
}

TEST(ReplaceFile, RefusesWhatIsNoRegularFile) {
    ScratchDir dir;
    const std::string fifo = dir.file("pipe");
    ASSERT_EQ(mkfifo(fifo.c_str(), 0600), 0);
    EXPECT_FALSE(replace(fifo, "x"));
    EXPECT_TRUE(fs::is_fifo(fifo));

    fs::create_directory(dir.file("sub"));
    EXPECT_FALSE(replace(dir.file("sub"), "x"));
    EXPECT_TRUE(fs::is_directory(dir.file("sub")));

    writeFileBytes(dir.file("plain"), "kept");
    EXPECT_FALSE(replace(dir.file("plain") + "/below", "x"));  // parent is a file
    EXPECT_FALSE(replace(dir.file("missing-dir") + "/x", "x"));
    EXPECT_FALSE(replace("", "x"));
    EXPECT_EQ(readFileBytes(dir.file("plain")), "kept");
    EXPECT_EQ(entriesIn(dir.path()), 3u);
}

}  // namespace
