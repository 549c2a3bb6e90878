#include <gtest/gtest.h>

#include "platform/UserDataFolder.h"
#include "support/ScopedEnv.h"

TEST(UserDataFolder, IsTheXdgDataFolderElseUnderHome) {
    ScopedEnv home("HOME", "/home/tester");
    ScopedEnv xdg("XDG_DATA_HOME", "/data/tester");
    EXPECT_EQ(userDataFolder(), "/data/tester");
    for (const char* ignored : {"", "relative/data"}) {
        ScopedEnv unusable("XDG_DATA_HOME", ignored);
        EXPECT_EQ(userDataFolder(), "/home/tester/.local/share") << ignored;
    }
    ScopedEnv noXdg("XDG_DATA_HOME", nullptr);
    ScopedEnv noHome("HOME", nullptr);
    EXPECT_EQ(userDataFolder(), "");
}
