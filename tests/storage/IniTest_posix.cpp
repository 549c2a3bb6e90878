#include <gtest/gtest.h>

#include <filesystem>

#include "platform/CurrentDirectory.h"
#include "storage/Ini.h"
#include "support/ScratchDir.h"

namespace fs = std::filesystem;

namespace {

// A POSIX system lets the current directory be removed; Windows does not.
TEST(Ini, NoCurrentDirectoryReadsNothingAndWritesNothing) {
    ScratchDir dir(true);
    fs::create_directory("gone");
    ASSERT_TRUE(setCurrentDirectory("gone"));
    fs::remove(dir.file("gone"));
    EXPECT_EQ(iniFilePath(), "");
    std::string port = "COM1";
    EXPECT_EQ(readIniString(IniSectionCommunication, IniKeyPort, port), 0);
    EXPECT_EQ(writeIniString(IniSectionCommunication, IniKeyPort, "COM2"), 0);
    EXPECT_FALSE(fs::exists("/FILTARO.INI"));
}

}  // namespace
