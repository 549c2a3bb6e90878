#include <gtest/gtest.h>

#include <numeric>

#include "platform/SerialService.h"
#include "support/PtyPair.h"
#include "support/ScopedEnv.h"
#include "support/ScratchDir.h"

namespace {

std::vector<std::uint8_t> allByteValues() {
    std::vector<std::uint8_t> bytes(256);
    std::iota(bytes.begin(), bytes.end(), 0);
    return bytes;
}

// Short time-outs keep these cases quick; the rules are the same at 500 ms.
SerialTimeouts quickTimeouts() {
    SerialTimeouts t;
    t.ReadIntervalTimeout = 50;
    t.ReadTotalTimeoutMultiplier = 0;
    t.ReadTotalTimeoutConstant = 50;
    return t;
}

class OpenPort {
public:
    explicit OpenPort(const std::string& path) : handle(serialOpen(path)) {}
    ~OpenPort() { serialClose(handle); }
    SerialHandle handle;
};

}  // namespace

TEST(SerialService, FreshPortIsBinaryWithoutFlowControl) {
    PtyPair pty;
    OpenPort port(pty.slavePath());
    ASSERT_NE(port.handle, nullptr);
    SerialLineState state;
    ASSERT_TRUE(serialGetState(port.handle, state));
    EXPECT_TRUE(state.fBinary);
    EXPECT_FALSE(state.fOutxCtsFlow);
    EXPECT_FALSE(state.fOutX);
    EXPECT_FALSE(state.fInX);
    EXPECT_FALSE(state.fParity);
    EXPECT_EQ(state.ByteSize, 8);
}

TEST(SerialService, SetStateAppliesFrameAndRateAndRefusesNonsense) {
    PtyPair pty;
    OpenPort port(pty.slavePath());
    ASSERT_NE(port.handle, nullptr);
    SerialLineState state;
    ASSERT_TRUE(serialGetState(port.handle, state));

    for (std::uint32_t rate : {9600u, 115200u, 31250u, 12345u}) {
        state.BaudRate = rate;
        state.ByteSize = 8;
        state.Parity = 0;
        state.StopBits = 2;
        ASSERT_TRUE(serialSetState(port.handle, state)) << rate;
        SerialLineState back;
        ASSERT_TRUE(serialGetState(port.handle, back));
        EXPECT_EQ(back.BaudRate, rate);
        EXPECT_EQ(back.ByteSize, 8);
        EXPECT_EQ(back.StopBits, 2);
    }
    // A pseudo-terminal always runs 8 bits without parity; a frame the driver
    // does not keep is a failed set, not a silent change.
    SerialLineState sevenEven = state;
    sevenEven.ByteSize = 7;
    sevenEven.Parity = 2;
    EXPECT_FALSE(serialSetState(port.handle, sevenEven));

    // A zero rate would hang up the line; one and a half stop bits (1) has no
    // setting here.
    for (auto spoil :
         {+[](SerialLineState& s) { s.BaudRate = 0; }, +[](SerialLineState& s) { s.StopBits = 1; },
          +[](SerialLineState& s) { s.ByteSize = 9; }, +[](SerialLineState& s) { s.Parity = 5; }}) {
        SerialLineState bad = state;
        spoil(bad);
        EXPECT_FALSE(serialSetState(port.handle, bad));
    }
}

TEST(SerialService, NamesThatMapToNothingOrAreNoTerminalDoNotOpenAndSayWhy) {
    ScratchDir dir;
    ScopedEnv ports("FILTARO_PORT_DIR", dir.path().string());
    writeFileBytes(dir.file("COM8"), "plain file");
    const std::pair<std::string, SerialOpenFailure> cases[] = {
        {"\\\\.\\COM7", SerialOpenFailure::NoSuchPort},   // no such entry
        {"\\\\.\\ttyS0", SerialOpenFailure::NoSuchPort},  // nothing but COM names there
        {"\\\\.\\COM8", SerialOpenFailure::Refused},
        {dir.file("COM8"), SerialOpenFailure::Refused},
    };
    for (const auto& [path, reason] : cases) {
        SerialOpenFailure why = SerialOpenFailure::None;
        EXPECT_EQ(serialOpen(path, &why), nullptr) << path;
        EXPECT_EQ(why, reason) << path;
    }
    EXPECT_EQ(readFileBytes(dir.file("COM8")), "plain file");
}

TEST(SerialService, APortAnotherOpenerHoldsIsInUse) {
    PtyPair pty;
    OpenPort first(pty.slavePath());
    ASSERT_NE(first.handle, nullptr);
    SerialOpenFailure why = SerialOpenFailure::None;
    EXPECT_EQ(serialOpen(pty.slavePath(), &why), nullptr);
    EXPECT_EQ(why, SerialOpenFailure::InUse);
}

TEST(SerialService, ReadReportsWhatArrivedWhenTheLineGoesQuiet) {
    PtyPair pty;
    OpenPort port(pty.slavePath());
    ASSERT_NE(port.handle, nullptr);
    ASSERT_TRUE(serialSetTimeouts(port.handle, quickTimeouts()));

    pty.send({1, 2, 3});
    std::uint8_t in[5] = {9, 9, 9, 9, 9};
    std::uint32_t read = 99;
    ASSERT_TRUE(serialRead(port.handle, in, 5, &read));
    EXPECT_EQ(read, 3u);
    EXPECT_EQ(in[0], 1);
    EXPECT_EQ(in[2], 3);
    EXPECT_EQ(in[3], 9);  // the tail stays as it was
    EXPECT_EQ(in[4], 9);

    // Nothing at all within the total budget: success with no bytes.
    ASSERT_TRUE(serialRead(port.handle, in, 1, &read));
    EXPECT_EQ(read, 0u);
    EXPECT_EQ(in[0], 1);
}

TEST(SerialService, ImmediateAndWaitForAnyReadsReturnWhatIsThere) {
    PtyPair pty;
    OpenPort port(pty.slavePath());
    ASSERT_NE(port.handle, nullptr);
    SerialTimeouts t;
    t.ReadIntervalTimeout = SerialTimeouts::MaxTimeout;
    ASSERT_TRUE(serialSetTimeouts(port.handle, t));
    SerialTimeouts back;
    ASSERT_TRUE(serialGetTimeouts(port.handle, back));
    EXPECT_EQ(back.ReadIntervalTimeout, SerialTimeouts::MaxTimeout);

    std::uint8_t in[4] = {};
    std::uint32_t read = 99;
    ASSERT_TRUE(serialRead(port.handle, in, 4, &read));
    EXPECT_EQ(read, 0u);

    // Waiting for any: up to the constant for the first byte, then at once
    // with what has come.
    t.ReadTotalTimeoutMultiplier = SerialTimeouts::MaxTimeout;
    t.ReadTotalTimeoutConstant = 50;
    ASSERT_TRUE(serialSetTimeouts(port.handle, t));
    ASSERT_TRUE(serialRead(port.handle, in, 4, &read));
    EXPECT_EQ(read, 0u);
    pty.send({1, 2});
    ASSERT_TRUE(serialRead(port.handle, in, 4, &read));
    EXPECT_EQ(read, 2u);
    EXPECT_EQ(in[1], 2);
}

TEST(SerialService, PurgeOnAPtyKeepsWhatTheFarEndWasSent) {
    PtyPair pty;
    OpenPort port(pty.slavePath());
    ASSERT_NE(port.handle, nullptr);
    const std::vector<std::uint8_t> bytes = allByteValues();
    ASSERT_TRUE(serialWrite(port.handle, bytes.data(), 256, nullptr));
    ASSERT_TRUE(serialPurge(port.handle, PurgeTxClear | PurgeRxClear));
    EXPECT_EQ(pty.receive(256), bytes);
}

TEST(SerialService, CallsOnNoHandleFail) {
    SerialLineState state;
    SerialTimeouts timeouts;
    std::uint8_t byte = 0;
    EXPECT_FALSE(serialSetupQueues(nullptr, 1, 1));
    EXPECT_FALSE(serialGetState(nullptr, state));
    EXPECT_FALSE(serialSetState(nullptr, state));
    EXPECT_FALSE(serialGetTimeouts(nullptr, timeouts));
    EXPECT_FALSE(serialSetTimeouts(nullptr, timeouts));
    EXPECT_FALSE(serialRead(nullptr, &byte, 1, nullptr));
    EXPECT_FALSE(serialWrite(nullptr, &byte, 1, nullptr));
    EXPECT_FALSE(serialPurge(nullptr, PurgeRxClear));
    EXPECT_TRUE(serialClose(nullptr));
}
