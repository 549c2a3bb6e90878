#include <gtest/gtest.h>

#include "platform/PrivateProfile.h"
#include "support/ScratchDir.h"

namespace {

// The delivered value; the count returned must be its length.
std::string get(const std::string& path, std::string_view section, std::string_view key,
                std::size_t capacity = 30, std::string_view defaultText = "") {
    std::string value = "untouched";
    const std::size_t n = getPrivateProfileString(section, key, defaultText, value, capacity, path);
    EXPECT_EQ(n, value.size());
    return value;
}

TEST(PrivateProfile, MissingValuesGiveTheDefaultAndValuesAreCutToCapacity) {
    ScratchDir dir;
    const std::string ini = dir.file("FILTARO.INI");
    EXPECT_EQ(get(ini, "COMMUNICATION", "Port"), "");
    EXPECT_EQ(get(ini, "COMMUNICATION", "Port", 30, "COM1"), "COM1");
    EXPECT_EQ(get(ini, "COMMUNICATION", "Port", 4, "COM12"), "COM");
    // A directory where the file should be reads like a missing file.
    EXPECT_EQ(get(dir.path().string(), "COMMUNICATION", "Port"), "");

    const std::string longValue = "ABCDEFGHIJKLMNOPQRSTUVWXYZ012345678";  // 35 characters
    writeFileBytes(ini, "[OTHER]\nPort=COM7\n[COMMUNICATION]\nBaud=1\nPort=" + longValue + "\n");
    EXPECT_EQ(get(ini, "COMMUNICATION", "Port"), longValue.substr(0, 29));
    EXPECT_EQ(get(ini, "COMMUNICATION", "Port", 1), "");
    EXPECT_EQ(get(ini, "COMMUNICATION", "Port", 0), "");
    EXPECT_EQ(get(ini, "COMMUNICATION", "Missing"), "");
    EXPECT_EQ(get(ini, "MISSING", "Port"), "");
}

TEST(PrivateProfile, NamesMatchWithoutCaseBlanksAreTrimmedCrlfIsRead) {
    ScratchDir dir;
    const std::string ini = dir.file("a.ini");
    writeFileBytes(ini,
                   "\xEF\xBB\xBFPort=BEFORE-ANY-SECTION\r\n"
                   "  [ communication ]  \r\n"
                   "; Port=COMMENT\r\n"
                   "\tpORT \t=  COM12 \t\r\n"
                   "Empty=\r\n"
                   "Quoted=\"  spaced  \"\r\n"
                   "HalfQuoted=\"open\r\n"
                   "Port=SECOND-KEY\r\n"
                   "[Communication]\r\n"
                   "Baudrate=19200\r\n");
    EXPECT_EQ(get(ini, "COMMUNICATION", "Port"), "COM12");
    EXPECT_EQ(get(ini, " Communication ", " port "), "COM12");
    EXPECT_EQ(get(ini, "COMMUNICATION", "Empty"), "");
    EXPECT_EQ(get(ini, "COMMUNICATION", "Quoted"), "  spaced  ");
    EXPECT_EQ(get(ini, "COMMUNICATION", "HalfQuoted"), "\"open");
    // Only the first section of a name counts, as on Windows.
    EXPECT_EQ(get(ini, "COMMUNICATION", "Baudrate"), "");
}

TEST(PrivateProfile, WriteCreatesFileSectionAndKey) {
    ScratchDir dir;
    const std::string ini = dir.file("new.ini");
    ASSERT_TRUE(writePrivateProfileString("COMMUNICATION", "Port", "COM3", ini));
    EXPECT_EQ(readFileBytes(ini), "[COMMUNICATION]\nPort=COM3\n");
    ASSERT_TRUE(writePrivateProfileString("COMMUNICATION", "Baudrate", "9600", ini));
    ASSERT_TRUE(writePrivateProfileString("OTHER", "X", "", ini));
    EXPECT_EQ(readFileBytes(ini), "[COMMUNICATION]\nPort=COM3\nBaudrate=9600\n[OTHER]\nX=\n");
    EXPECT_EQ(get(ini, "communication", "baudrate"), "9600");
}

TEST(PrivateProfile, WriteKeepsEveryOtherLineAsItWas) {
    ScratchDir dir;
    const std::string ini = dir.file("a.ini");
    const std::string before =
        "; settings\r\n"
        "\r\n"
        "[Communication]\r\n"
        "port = COM1  \r\n"
        "Baudrate=9600\r\n"
        "\r\n"
        "; the next one\r\n"
        "[Other]\n"
        "Port=COM9";  // a last line without a line ending
    writeFileBytes(ini, before);
    ASSERT_TRUE(writePrivateProfileString("COMMUNICATION", "Port", "COM12", ini));
    std::string expected = before;
    expected.replace(expected.find("COM1  "), 6, "COM12");
    EXPECT_EQ(readFileBytes(ini), expected);

    // A new key goes after the section's last line, before the blank line
    // and comment that lead to the next section.
    ASSERT_TRUE(writePrivateProfileString("Communication", "Parity", "N", ini));
    expected.insert(expected.find("\r\n\r\n; the next") + 2, "Parity=N\r\n");
    EXPECT_EQ(readFileBytes(ini), expected);

    // A key of the last section, after a last line without a line ending.
    ASSERT_TRUE(writePrivateProfileString("Other", "Baudrate", "1200", ini));
    expected += "\r\nBaudrate=1200\r\n";
    EXPECT_EQ(readFileBytes(ini), expected);

    // A new section after a file that does not end in a line break.
    writeFileBytes(ini, "[A]\nx=1");
    ASSERT_TRUE(writePrivateProfileString("B", "y", "2", ini));
    EXPECT_EQ(readFileBytes(ini), "[A]\nx=1\n[B]\ny=2\n");
}

TEST(PrivateProfile, RefusedWritesLeaveTheFileAsItWas) {
    ScratchDir dir;
    const std::string ini = dir.file("a.ini");
    const std::string before = "[S]\nK=V\n";
    writeFileBytes(ini, before);
    EXPECT_FALSE(writePrivateProfileString("S", "K", "two\nlines", ini));
    EXPECT_FALSE(writePrivateProfileString("S", "K", "cr\r", ini));
    EXPECT_FALSE(writePrivateProfileString("S]", "K", "v", ini));
    EXPECT_FALSE(writePrivateProfileString("S", "K=", "v", ini));
    EXPECT_FALSE(writePrivateProfileString("S", "[K", "v", ini));
    EXPECT_FALSE(writePrivateProfileString(" ", "K", "v", ini));
    EXPECT_FALSE(writePrivateProfileString("S", "", "v", ini));
    EXPECT_EQ(readFileBytes(ini), before);

    // Unwritable places: below a regular file, and a directory in the file's place.
    EXPECT_FALSE(writePrivateProfileString("S", "K", "v", dir.file("a.ini") + "/b.ini"));
    EXPECT_FALSE(writePrivateProfileString("S", "K", "v", dir.path().string()));
    EXPECT_TRUE(std::filesystem::is_directory(dir.path()));
    EXPECT_EQ(readFileBytes(ini), before);
}

}  // namespace
