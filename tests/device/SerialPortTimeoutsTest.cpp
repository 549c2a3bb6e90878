#include <gtest/gtest.h>

#include "device/SerialPort.h"

// A 624-byte block takes 6240 bit times on the line (a start bit, eight
// data bits, a stop bit per byte). The write bound lets it through at every
// rate, and gives up within a few seconds of that.
TEST(SerialPort, WritesAreBoundedByTheBlocksLineTime) {
    for (const int rate : {300, 1200, 9600, 19200, 115200, 921600}) {
        SCOPED_TRACE(rate);
        const double lineMs = 624 * 10 * 1000.0 / rate;
        const double boundMs = SerialPort::writeBoundMs(624, rate);
        EXPECT_GE(boundMs, lineMs + 1000);
        EXPECT_LE(boundMs, lineMs + 624 + 3000);
    }
    // A handshake byte waits a second for its answer; a block's first byte
    // as long as all its bytes could take at half a second each.
    EXPECT_EQ(SerialPort::firstByteMs(1), 1000u);
    EXPECT_EQ(SerialPort::firstByteMs(624), 312500u);
}
