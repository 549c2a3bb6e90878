// The in-memory port over the simulated device: which ports open, the
// serial time-out semantics without waiting, purge, and the block gap.

#include <gtest/gtest.h>

#include <stdexcept>

#include "device/DeviceLink.h"
#include "simulator/SimulatedPort.h"

namespace {

using Bytes = std::vector<std::uint8_t>;

Bytes readUpTo(SimulatedPort& line, int count, CommErrorCode expected = CommOk) {
    Bytes bytes(static_cast<std::size_t>(count), 0xEE);
    int got = -1;
    EXPECT_EQ(line.read(bytes.data(), count, &got), expected);
    bytes.resize(static_cast<std::size_t>(got));
    return bytes;
}

TEST(SimulatedPort, OpensOnlyComPortsThatExistAndAreFree) {
    SimulatedPort line;
    line.attachDevice(3);
    line.attachDevice(12);
    line.holdPort(12);
    EXPECT_EQ(line.open("\\\\.\\COM3", 9600), CommOk);
    EXPECT_EQ(line.openPort(), 3);
    EXPECT_EQ(line.baudRate(), 9600);
    EXPECT_EQ(line.open("com3", 19200), CommOk) << "reopening closes first";
    EXPECT_EQ(line.baudRate(), 19200);
    for (const char* path : {"\\\\.\\COM4", "\\\\.\\COM12", "\\\\.\\COM03", "/dev/pts/3", ""}) {
        EXPECT_EQ(line.open(path, 9600), ErrPortBusy) << path;
        EXPECT_FALSE(line.isOpen()) << path;
    }
    EXPECT_EQ(line.open("\\\\.\\COM3", 0), ErrPortBusy);
    EXPECT_EQ(line.open("\\\\.\\COM3", -9600), ErrPortBusy);
    EXPECT_EQ(line.openPort(), 0);
}

TEST(SimulatedPort, ClosedPortAndBadArgumentsFailLikeTheSerialPort) {
    SimulatedPort line;
    line.attachDevice(1);
    std::uint8_t byte = 0x11;
    int moved = 99;
    EXPECT_EQ(line.read(&byte, 1, &moved), ErrPortNotInitialized);
    EXPECT_EQ(moved, 0);
    EXPECT_EQ(line.write(&byte, 1, &moved), ErrPortNotInitialized);
    EXPECT_EQ(byte, 0x11);
    line.purge();  // harmless on a closed port
    EXPECT_EQ(line.close(), CommOk);

    ASSERT_EQ(line.open("COM1", 9600), CommOk);
    EXPECT_EQ(line.read(&byte, -1), ErrReceive);
    EXPECT_EQ(line.write(&byte, -1), ErrTransmit);
    EXPECT_EQ(line.read(nullptr, 4), ErrReceive);
    EXPECT_EQ(line.write(nullptr, 4), ErrTransmit);
    EXPECT_TRUE(line.received(1).empty());
}

TEST(SimulatedPort, ReadsThatWouldTimeOutReturnShortAtOnceAndCountTheWait) {
    SimulatedPort line;
    line.attachDevice(1, {.shortReply = 2});
    ASSERT_EQ(line.open("COM1", 9600), CommOk);
    // Nothing there: the whole budget of 500 + 500 x count ms.
    EXPECT_EQ(readUpTo(line, 1), Bytes{});
    EXPECT_EQ(line.elapsedMs(), 1000);
    EXPECT_EQ(readUpTo(line, 4), Bytes{});
    EXPECT_EQ(line.elapsedMs(), 1000 + 2500);

    // Some bytes there: the interval of 500 ms after the last one.
    const std::uint8_t command = ReceiveCommandByte;
    ASSERT_EQ(line.write(&command, 1), CommOk);
    const WireImage memory = defaultWireImage();
    EXPECT_EQ(readUpTo(line, 8), (Bytes{AckByte, memory[0], memory[1]}));
    EXPECT_EQ(line.elapsedMs(), 3500 + 500);
    EXPECT_EQ(line.received(1), Bytes{ReceiveCommandByte});

    // All there: no wait.
    ASSERT_EQ(line.write(&command, 1), CommOk);
    EXPECT_EQ(readUpTo(line, 3).size(), 3u);
    EXPECT_EQ(line.elapsedMs(), 4000);

    // A block read waits its own time for the first byte, then the gap.
    Bytes block(8, 0xEE);
    int got = -1;
    EXPECT_EQ(line.readBlock(block.data(), 8, 2000, &got), CommOk);
    EXPECT_EQ(got, 0);
    EXPECT_EQ(line.elapsedMs(), 6000);
    ASSERT_EQ(line.write(&command, 1), CommOk);
    EXPECT_EQ(line.readBlock(block.data(), 8, 2000, &got), CommOk);
    EXPECT_EQ(got, 3);
    EXPECT_EQ(line.elapsedMs(), 6500);
}

TEST(SimulatedPort, AScriptedDeviceAnswersEachByteAsItsScriptSays) {
    SimulatedPort line;
    line.attachScriptedDevice(2, [](std::uint8_t byte) { return Bytes(byte % 4, byte); });
    ASSERT_EQ(line.open("COM2", 9600), CommOk);
    const std::uint8_t sent[] = {3, 4, 2};
    ASSERT_EQ(line.write(sent, 3), CommOk);
    EXPECT_EQ(readUpTo(line, 8), (Bytes{3, 3, 3, 2, 2}));
    EXPECT_EQ(line.received(2), (Bytes{3, 4, 2}));
    EXPECT_THROW(line.memory(2), std::logic_error) << "no memory of its own";
}

TEST(SimulatedPort, PurgeDropsWhatWaitsAndTheDeviceKeepsItsStateAcrossReopening) {
    SimulatedPort line;
    line.attachDevice(1, {.staleBytes = 4});
    ASSERT_EQ(line.open("COM1", 9600), CommOk);
    EXPECT_EQ(readUpTo(line, 1), Bytes{AckByte}) << "stale bytes wait on the line from the start";
    line.purge();
    EXPECT_EQ(readUpTo(line, 1), Bytes{});

    const std::uint8_t echo = EchoRequestByte;
    ASSERT_EQ(line.write(&echo, 1), CommOk);
    line.close();
    ASSERT_EQ(line.open("COM1", 9600), CommOk);
    const std::uint8_t identify = IdentifyRequestByte;
    ASSERT_EQ(line.write(&identify, 1), CommOk);
    // The echo is still waiting; the identification and its stale bytes follow.
    EXPECT_EQ(readUpTo(line, 6), (Bytes{EchoRequestByte, IdentifyReplyByte, AckByte,
                                        EchoRequestByte, IdentifyReplyByte, AckByte}));
}

TEST(SimulatedPort, ABlockInterruptedLongerThanTheGapIsDropped) {
    SimulatedPort line;
    line.attachDevice(1);
    ASSERT_EQ(line.open("COM1", 9600), CommOk);
    WireImage block{};
    block.fill(0x5A);
    const std::uint8_t command = SendCommandByte;
    ASSERT_EQ(line.write(&command, 1), CommOk);
    ASSERT_EQ(line.write(block.data(), 300), CommOk);
    readUpTo(line, 2);  // the acknowledge, then a wait of 500 ms
    ASSERT_EQ(line.write(block.data() + 300, 324), CommOk);
    EXPECT_EQ(line.blocksStored(1), 1) << "a pause shorter than the gap keeps the block";

    ASSERT_EQ(line.write(&command, 1), CommOk);
    ASSERT_EQ(line.write(block.data(), 300), CommOk);
    readUpTo(line, 2);  // 500 ms after the acknowledge ...
    readUpTo(line, 1);  // ... and 1000 ms more with nothing at all
    ASSERT_EQ(line.write(block.data() + 300, 324), CommOk);
    EXPECT_EQ(line.blocksStored(1), 1);
    EXPECT_EQ(line.memory(1), block);
}

}  // namespace
