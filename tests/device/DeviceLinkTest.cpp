// The protocol against the simulated device in memory: every byte value,
// every fault mode, the closed port, stale bytes and dump files. The real line is covered by
// SerialPortTest and the simulator's own tests.

#include <gtest/gtest.h>

#include <filesystem>

#include "device/CommError.h"
#include "device/DeviceLink.h"
#include "platform/SerialPortNames.h"
#include "simulator/SimulatedPort.h"
#include "support/ScratchDir.h"

namespace {

// Every byte value, the line-control ones (ETX, CR, XON, XOFF, DEL, 0xFF)
// included, in two orders so that each value meets different neighbours.
WireImage allByteValues() {
    WireImage wire{};
    for (std::size_t i = 0; i < wire.size(); ++i) {
        wire[i] = static_cast<std::uint8_t>(i < 256 ? i : i < 512 ? 511 - i : i * 7);
    }
    return wire;
}

std::string asString(const WireImage& wire) {
    return std::string(wire.begin(), wire.end());
}

class DeviceLinkTest : public ::testing::Test {
protected:
    // A device with `faults` on COM1, opened.
    void attach(const DevsimFaults& faults = {}) {
        line.attachDevice(1, faults);
        ASSERT_EQ(line.open(devicePathForPort("COM1"), 9600), CommOk);
    }

    ScratchDir cwd{true};  // the dump files land here
    SimulatedPort line;
    DeviceLink link{line};
};

TEST_F(DeviceLinkTest, ClosedPortFailsEveryExchangeWithoutTouchingTheLineOrTheDestination) {
    EXPECT_EQ(link.handshake(SendCommandByte), ErrPortNotInitialized);
    EXPECT_EQ(link.checkEcho(), ErrPortNotInitialized);
    EXPECT_EQ(link.probeDevice(), ErrPortNotInitialized);

    WireImage destination{};
    destination.fill(0x5A);
    const WireImage before = destination;
    EXPECT_EQ(link.receiveWireImage(destination), ErrPortNotInitialized);
    EXPECT_EQ(destination, before);
    EXPECT_FALSE(std::filesystem::exists(ReceiveDumpFileName));

    // The send dump is written before anything goes on the line: it holds the
    // last block attempted.
    EXPECT_EQ(link.sendWireImage(allByteValues()), ErrPortNotInitialized);
    EXPECT_EQ(readFileBytes(SendDumpFileName), asString(allByteValues()));
}

// What each misbehaviour of the device makes of a send, a receive and a
// probe, in that order, and how long a real port would have waited meanwhile.
struct FaultCase {
    const char* name;
    DevsimFaults faults;
    CommErrorCode send, receive, echo, probe;
    long long waitedMs;
};

const FaultCase FaultCases[] = {
    {"none", {}, CommOk, CommOk, CommOk, CommOk, 0},
    // Each unanswered one-byte read costs the whole budget of 500 + 500 ms.
    {"silent", {.silent = true}, ErrHandshake, ErrHandshake, ErrHandshake, ErrHandshake, 4000},
    {"wrong-ack", {.wrongAck = true}, ErrHandshake, ErrHandshake, CommOk, CommOk, 0},
    // The read gives up 500 ms after the 300th byte.
    {"short=300", {.shortReply = 300}, CommOk, ErrReceive, CommOk, CommOk, 500},
    // Acknowledged, then silent: the block must begin within 2 s, not within
    // the read's budget of 312.5 s.
    {"short=0", {.shortReply = 0}, CommOk, ErrReceive, CommOk, CommOk, BlockStartTimeoutMs},
    {"no-ident", {.noIdent = true}, CommOk, CommOk, CommOk, ErrHandshake, 1000},
    {"wrong-ident", {.wrongIdent = true}, CommOk, CommOk, CommOk, ErrHandshake, 0},
    // Acknowledge-, echo- and identification-like bytes wait before the
    // first command and follow every answer; the purge drops them all.
    {"stale=7", {.staleBytes = 7}, CommOk, CommOk, CommOk, CommOk, 0},
};

TEST_F(DeviceLinkTest, EachFaultOfTheDeviceGivesItsCode) {
    const WireImage block = allByteValues();
    for (const FaultCase& c : FaultCases) {
        SCOPED_TRACE(c.name);
        SimulatedPort device;
        device.attachDevice(1, c.faults);
        ASSERT_EQ(device.open(devicePathForPort("COM1"), 9600), CommOk);
        DeviceLink deviceLink(device);

        EXPECT_EQ(deviceLink.sendWireImage(block), c.send);
        EXPECT_EQ(readFileBytes(SendDumpFileName), asString(block)) << "dumped before the line";
        // No data byte may follow a failed handshake.
        EXPECT_EQ(device.received(1).size(), c.send == CommOk ? 1 + WireImageSize : 1);
        EXPECT_EQ(device.blocksStored(1), c.send == CommOk ? 1 : 0);
        EXPECT_EQ(device.memory(1), c.send == CommOk ? block : defaultWireImage());

        // A failed receive keeps the destination and the last dump as they were.
        writeFileBytes(ReceiveDumpFileName, "earlier dump");
        WireImage received{};
        received.fill(0x42);
        const WireImage before = received;
        EXPECT_EQ(deviceLink.receiveWireImage(received), c.receive);
        EXPECT_EQ(received, c.receive == CommOk ? device.memory(1) : before);
        EXPECT_EQ(readFileBytes(ReceiveDumpFileName),
                  c.receive == CommOk ? asString(device.memory(1)) : "earlier dump");

        EXPECT_EQ(deviceLink.checkEcho(), c.echo);
        EXPECT_EQ(deviceLink.probeDevice(), c.probe);
        EXPECT_EQ(device.elapsedMs(), c.waitedMs);
    }
}

TEST_F(DeviceLinkTest, DumpFilesThatCannotBeWrittenAreSkipped) {
    attach();
    std::filesystem::create_directory(SendDumpFileName);
    std::filesystem::create_directory(ReceiveDumpFileName);
    const WireImage block = allByteValues();
    EXPECT_EQ(link.sendWireImage(block), CommOk);
    WireImage received{};
    EXPECT_EQ(link.receiveWireImage(received), CommOk);
    EXPECT_EQ(received, block);
    EXPECT_TRUE(std::filesystem::is_directory(SendDumpFileName));
}

}  // namespace
