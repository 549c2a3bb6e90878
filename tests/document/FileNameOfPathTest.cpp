#include <gtest/gtest.h>

#include <utility>

#include "document/FileNameOfPath.h"

// The name after the last separator of either kind; "None" when the path has
// no "." anywhere, even one in a directory counts.
TEST(FileNameOfPath, NameAfterTheLastSeparatorOrNone) {
    const std::pair<const char*, const char*> cases[] = {
        {"/home/anna/Presets/Wohnzimmer.dat", "Wohnzimmer.dat"},
        {"C:\\Daten\\Bass.dat", "Bass.dat"},
        {"/mnt/c/Daten\\Bass.dat", "Bass.dat"},
        {"C:\\Daten/Bass.dat", "Bass.dat"},
        {"Filtaro.dat", "Filtaro.dat"},
        {"/tmp/K\xC3\xBC"
         "che.dat",
         "K\xC3\xBC"
         "che.dat"},  // UTF-8 byte for byte
        {"/home/anna/Presets/Wohnzimmer", "None"},
        {"Wohnzimmer", "None"},
        {"", "None"},
        {"/home/anna/v1.2/Wohnzimmer", "Wohnzimmer"},
        {"/home/anna/.filtaro/", ""},
        {"./Bass", "Bass"},
    };
    for (const auto& [path, name] : cases) EXPECT_EQ(fileNameOfPath(path), name) << path;
}

// Messages name any file by what follows the last separator, dot or not.
TEST(FileNameOfPath, BaseNameIsTheLastPartWithOrWithoutADot) {
    const std::pair<const char*, const char*> cases[] = {
        {"/home/anna/Messungen/Bass", "Bass"},
        {"C:\\Messungen\\Bass.frd", "Bass.frd"},
        {"Bass", "Bass"},
        {"/home/anna/", ""},
    };
    for (const auto& [path, name] : cases) EXPECT_EQ(baseNameOfPath(path), name) << path;
}
