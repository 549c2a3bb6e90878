#include <gtest/gtest.h>

#include "forms/IntegerField.h"

namespace {

TEST(IntegerField, ParsesLikeTheDialogsDataExchange) {
    EXPECT_EQ(parseIntegerField("600", 600, 20000).value, 600);
    EXPECT_EQ(parseIntegerField("\t 20000  ", 600, 20000).value, 20000);
    EXPECT_EQ(parseIntegerField("+10", 10, 10000).value, 10);
    EXPECT_EQ(parseIntegerField("-3", -12, 6).value, -3);
    EXPECT_EQ(parseIntegerField("007", 0, 10).value, 7);
    for (const char* bad : {"", " ", "+", "-", "1 0", "0x10", "1.0", "12a", "a12",
                            "\xc2\xa0"
                            "5"}) {
        EXPECT_EQ(parseIntegerField(bad, 0, 100).error, IntegerFieldError::NotAnInteger) << bad;
    }
    for (const char* outside :
         {"599", "20001", "-600", "2147483648", "99999999999999999999999999"}) {
        EXPECT_EQ(parseIntegerField(outside, 600, 20000).error, IntegerFieldError::OutOfRange)
            << outside;
    }
}

}  // namespace
