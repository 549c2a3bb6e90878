#include <gtest/gtest.h>

#include "platform/PrivateProfile.h"
#include "support/ScratchDir.h"

namespace {

std::string get(const std::string& path, std::string_view section, std::string_view key,
                std::size_t* count = nullptr, std::size_t capacity = 30,
                std::string_view defaultText = "") {
    std::string value = "untouched";
    const std::size_t n = getPrivateProfileString(section, key, defaultText, value, capacity, path);
    if (count) {
        *count = n;
    }
    EXPECT_EQ(n, value.size());
    return value;
}

TEST(PrivateProfile, MissingFileSectionOrKeyDeliversTheDefault) {
    ScratchDir dir;
    const std::string ini = dir.file("FILTARO.INI");
    std::size_t n = 99;
    EXPECT_EQ(get(ini, "COMMUNICATION", "Port", &n), "");
    EXPECT_EQ(n, 0u);
    EXPECT_EQ(get(ini, "COMMUNICATION", "Port", &n, 30, "COM1"), "COM1");
    EXPECT_EQ(n, 4u);

    writeFileBytes(ini, "[OTHER]\nPort=COM7\n[COMMUNICATION]\nBaudrate=9600\n");
    EXPECT_EQ(get(ini, "COMMUNICATION", "Port", &n), "");
    EXPECT_EQ(get(ini, "MISSING", "Baudrate", &n), "");
    EXPECT_EQ(n, 0u);
    // A directory where the file should be reads like a missing file.
    EXPECT_EQ(get(dir.path().string(), "COMMUNICATION", "Baudrate", &n), "");
    EXPECT_EQ(n, 0u);
}

TEST(PrivateProfile, NamesMatchWithoutCaseAndBlanksAreTrimmed) {
    ScratchDir dir;
    const std::string ini = dir.file("a.ini");
    writeFileBytes(ini,
                   "Port=BEFORE-ANY-SECTION\n"
                   "  [ communication ]  \n"
                   "; Port=COMMENT\n"
                   "\tpORT \t=  COM12 \t\n"
                   "Empty=\n"
                   "Quoted=\"  spaced  \"\n"
                   "HalfQuoted=\"open\n"
                   "Port=SECOND-KEY\n"
                   "[Communication]\n"
                   "Baudrate=19200\n");
    std::size_t n = 0;
    EXPECT_EQ(get(ini, "COMMUNICATION", "Port", &n), "COM12");
    EXPECT_EQ(n, 5u);
    EXPECT_EQ(get(ini, " Communication ", " port "), "COM12");
    EXPECT_EQ(get(ini, "COMMUNICATION", "Empty", &n), "");
    EXPECT_EQ(n, 0u);
    EXPECT_EQ(get(ini, "COMMUNICATION", "Quoted"), "  spaced  ");
    EXPECT_EQ(get(ini, "COMMUNICATION", "HalfQuoted"), "\"open");
    // Only the first section of a name counts, as on Windows.
    EXPECT_EQ(get(ini, "COMMUNICATION", "Baudrate", &n), "");
}

TEST(PrivateProfile, ValueIsCutToTheBufferCapacity) {
    ScratchDir dir;
    const std::string ini = dir.file("a.ini");
    const std::string longValue = "ABCDEFGHIJKLMNOPQRSTUVWXYZ012345678";  // 35 characters
    writeFileBytes(ini, "[S]\nK=" + longValue + "\n");
    std::size_t n = 0;
    EXPECT_EQ(get(ini, "S", "K", &n), longValue.substr(0, 29));
    EXPECT_EQ(n, 29u);
    EXPECT_EQ(get(ini, "S", "K", &n, 1), "");
    EXPECT_EQ(get(ini, "S", "K", &n, 0), "");
    EXPECT_EQ(n, 0u);
    EXPECT_EQ(get(ini, "S", "missing", &n, 4, "COM12"), "COM");
}

TEST(PrivateProfile, ReadsCrlfFilesAndSkipsAByteOrderMark) {
    ScratchDir dir;
    const std::string ini = dir.file("a.ini");
    writeFileBytes(ini, "\xEF\xBB\xBF[COMMUNICATION]\r\nPort=COM3\r\nBaudrate=115200\r\n");
    EXPECT_EQ(get(ini, "COMMUNICATION", "Port"), "COM3");
    EXPECT_EQ(get(ini, "COMMUNICATION", "Baudrate"), "115200");
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
