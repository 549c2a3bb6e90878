#include <gtest/gtest.h>
#include <termios.h>

#include <filesystem>
#include <numeric>

#include "device/SerialPort.h"
#include "support/PtyPair.h"
#include "support/ScopedEnv.h"
#include "support/ScratchDir.h"

namespace {

// A pty linked as COM3 in a private port directory.
struct LinkedPty {
    LinkedPty() : ports("FILTARO_PORT_DIR", dir.path().string()) {
        std::filesystem::create_symlink(pty.slavePath(), dir.path() / "COM3");
    }
    PtyPair pty;
    ScratchDir dir;
    ScopedEnv ports;
};

const std::string Com3 = "\\\\.\\COM3";

}  // namespace

TEST(SerialPort, ReadAndWriteBeforeOpenAreNotInitialized) {
    SerialPort port;
    EXPECT_FALSE(port.isOpen());
    std::uint8_t byte = 0x11;
    int moved = 99;
    EXPECT_EQ(port.read(&byte, 1, &moved), -2);
    EXPECT_EQ(moved, 0);
    EXPECT_EQ(byte, 0x11);
    EXPECT_EQ(port.write(&byte, 1, &moved), -2);
    EXPECT_EQ(moved, 0);
    port.purge();  // harmless on a closed port
    EXPECT_EQ(port.close(), 0);
}

TEST(SerialPort, OpensEightNoParityOneStopAtTheGivenRate) {
    LinkedPty line;
    SerialPort port;
    ASSERT_EQ(port.open(Com3, 9600), 0);
    EXPECT_TRUE(port.isOpen());
    EXPECT_EQ(port.baudRate(), 9600);
    // As the terminal itself holds it.
    termios tio{};
    ASSERT_EQ(tcgetattr(line.pty.master(), &tio), 0);
    EXPECT_EQ(cfgetospeed(&tio), B9600);
    EXPECT_EQ(tio.c_cflag & CSIZE, static_cast<tcflag_t>(CS8));
    EXPECT_EQ(tio.c_cflag & (PARENB | CSTOPB | CRTSCTS), 0u);
    EXPECT_EQ(tio.c_iflag & (IXON | IXOFF | INPCK | ISTRIP), 0u);
}

TEST(SerialPort, EveryByteValueThroughTheLineBothWays) {
    LinkedPty line;
    SerialPort port;
    ASSERT_EQ(port.open(Com3, 115200), 0);
    std::vector<std::uint8_t> bytes(256);
    std::iota(bytes.begin(), bytes.end(), 0);

    int moved = 0;
    ASSERT_EQ(port.write(bytes.data(), 256, &moved), 0);
    EXPECT_EQ(moved, 256);
    EXPECT_EQ(line.pty.receive(256), bytes);

    line.pty.send(bytes);
    std::vector<std::uint8_t> in(256, 0);
    ASSERT_EQ(port.read(in.data(), 256, &moved), 0);
    EXPECT_EQ(moved, 256);
    EXPECT_EQ(in, bytes);
}

TEST(SerialPort, OneByteReadWithNothingAnsweringSucceedsEmptyAfterTheTimeout) {
    LinkedPty line;
    SerialPort port;
    ASSERT_EQ(port.open(Com3, 9600), 0);
    std::uint8_t reply = 0xFF;
    int moved = 99;
    EXPECT_EQ(port.read(&reply, 1, &moved), 0);
    EXPECT_EQ(moved, 0);
    EXPECT_EQ(reply, 0xFF);
}

TEST(SerialPort, BlockReadEndsWhenTheFirstByteIsLateOrAfterTheGap) {
    LinkedPty line;
    SerialPort port;
    ASSERT_EQ(port.open(Com3, 9600), 0);
    std::uint8_t block[4] = {9, 9, 9, 9};
    int moved = 99;
    EXPECT_EQ(port.readBlock(block, 4, 50, &moved), 0);
    EXPECT_EQ(moved, 0);
    line.pty.send({1, 2});
    EXPECT_EQ(port.readBlock(block, 4, 50, &moved), 0);
    EXPECT_EQ(moved, 2);
    EXPECT_EQ(block[1], 2);
    EXPECT_EQ(block[2], 9);
}

TEST(SerialPort, PortHeldByAnotherOpenerDoesNotOpen) {
    LinkedPty line;
    SerialPort holder;
    ASSERT_EQ(holder.open(Com3, 9600), 0);
    SerialPort other;
    EXPECT_EQ(other.open(Com3, 9600), -1);
    EXPECT_FALSE(other.isOpen());
    EXPECT_EQ(other.openFailure().reason, SerialOpenFailure::InUse);
    EXPECT_EQ(other.openFailure().devicePath, Com3);
    EXPECT_EQ(other.write("x", 1), -2);

    holder.close();
    EXPECT_FALSE(holder.isOpen());
    EXPECT_EQ(other.open(Com3, 9600), 0);
    EXPECT_EQ(other.openFailure().reason, SerialOpenFailure::None);
}

TEST(SerialPort, ReopeningAnOpenPortClosesItFirst) {
    LinkedPty line;
    SerialPort port;
    ASSERT_EQ(port.open(Com3, 9600), 0);
    // Without closing first, its own lock would refuse the second open.
    ASSERT_EQ(port.open(Com3, 19200), 0);
    EXPECT_EQ(port.baudRate(), 19200);
    EXPECT_EQ(port.write("\xCC", 1), 0);
    EXPECT_EQ(line.pty.receive(1), std::vector<std::uint8_t>{0xCC});
}

TEST(SerialPort, FailedReopenLeavesThePortClosedAndReleased) {
    LinkedPty line;
    SerialPort port;
    ASSERT_EQ(port.open(Com3, 9600), 0);
    EXPECT_EQ(port.open("\\\\.\\COM9", 9600), -1);  // no such port
    EXPECT_EQ(port.openFailure().reason, SerialOpenFailure::NoSuchPort);
    EXPECT_FALSE(port.isOpen());
    std::uint8_t byte = 0;
    EXPECT_EQ(port.read(&byte, 1), -2);
    EXPECT_EQ(port.write(&byte, 1), -2);
    SerialPort other;
    EXPECT_EQ(other.open(Com3, 9600), 0);
}

TEST(SerialPort, RatesThatCannotBeAreRefused) {
    LinkedPty line;
    SerialPort port;
    EXPECT_EQ(port.open(Com3, 0), -1);
    EXPECT_EQ(port.open(Com3, -9600), -1);
    EXPECT_FALSE(port.isOpen());
    // A pseudo-terminal takes an odd rate; a real driver may refuse it, which
    // must then fail cleanly.
    const int result = port.open(Com3, 31250);
    if (result == 0) {
        ASSERT_TRUE(port.line().has_value());
        EXPECT_EQ(port.line()->baudRate, 31250u);
    } else {
        EXPECT_EQ(result, -1);
        EXPECT_FALSE(port.isOpen());
    }
}

TEST(SerialPort, PurgeDropsStaleBytes) {
    LinkedPty line;
    SerialPort port;
    ASSERT_EQ(port.open(Com3, 9600), 0);
    line.pty.send({0x77, 0xCC, 0x01, 0x77});
    std::uint8_t first = 0;
    ASSERT_EQ(port.read(&first, 1), 0);  // the stale bytes have arrived
    port.purge();
    line.pty.send({0x42});
    std::uint8_t reply = 0xFF;
    int moved = 0;
    ASSERT_EQ(port.read(&reply, 1, &moved), 0);
    EXPECT_EQ(moved, 1);
    EXPECT_EQ(reply, 0x42);
}

TEST(SerialPort, LostLineAndBadArgumentsAreReadAndWriteErrors) {
    LinkedPty line;
    SerialPort port;
    ASSERT_EQ(port.open(Com3, 9600), 0);
    std::uint8_t buffer[4] = {};
    EXPECT_EQ(port.read(buffer, -1), -5);
    EXPECT_EQ(port.write(buffer, -1), -4);
    EXPECT_EQ(port.read(nullptr, 4), -5);
    EXPECT_EQ(port.write(nullptr, 4), -4);
    EXPECT_EQ(port.read(buffer, 0), 0);

    line.pty.hangUp();
    int moved = 99;
    EXPECT_EQ(port.read(buffer, 4, &moved), -5);
    EXPECT_EQ(moved, 0);
    EXPECT_TRUE(port.isOpen());  // a failed transfer leaves the port open
}
