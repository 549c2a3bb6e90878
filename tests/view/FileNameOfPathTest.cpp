#include <gtest/gtest.h>

#include "view/FileNameOfPath.h"

TEST(FileNameOfPath, NameAfterTheLastSeparatorOfEitherKind) {
    EXPECT_EQ(fileNameOfPath("/home/anna/Presets/Wohnzimmer.dat"), "Wohnzimmer.dat");
    EXPECT_EQ(fileNameOfPath("C:\\Daten\\Bass.dat"), "Bass.dat");
    EXPECT_EQ(fileNameOfPath("/mnt/c/Daten\\Bass.dat"), "Bass.dat");
    EXPECT_EQ(fileNameOfPath("C:\\Daten/Bass.dat"), "Bass.dat");
    EXPECT_EQ(fileNameOfPath("Filtaro.dat"), "Filtaro.dat");
    // UTF-8 names pass through byte for byte.
    EXPECT_EQ(fileNameOfPath("/tmp/K\xC3\xBC"
                             "che.dat"),
              "K\xC3\xBC"
              "che.dat");
}

TEST(FileNameOfPath, NoneWithoutAnyDot) {
    EXPECT_EQ(fileNameOfPath("/home/anna/Presets/Wohnzimmer"), "None");
    EXPECT_EQ(fileNameOfPath("Wohnzimmer"), "None");
    EXPECT_EQ(fileNameOfPath(""), "None");
}

TEST(FileNameOfPath, ADotAnywhereCountsEvenInADirectory) {
    // The rule looks at the whole path, not at the name part.
    EXPECT_EQ(fileNameOfPath("/home/anna/v1.2/Wohnzimmer"), "Wohnzimmer");
    EXPECT_EQ(fileNameOfPath("/home/anna/.filtaro/"), "");
    EXPECT_EQ(fileNameOfPath("./Bass"), "Bass");
}
