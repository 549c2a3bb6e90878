#include <gtest/gtest.h>

#include "platform/UserDataFolder.h"
#include "support/ScopedEnv.h"

// A user name outside the ANSI code page arrives as it is.
TEST(UserDataFolder, IsAppDataAsWritten) {
    const char* const folder = "C:\\Users\\Jürgen Ω\\AppData\\Roaming";
    ScopedEnv appData("APPDATA", folder);
    EXPECT_EQ(userDataFolder(), folder);
    ScopedEnv noAppData("APPDATA", nullptr);
    EXPECT_EQ(userDataFolder(), "");
}
