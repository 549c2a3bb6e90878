#include <gtest/gtest.h>

#include <algorithm>

#include "ui/ComPortList.h"

namespace {

TEST(ComPortList, TwoHundredFiftyThreeNamesWithoutSeventySevenOneTwentyTwoOneSeventySeven) {
    const std::vector<std::string>& items = comPortListItems();
    ASSERT_EQ(items.size(), 253u);
    EXPECT_EQ(items.front(), "COM1");
    EXPECT_EQ(items[75], "COM76");
    EXPECT_EQ(items[76], "COM78");
    EXPECT_EQ(items[119], "COM121");
    EXPECT_EQ(items[120], "COM123");
    EXPECT_EQ(items[173], "COM176");
    EXPECT_EQ(items[174], "COM178");
    EXPECT_EQ(items.back(), "COM256");
    for (const char* missing : {"COM77", "COM122", "COM177", "COM0", "COM257"}) {
        EXPECT_EQ(std::find(items.begin(), items.end(), missing), items.end()) << missing;
    }
}

TEST(ComPortList, StoredNamePicksTheFirstItemItBegins) {
    const std::vector<std::string>& items = comPortListItems();
    auto pick = [&](std::string_view stored) {
        const int i = findComPortItem(items, stored);
        return i < 0 ? std::string("-") : items[i];
    };
    EXPECT_EQ(pick("COM2"), "COM2");  // not COM20: the items ascend
    EXPECT_EQ(pick("COM1"), "COM1");
    EXPECT_EQ(pick("COM25"), "COM25");
    EXPECT_EQ(pick("COM256"), "COM256");
    EXPECT_EQ(pick("com12"), "COM12");
    EXPECT_EQ(pick("Com3"), "COM3");
    EXPECT_EQ(pick("COM"), "COM1");  // a bare prefix still names the first port
    EXPECT_EQ(pick("COM77"), "-");
    EXPECT_EQ(pick("COM122"), "-");
    EXPECT_EQ(pick("COM177"), "-");
    EXPECT_EQ(pick("COM257"), "-");
    EXPECT_EQ(pick("/dev/ttyS0"), "-");
    EXPECT_EQ(pick("COM2 "), "-");  // no trimming: the name is taken as stored
    EXPECT_EQ(pick(""), "-");
    EXPECT_EQ(pick("COM1234567890"), "-");  // longer than every item
}

}  // namespace
