#include <gtest/gtest.h>

#include "platform/PrivateProfile.h"
#include "support/NativeLines.h"
#include "support/ScratchDir.h"

namespace {

// The value as a reading of the file delivers it; "(none)" when missing.
std::string get(const std::string& path, std::string_view section, std::string_view key) {
    return PrivateProfile::read(path).value(section, key).value_or("(none)");
}

TEST(PrivateProfile, MissingFilesSectionsAndKeysGiveNothing) {
    ScratchDir dir;
    const std::string ini = dir.file("FILTARO.INI");
    EXPECT_EQ(get(ini, "COMMUNICATION", "Port"), "(none)");
    // A directory where the file should be reads like a missing file.
    EXPECT_EQ(get(dir.path().string(), "COMMUNICATION", "Port"), "(none)");

    const std::string longValue = "ABCDEFGHIJKLMNOPQRSTUVWXYZ012345678";  // 35 characters
    writeFileBytes(ini, "[OTHER]\nPort=COM7\n[COMMUNICATION]\nBaud=1\nPort=" + longValue + "\n");
    EXPECT_EQ(get(ini, "COMMUNICATION", "Port"), longValue);
    EXPECT_EQ(get(ini, "COMMUNICATION", "Missing"), "(none)");
    EXPECT_EQ(get(ini, "MISSING", "Port"), "(none)");
    EXPECT_EQ(PrivateProfile().value("COMMUNICATION", "Port"), std::nullopt);
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
    EXPECT_EQ(get(ini, "COMMUNICATION", "Baudrate"), "(none)");
}

TEST(PrivateProfile, WriteCreatesFileSectionAndKey) {
    ScratchDir dir;
    const std::string ini = dir.file("new.ini");
    ASSERT_TRUE(writePrivateProfileString("COMMUNICATION", "Port", "COM3", ini));
    EXPECT_EQ(readFileBytes(ini), nativeLines("[COMMUNICATION]\nPort=COM3\n"));
    ASSERT_TRUE(writePrivateProfileString("COMMUNICATION", "Baudrate", "9600", ini));
    ASSERT_TRUE(writePrivateProfileString("OTHER", "X", "", ini));
    EXPECT_EQ(readFileBytes(ini),
              nativeLines("[COMMUNICATION]\nPort=COM3\nBaudrate=9600\n[OTHER]\nX=\n"));
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
    EXPECT_FALSE(writePrivateProfileString("S", " ;K", "v", ini));  // would read as a comment
    EXPECT_FALSE(writePrivateProfileString(" ", "K", "v", ini));
    EXPECT_FALSE(writePrivateProfileString("S", "", "v", ini));
    EXPECT_EQ(readFileBytes(ini), before);

    // Unwritable places: below a regular file, and a directory in the file's place.
    EXPECT_FALSE(writePrivateProfileString("S", "K", "v", dir.file("a.ini") + "/b.ini"));
    EXPECT_FALSE(writePrivateProfileString("S", "K", "v", dir.path().string()));
    EXPECT_TRUE(std::filesystem::is_directory(dir.path()));
    EXPECT_EQ(readFileBytes(ini), before);
}

// Whatever is written reads back as it was given; values the reader would
// trim or unquote are stored in quotes.
TEST(PrivateProfile, WrittenValuesReadBackAsGiven) {
    ScratchDir dir;
    const std::string ini = dir.file("a.ini");
    const struct {
        const char* value;
        const char* line;  // as stored
    } cases[] = {
        {"COM3", "K=COM3"},
        {"  spaced  ", "K=\"  spaced  \""},
        {"\tlead", "K=\"\tlead\""},
        {"trail ", "K=\"trail \""},
        {"\"quoted\"", "K=\"\"quoted\"\""},
        {"'single'", "K=\"'single'\""},
        {"\"", "K=\""},
        {"\"\"", "K=\"\"\"\""},
        {"half\"", "K=half\""},
        {"a = b", "K=a = b"},
        {";no comment", "K=;no comment"},
        {"", "K="},
        {" ", "K=\" \""},
    };
    for (const auto& c : cases) {
        writeFileBytes(ini, "; x\n[S]\nK=old\n");
        ASSERT_TRUE(writePrivateProfileString("S", "K", c.value, ini)) << c.value;
        EXPECT_EQ(readFileBytes(ini), std::string("; x\n[S]\n") + c.line + "\n") << c.value;
        EXPECT_EQ(get(ini, "S", "K"), c.value);
        ASSERT_TRUE(writePrivateProfileString("New", "K2", c.value, ini)) << c.value;
        EXPECT_EQ(get(ini, "New", "K2"), c.value);
    }
}

// A last line ending in a lone CR (a CRLF that lost its LF) ends there: its
// value has no CR, and a line added after it completes the line break.
TEST(PrivateProfile, ALoneCarriageReturnEndsTheLastLine) {
    ScratchDir dir;
    const std::string ini = dir.file("a.ini");
    writeFileBytes(ini, "[S]\r\nA=1\r");
    EXPECT_EQ(get(ini, "S", "A"), "1");
    ASSERT_TRUE(writePrivateProfileString("S", "B", "2", ini));
    EXPECT_EQ(readFileBytes(ini), "[S]\r\nA=1\r\nB=2\r\n");
    EXPECT_EQ(get(ini, "S", "A"), "1");

    writeFileBytes(ini, "[S]\r\nA=1\r");
    ASSERT_TRUE(writePrivateProfileString("T", "C", "3", ini));
    EXPECT_EQ(readFileBytes(ini), "[S]\r\nA=1\r\n[T]\r\nC=3\r\n");
    ASSERT_TRUE(writePrivateProfileString("S", "A", "4", ini));
    EXPECT_EQ(get(ini, "S", "A"), "4");
    EXPECT_EQ(get(ini, "T", "C"), "3");
}

// Only the first PrivateProfileSizeLimit bytes of a file are read, in whole
// lines; a write refuses a file that is or would become larger.
TEST(PrivateProfile, LargeFilesAreReadOnlyUpToTheLimitAndNotWritten) {
    ScratchDir dir;
    const std::string ini = dir.file("a.ini");
    const std::string head = "[S]\nA=1\n";
    std::string filler = "; " + std::string(PrivateProfileSizeLimit - head.size() - 4, '-') + "\n";
    const std::string big = head + filler + "B=2\n";  // B's line crosses the limit
    writeFileBytes(ini, big);
    EXPECT_EQ(get(ini, "S", "A"), "1");
    EXPECT_EQ(get(ini, "S", "B"), "(none)");
    EXPECT_FALSE(writePrivateProfileString("S", "A", "3", ini));
    EXPECT_EQ(readFileBytes(ini), big);

    writeFileBytes(ini, head + filler);  // just below the limit: a new line would cross it
    EXPECT_FALSE(writePrivateProfileString("S", "C", "4", ini));
    EXPECT_TRUE(writePrivateProfileString("S", "A", "3", ini));
    EXPECT_EQ(get(ini, "S", "A"), "3");
}

}  // namespace
