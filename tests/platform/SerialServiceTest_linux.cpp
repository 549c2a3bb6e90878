#include <gtest/gtest.h>
#include <termios.h>

#include <chrono>
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

class OpenPort {
public:
    explicit OpenPort(const std::string& path, SerialSettings settings = {})
        : handle(serialOpen(path, settings)) {}
    ~OpenPort() { serialClose(handle); }
    SerialHandle handle;
};

// Short time-outs keep these cases quick; the rules are the same at 500 ms.
constexpr SerialReadTimeouts Quick{50, 50};

}  // namespace

// Whatever the last user of the terminal left (XON/XOFF, a parity check,
// seven bits, line editing), the open port is the program's line.
TEST(SerialService, OpensTheProgramsLineWhateverWasLeft) {
    PtyPair pty;
    termios left{};
    ASSERT_EQ(tcgetattr(pty.master(), &left), 0);
    left.c_iflag |= IXON | IXOFF | INPCK | ISTRIP | ICRNL;
    left.c_lflag |= ICANON | ECHO;
    left.c_cflag = (left.c_cflag & ~static_cast<tcflag_t>(CSIZE)) | CS7 | PARENB | CSTOPB;
    ASSERT_EQ(tcsetattr(pty.master(), TCSANOW, &left), 0);

    for (const SerialHandshake handshake : {SerialHandshake::None, SerialHandshake::Hardware}) {
        OpenPort port(pty.slavePath(), {115200, handshake});
        ASSERT_NE(port.handle, nullptr);
        termios tio{};
        ASSERT_EQ(tcgetattr(pty.master(), &tio), 0);
        EXPECT_EQ(cfgetospeed(&tio), B115200);
        EXPECT_EQ(tio.c_cflag & (CSIZE | PARENB | CSTOPB), static_cast<tcflag_t>(CS8));
        EXPECT_EQ((tio.c_cflag & CRTSCTS) != 0, handshake == SerialHandshake::Hardware);
        EXPECT_EQ(tio.c_iflag & (IXON | IXOFF | INPCK | ISTRIP | ICRNL), 0u);
        EXPECT_EQ(tio.c_lflag & (ICANON | ECHO), 0u);
    }
}

TEST(SerialService, TakesOddRatesAndRefusesNone) {
    PtyPair pty;
    for (std::uint32_t rate : {9600u, 31250u, 12345u}) {
        OpenPort port(pty.slavePath(), {rate});
        ASSERT_NE(port.handle, nullptr) << rate;
        EXPECT_EQ(serialLineReport(port.handle)->baudRate, rate);
    }
    // A zero rate would hang up the line.
    SerialOpenFailure why = SerialOpenFailure::None;
    EXPECT_EQ(serialOpen(pty.slavePath(), {0}, &why), nullptr);
    EXPECT_EQ(why, SerialOpenFailure::Refused);
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
        EXPECT_EQ(serialOpen(path, {}, &why), nullptr) << path;
        EXPECT_EQ(why, reason) << path;
    }
    EXPECT_EQ(readFileBytes(dir.file("COM8")), "plain file");
}

TEST(SerialService, APortAnotherOpenerHoldsIsInUse) {
    PtyPair pty;
    OpenPort first(pty.slavePath());
    ASSERT_NE(first.handle, nullptr);
    SerialOpenFailure why = SerialOpenFailure::None;
    EXPECT_EQ(serialOpen(pty.slavePath(), {}, &why), nullptr);
    EXPECT_EQ(why, SerialOpenFailure::InUse);
}

TEST(SerialService, ReadEndsAtTheGapOrWithoutAFirstByte) {
    PtyPair pty;
    OpenPort port(pty.slavePath());
    ASSERT_NE(port.handle, nullptr);

    pty.send({1, 2, 3});
    std::uint8_t in[5] = {9, 9, 9, 9, 9};
    SerialResult read = serialRead(port.handle, in, 5, Quick);
    EXPECT_TRUE(read.ok);
    EXPECT_EQ(read.bytes, 3u);
    EXPECT_EQ(in[0], 1);
    EXPECT_EQ(in[2], 3);
    EXPECT_EQ(in[3], 9);  // the tail stays as it was
    EXPECT_EQ(in[4], 9);

    // Nothing within the first byte's time-out: success with no bytes, after
    // that time and not much longer.
    const auto start = std::chrono::steady_clock::now();
    read = serialRead(port.handle, in, 1, {200, 50});
    const auto waited = std::chrono::steady_clock::now() - start;
    EXPECT_TRUE(read.ok);
    EXPECT_EQ(read.bytes, 0u);
    EXPECT_EQ(in[0], 1);
    EXPECT_GE(waited, std::chrono::milliseconds(200));
    EXPECT_LT(waited, std::chrono::milliseconds(2000));

    // All that was asked for ends the read at once.
    pty.send({4, 5});
    read = serialRead(port.handle, in, 2, {5000, 5000});
    EXPECT_TRUE(read.ok);
    EXPECT_EQ(read.bytes, 2u);
}

TEST(SerialService, EveryByteValueBothWaysAndPurgeOnAPtyKeepsWhatTheFarEndWasSent) {
    PtyPair pty;
    OpenPort port(pty.slavePath());
    ASSERT_NE(port.handle, nullptr);
    const std::vector<std::uint8_t> bytes = allByteValues();
    const SerialResult written = serialWrite(port.handle, bytes.data(), 256, 2000);
    EXPECT_TRUE(written.ok);
    EXPECT_EQ(written.bytes, 256u);
    ASSERT_TRUE(serialPurge(port.handle));
    EXPECT_EQ(pty.receive(256), bytes);

    pty.send(bytes);
    std::vector<std::uint8_t> in(256);
    EXPECT_EQ(serialRead(port.handle, in.data(), 256, Quick).bytes, 256u);
    EXPECT_EQ(in, bytes);
}

TEST(SerialService, AVanishedDeviceFailsTheRead) {
    PtyPair pty;
    OpenPort port(pty.slavePath());
    ASSERT_NE(port.handle, nullptr);
    pty.hangUp();
    std::uint8_t byte = 0;
    EXPECT_FALSE(serialRead(port.handle, &byte, 1, Quick).ok);
}

TEST(SerialService, CallsOnNoHandleFail) {
    std::uint8_t byte = 0;
    EXPECT_FALSE(serialRead(nullptr, &byte, 1, Quick).ok);
    EXPECT_FALSE(serialWrite(nullptr, &byte, 1, 10).ok);
    EXPECT_FALSE(serialPurge(nullptr));
    EXPECT_FALSE(serialLineReport(nullptr).has_value());
    EXPECT_TRUE(serialClose(nullptr));
}
