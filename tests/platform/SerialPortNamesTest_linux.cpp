#include <gtest/gtest.h>

#include "platform/SerialPortNames_linux.h"

namespace {

const std::vector<std::string> System = {"/dev/ttyS0", "/dev/ttyUSB0", "/dev/ttyACM3"};

std::optional<std::string> map(const std::string& path,
                               std::optional<std::string> portDir = std::nullopt) {
    return mapSerialPortName(path, portDir, [] { return System; });
}

}  // namespace

TEST(SerialPortNames, SystemOrderPutsRealUartsFirstThenEachFamilyNumerically) {
    const std::vector<std::string> dev = {"ttyUSB10", "ttyS1",   "ttyACM0", "ttyUSB2", "ttyS0",
                                          "ttyAMA0",  "ttyS10",  "ttyS2",   "tty0",    "ttyUSB",
                                          "null",     "ttyUSBx", "ttyS01",  "ttyACM1"};
    // Only ttyS0 and ttyS10 have a UART behind them.
    const auto real = [](const std::string& name) { return name == "ttyS0" || name == "ttyS10"; };
    const std::vector<std::string> expected = {"/dev/ttyS0",    "/dev/ttyS10",  "/dev/ttyUSB2",
                                               "/dev/ttyUSB10", "/dev/ttyACM0", "/dev/ttyACM1",
                                               "/dev/ttyAMA0"};
    EXPECT_EQ(orderSerialDevices(dev, real), expected);
    EXPECT_TRUE(
        orderSerialDevices({"ttyS0", "ttyS1"}, [](const std::string&) { return false; }).empty());
}

TEST(SerialPortNames, ComNameIsTheNthSystemDevice) {
    EXPECT_EQ(map("\\\\.\\COM1"), "/dev/ttyS0");
    EXPECT_EQ(map("\\\\.\\COM2"), "/dev/ttyUSB0");
    EXPECT_EQ(map("com3"), "/dev/ttyACM3");
    EXPECT_EQ(map("\\\\.\\COM4"), std::nullopt);
    EXPECT_EQ(map("\\\\.\\COM255"), std::nullopt);
}

TEST(SerialPortNames, PortDirectoryIsTheWholePortTable) {
    int asked = 0;
    const auto system = [&asked] {
        ++asked;
        return System;
    };
    EXPECT_EQ(mapSerialPortName("\\\\.\\COM3", "/tmp/ports", system), "/tmp/ports/COM3");
    EXPECT_EQ(mapSerialPortName("\\\\.\\com255", "/tmp/ports/", system), "/tmp/ports/COM255");
    // Nothing but COM names exists there, and the system is never consulted.
    EXPECT_EQ(mapSerialPortName("\\\\.\\ttyUSB0", "/tmp/ports", system), std::nullopt);
    EXPECT_EQ(mapSerialPortName("\\\\.\\COM0", "/tmp/ports", system), std::nullopt);
    EXPECT_EQ(mapSerialPortName("\\\\.\\..", "/tmp/ports", system), std::nullopt);
    EXPECT_EQ(asked, 0);
    // An absolute path stays what it is.
    EXPECT_EQ(mapSerialPortName("\\\\.\\/dev/pts/4", "/tmp/ports", system), "/dev/pts/4");
}

TEST(SerialPortNames, OtherNamesLiveUnderDevAndCannotEscapeIt) {
    EXPECT_EQ(map("\\\\.\\ttyUSB7"), "/dev/ttyUSB7");
    EXPECT_EQ(map("/dev/pts/3"), "/dev/pts/3");
    EXPECT_EQ(map("\\\\.\\/dev/ttyS4"), "/dev/ttyS4");
    for (const char* bad : {"", "\\\\.\\", "\\\\.\\..", "\\\\.\\.", "\\\\.\\pts/3",
                            "\\\\.\\../etc/passwd", "COM0", "\\\\.\\COM03", "comx"}) {
        EXPECT_EQ(map(bad), std::nullopt) << bad;
    }
    EXPECT_EQ(map(std::string("tty\0S0", 6)), std::nullopt);
}
