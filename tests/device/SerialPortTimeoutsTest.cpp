#include <gtest/gtest.h>

#include "device/SerialPort.h"

// A 624-byte block takes 6240 bit times on the line (a start bit, eight
// data bits, a stop bit per byte). The write bound lets it through at every
// rate, and gives up within a few seconds of that, never "no limit" (0/0).
TEST(SerialPort, WritesAreBoundedByTheBlocksLineTime) {
    for (const int rate : {300, 1200, 9600, 19200, 115200, 921600}) {
        SCOPED_TRACE(rate);
        const SerialTimeouts t = SerialPort::timeoutsAt(rate);
        const double lineMs = 624 * 10 * 1000.0 / rate;
        const double boundMs = 624.0 * t.WriteTotalTimeoutMultiplier + t.WriteTotalTimeoutConstant;
        EXPECT_GE(boundMs, lineMs + 1000);
        EXPECT_LE(boundMs, lineMs + 624 + 3000);
        EXPECT_EQ(t.ReadIntervalTimeout, 500u);
        EXPECT_EQ(t.ReadTotalTimeoutMultiplier, 500u);
        EXPECT_EQ(t.ReadTotalTimeoutConstant, 500u);
    }
}
