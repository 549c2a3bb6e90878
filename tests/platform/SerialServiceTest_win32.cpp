#include <gtest/gtest.h>
#include <windows.h>

#include <array>
#include <cstdlib>
#include <optional>
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
    constexpr SerialReadTimeouts Wait{2000, 500};
    std::uint8_t ack = 0;
    if (!serialPurge(port) || serialWrite(port, &command, 1, 2000).bytes != 1 ||
        serialRead(port, &ack, 1, Wait).bytes != 1 || ack != 0x77) {
        return false;
    }
    const SerialResult moved =
        send ? serialWrite(port, block, 624, 5000) : serialRead(port, block, 624, Wait);
    return moved.ok && moved.bytes == 624;
}

// Every byte value crosses the line both ways, whatever state the previous
// user of the port left in its driver: the open sets the whole line.
TEST(SerialService, TheOpenSetsTheWholeLine) {
    const std::string port = simulatorPort();
    if (port.empty()) GTEST_SKIP() << "FILTARO_TEST_PORT names no simulator port";
    leaveForeignState(port);

    SerialHandle handle = serialOpen(devicePathForPort(port), {9600});
    ASSERT_NE(handle, nullptr);
    // As the driver reports it.
    const std::optional<SerialLineReport> line = serialLineReport(handle);
    ASSERT_TRUE(line.has_value());
    EXPECT_FALSE(line->xonXoff || line->parity || line->hardwareHandshake);
    EXPECT_TRUE(line->binary);
    EXPECT_EQ(line->dataBits, 8);
    EXPECT_EQ(line->baudRate, 9600u);

    std::array<std::uint8_t, 624> sent{};
    for (std::size_t i = 0; i < sent.size(); ++i) sent[i] = static_cast<std::uint8_t>(i * 7);
    std::array<std::uint8_t, 624> received{};
    EXPECT_TRUE(exchange(handle, 0xAA, sent.data(), true));
    EXPECT_TRUE(exchange(handle, 0xBB, received.data(), false));
    EXPECT_EQ(received, sent);
    EXPECT_TRUE(serialClose(handle));
}

}  // namespace
