#include <gtest/gtest.h>

#include <filesystem>

#include "platform/CurrentDirectory.h"
#include "support/ScratchDir.h"

namespace fs = std::filesystem;

// Windows keeps the current directory open: it cannot be removed while it
// is current, so there is always one to report.
TEST(CurrentDirectory, FollowsChangesAndCannotBeRemovedWhileCurrent) {
    ScratchDir dir(true);
    EXPECT_EQ(currentDirectory(), fs::current_path().string());
    fs::create_directory("sub");
    ASSERT_TRUE(setCurrentDirectory("sub"));
    EXPECT_EQ(currentDirectory(), (dir.path() / "sub").string());
    EXPECT_FALSE(setCurrentDirectory(dir.file("missing")));
    EXPECT_FALSE(setCurrentDirectory(""));

    std::error_code ec;
    EXPECT_FALSE(fs::remove(dir.path() / "sub", ec));
    EXPECT_EQ(currentDirectory(), (dir.path() / "sub").string());
    ASSERT_TRUE(setCurrentDirectory(dir.path().string()));
}
