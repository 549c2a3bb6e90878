#include <gtest/gtest.h>

#include <filesystem>

#include "platform/CurrentDirectory.h"
#include "support/ScratchDir.h"

namespace fs = std::filesystem;

TEST(CurrentDirectory, FollowsChangesAndReportsARemovedDirectoryAsNone) {
    ScratchDir dir(true);
    EXPECT_EQ(currentDirectory(), fs::current_path().string());

    // Longer than the 255 characters a fixed buffer would hold.
    fs::path deep = dir.path();
    for (int i = 0; i < 6; ++i) {
        deep /= std::string(60, static_cast<char>('a' + i));
    }
    fs::create_directories(deep);
    ASSERT_TRUE(setCurrentDirectory(deep.string()));
    EXPECT_EQ(currentDirectory(), fs::canonical(deep).string());

    EXPECT_FALSE(setCurrentDirectory(dir.file("missing")));
    EXPECT_FALSE(setCurrentDirectory(""));
    EXPECT_EQ(currentDirectory(), fs::canonical(deep).string());

    fs::create_directory(dir.file("gone"));
    ASSERT_TRUE(setCurrentDirectory(dir.file("gone")));
    fs::remove(dir.file("gone"));
    EXPECT_EQ(currentDirectory(), "");
}
