#include <gtest/gtest.h>
#include <windows.h>

#include <array>
#include <cstdlib>
#include <string>

#include "platform/SerialPortNames.h"
#include "platform/SerialService.h"

namespace {

// The port of a device simulator that scripts/test-windows.sh starts for the
// suites (Wine reaches its pseudo-terminal as that COM port).
std::string simulatorPort() {
    const char* port = std::getenv("FILTARO_TEST_PORT");
    return port != nullptr ? port : "";
}

// Another program that had the port before: XON/XOFF both ways, null
// stripping, a parity check with an error character, abort on errors, a DSR
// handshake, DTR off. Under Wine only XON/XOFF reaches the pseudo-terminal,
// and it is the one that stops a block at its first 0x13.
void leaveForeignState(const std::string& port) {
    const HANDLE handle = CreateFileA(devicePathForPort(port).c_str(), GENERIC_READ | GENERIC_WRITE,
                                      0, nullptr, OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(handle, INVALID_HANDLE_VALUE);
    DCB dcb{};
    dcb.DCBlength = sizeof dcb;
    ASSERT_TRUE(GetCommState(handle, &dcb));
    dcb.fOutX = dcb.fInX = dcb.fNull = dcb.fParity = dcb.fErrorChar = dcb.fAbortOnError = TRUE;
    dcb.fOutxDsrFlow = TRUE;
    dcb.ErrorChar = '?';
    dcb.fDtrControl = DTR_CONTROL_DISABLE;
    ASSERT_TRUE(SetCommState(handle, &dcb));
    CloseHandle(handle);
}

bool exchange(SerialHandle port, std::uint8_t command, std::uint8_t* block, bool send) {
    std::uint32_t moved = 0;
    std::uint8_t ack = 0;
    if (!serialPurge(port, PurgeTxClear | PurgeRxClear) ||
        !serialWrite(port, &command, 1, &moved) || !serialRead(port, &ack, 1, &moved) ||
        ack != 0x77) {
        return false;
    }
    return send ? serialWrite(port, block, 624, &moved) && moved == 624
                : serialRead(port, block, 624, &moved) && moved == 624;
}

// Every byte value crosses the line both ways, whatever state the previous
// user of the port left in its driver: the state set is the whole line.
TEST(SerialService, TheStateSetIsTheWholeLine) {
    const std::string port = simulatorPort();
    if (port.empty()) GTEST_SKIP() << "FILTARO_TEST_PORT names no simulator port";
    leaveForeignState(port);

    SerialHandle handle = serialOpen(devicePathForPort(port));
    ASSERT_NE(handle, nullptr);
    SerialLineState state;
    state.BaudRate = 9600;
    ASSERT_TRUE(serialSetState(handle, state));
    SerialLineState back;
    ASSERT_TRUE(serialGetState(handle, back));
    EXPECT_FALSE(back.fOutX || back.fInX || back.fParity || back.fOutxCtsFlow);
    SerialTimeouts timeouts;
    timeouts.ReadIntervalTimeout = timeouts.ReadTotalTimeoutMultiplier = 500;
    timeouts.ReadTotalTimeoutConstant = 500;
    timeouts.WriteTotalTimeoutMultiplier = 2;
    timeouts.WriteTotalTimeoutConstant = 2000;
    ASSERT_TRUE(serialSetTimeouts(handle, timeouts));
    SerialTimeouts timeoutsBack;
    ASSERT_TRUE(serialGetTimeouts(handle, timeoutsBack));
    EXPECT_EQ(timeoutsBack.WriteTotalTimeoutMultiplier, 2u);
    EXPECT_EQ(timeoutsBack.WriteTotalTimeoutConstant, 2000u);

    std::array<std::uint8_t, 624> sent{};
    for (std::size_t i = 0; i < sent.size(); ++i) sent[i] = static_cast<std::uint8_t>(i * 7);
    std::array<std::uint8_t, 624> received{};
    EXPECT_TRUE(exchange(handle, 0xAA, sent.data(), true));
    EXPECT_TRUE(exchange(handle, 0xBB, received.data(), false));
    EXPECT_EQ(received, sent);
    EXPECT_TRUE(serialClose(handle));
}

}  // namespace
