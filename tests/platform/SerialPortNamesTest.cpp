#include <gtest/gtest.h>

#include "platform/SerialPortNames.h"

TEST(SerialPortNames, ComNumbersAnyCaseNoLeadingZero) {
    EXPECT_EQ(comPortNumber("COM1"), 1);
    EXPECT_EQ(comPortNumber("com255"), 255);
    EXPECT_EQ(comPortNumber("CoM12"), 12);
    EXPECT_EQ(comPortNumber("COM999999999"), 999999999);
    for (const char* bad : {"COM", "COM0", "COM03", "COM1a", "COM-1", "COMX", "LPT1", "XCOM1",
                            "COM 1", "COM12345678901"}) {
        EXPECT_FALSE(comPortNumber(bad)) << bad;
    }
}

TEST(SerialPortNames, DevicePathIsThePrefixedNameBothWays) {
    EXPECT_EQ(devicePathForPort("COM12"), "\\\\.\\COM12");
    EXPECT_EQ(devicePathForPort("COM12:"), "\\\\.\\COM12");      // as Windows users write it
    EXPECT_EQ(devicePathForPort("\\\\.\\COM3"), "\\\\.\\COM3");  // already a device path
    EXPECT_EQ(portNameOfDevicePath("\\\\.\\COM255"), "COM255");
    EXPECT_EQ(portNameOfDevicePath("/dev/ttyUSB0"), "/dev/ttyUSB0");
    EXPECT_EQ(portNameOfDevicePath("\\\\.\\"), "");
    for (const char* name : {"COM1", "com7", "/dev/pts/3", ""}) {
        EXPECT_EQ(portNameOfDevicePath(devicePathForPort(name)), name) << name;
    }
}
