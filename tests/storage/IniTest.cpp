#include <gtest/gtest.h>

#include <filesystem>

#include "platform/CurrentDirectory.h"
#include "storage/Ini.h"
#include "support/NativeLines.h"
#include "support/ScratchDir.h"

namespace fs = std::filesystem;

namespace {

TEST(Ini, PathIsTheCurrentDirectoryAtEachCall) {
    ScratchDir dir(true);
    const std::string separator(1, static_cast<char>(fs::path::preferred_separator));
    EXPECT_EQ(iniFilePath(), fs::current_path().string() + separator + "FILTARO.INI");
    fs::create_directory("sub");
    ASSERT_TRUE(setCurrentDirectory("sub"));
    EXPECT_EQ(iniFilePath(), fs::current_path().string() + separator + "FILTARO.INI");
    // A root ("/", "C:\") gets the separator all the same.
    ASSERT_TRUE(setCurrentDirectory(fs::current_path().root_path().string()));
    EXPECT_EQ(iniFilePath(), fs::current_path().root_path().string() + separator + "FILTARO.INI");
}

TEST(Ini, NoFileLeavesDestinationsForTheDefaults) {
    ScratchDir dir(true);
    int baud = 1234;
    EXPECT_EQ(readIniInt(IniSectionCommunication, IniKeyBaudrate, baud), 0);
    EXPECT_EQ(baud, 1234);
    std::string port = "kept";
    EXPECT_EQ(readIniString(IniSectionCommunication, IniKeyPort, port), 0);
    EXPECT_EQ(port, "kept");
    EXPECT_FALSE(fs::exists("FILTARO.INI"));  // reading creates nothing
}

TEST(Ini, NamesMatchWithoutCaseAndALongValueArrivesAsItsFirst29Characters) {
    ScratchDir dir(true);
    const std::string value = "COM_ABCDEFGHIJKLMNOPQRSTUVWXYZ0";  // 31 characters
    writeFileBytes("FILTARO.INI", "[communication]\r\n port = " + value + "9999 \r\n");  // 35
    EXPECT_EQ(loadIniSettings().portName, value.substr(0, 29));
    std::string port;
    EXPECT_EQ(readIniString("COMMUNICATION", "PORT", port), 29);
    EXPECT_EQ(port, value.substr(0, 29));
}

// Integers are read as "%d" would, but a value that is no number counts as
// missing, so that the caller applies its default instead of an unset value.
TEST(Ini, IntegerValuesThatAreNoNumberCountAsMissing) {
    ScratchDir dir(true);
    const struct {
        const char* text;
        int count;
        int value;
    } cases[] = {
        {"9600", 4, 9600},
        {"-5", 2, -5},
        {"+38400", 6, 38400},
        {"19200baud", 9, 19200},
        {"2147483647", 10, 2147483647},
        {"-2147483648", 11, -2147483647 - 1},
        {"fast", 0, 77},
        {"", 0, 77},
        {"-", 0, 77},
        {"2147483648", 0, 77},
        {"99999999999999999999", 0, 77},
    };
    for (const auto& c : cases) {
        writeFileBytes("FILTARO.INI", std::string("[COMMUNICATION]\nBaudrate=") + c.text + "\n");
        int baud = 77;
        EXPECT_EQ(readIniInt(IniSectionCommunication, IniKeyBaudrate, baud), c.count) << c.text;
        EXPECT_EQ(baud, c.value) << c.text;
    }
}

// Both settings from one reading, with the defaults for what is missing,
// empty, no number or no usable rate.
TEST(Ini, SettingsWithTheirDefaults) {
    ScratchDir dir(true);
    const struct {
        const char* file;  // nullptr: no file
        const char* port;
        int baud;
    } cases[] = {
        {nullptr, "COM1", 9600},
        {"[COMMUNICATION]\nPort=COM12\nBaudrate=19200\n", "COM12", 19200},
        {"[COMMUNICATION]\nPort=\nBaudrate=fast\n", "COM1", 9600},
        {"[COMMUNICATION]\nBaudrate=0\n", "COM1", 9600},
        {"[COMMUNICATION]\nBaudrate=-300\n", "COM1", 9600},
        {"[COMMUNICATION]\nPort=\nBaudrate=\n", "COM1", 9600},
        {"[COMMUNICATION]\nPort=COM_ABCDEFGHIJKLMNOPQRSTUVWXYZ0123\n",
         "COM_ABCDEFGHIJKLMNOPQRSTUVWXY", 9600},
    };
    for (const auto& c : cases) {
        if (c.file) {
            writeFileBytes(IniFileName, c.file);
        } else {
            fs::remove(IniFileName);
        }
        const IniSettings settings = loadIniSettings();
        EXPECT_EQ(settings.portName, c.port) << (c.file ? c.file : "no file");
        EXPECT_EQ(settings.baudRate, c.baud) << (c.file ? c.file : "no file");
    }
}

TEST(Ini, WriteKeepsOtherLinesAndFollowsTheCurrentDirectory) {
    ScratchDir dir(true);
    const std::string before = "; Filtaro\r\n[COMMUNICATION]\r\nPort=COM1\r\nBaudrate=57600\r\n";
    writeFileBytes("FILTARO.INI", before);
    EXPECT_NE(writeIniString(IniSectionCommunication, IniKeyPort, "COM4"), 0);
    EXPECT_EQ(readFileBytes("FILTARO.INI"),
              "; Filtaro\r\n[COMMUNICATION]\r\nPort=COM4\r\nBaudrate=57600\r\n");

    // As after a file dialog moved the current directory.
    fs::create_directory("elsewhere");
    ASSERT_TRUE(setCurrentDirectory("elsewhere"));
    EXPECT_NE(writeIniString(IniSectionCommunication, IniKeyPort, "COM5"), 0);
    EXPECT_EQ(readFileBytes("FILTARO.INI"), nativeLines("[COMMUNICATION]\nPort=COM5\n"));
    EXPECT_EQ(readFileBytes(dir.file("FILTARO.INI")),
              "; Filtaro\r\n[COMMUNICATION]\r\nPort=COM4\r\nBaudrate=57600\r\n");
    EXPECT_EQ(loadIniSettings().portName, "COM5");
}

}  // namespace
