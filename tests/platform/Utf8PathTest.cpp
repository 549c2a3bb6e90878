#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "platform/CurrentDirectory.h"
#include "platform/PrivateProfile.h"
#include "platform/ReplaceFile.h"
#include "platform/Utf8Path.h"
#include "support/ScratchDir.h"

namespace fs = std::filesystem;

namespace {

// Names outside ASCII reach the file system as written, through every call
// that takes a file name, and come back from it unchanged.
TEST(Utf8Path, NamesOutsideAsciiAreSavedReadAndListedAsWritten) {
    ScratchDir dir(true);
    for (const std::string name : {"Ω-Test.dat", "Grüße ÄÖÜ.ini", "日本語.bin", "plain.dat"}) {
        SCOPED_TRACE(name);
        const std::string path = utf8FromPath(dir.path()) + "/" + name;
        ASSERT_TRUE(replaceFileContents(path, "abc", 3));
        {
            std::ifstream in(pathFromUtf8(path), std::ios::binary);
            std::string content;
            std::getline(in, content);
            EXPECT_EQ(content, "abc");
        }  // (Windows replaces no file that is open)
        ASSERT_TRUE(writePrivateProfileString("Ä", "Schlüssel", name, path));
        EXPECT_EQ(PrivateProfile::read(path).value("Ä", "Schlüssel"), name);

        std::vector<std::string> listed;
        for (const auto& entry : fs::directory_iterator(dir.path())) {
            listed.push_back(utf8FromPath(entry.path().filename()));
        }
        EXPECT_NE(std::find(listed.begin(), listed.end(), name), listed.end());
        ASSERT_TRUE(fs::remove(pathFromUtf8(path)));
    }

    fs::create_directory(pathFromUtf8("Ordner-ß"));
    ASSERT_TRUE(setCurrentDirectory("Ordner-ß"));
    EXPECT_EQ(utf8FromPath(pathFromUtf8(currentDirectory()).filename()), "Ordner-ß");
}

}  // namespace
