#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>

#include "device/DeviceLink.h"
#include "device/SerialPort.h"
#include "support/ScopedEnv.h"
#include "support/ScratchDir.h"
#include "tools/devsim/DeviceSimulator.h"

namespace {

namespace fs = std::filesystem;

WireImage everyByteValue() {
    // 0x03, 0x0D, 0x11, 0x13, 0x7F and 0xFF among them, some twice or more.
    WireImage block;
    for (std::size_t i = 0; i < block.size(); ++i) block[i] = static_cast<std::uint8_t>(255 - i);
    return block;
}

DevsimOptions linkedAt(const ScratchDir& dir, const std::string& name) {
    DevsimOptions options;
    options.linkPath = dir.file(name);
    return options;
}

}  // namespace

TEST(DeviceSimulator, EveryByteValueSurvivesSendAndReceiveAndPersists) {
    ScratchDir dir(true);  // the transfers leave their dump files here
    ScopedEnv ports("FILTARO_PORT_DIR", dir.path().string());
    DevsimOptions options = linkedAt(dir, "COM3");
    options.memoryFile = dir.file("memory.bin");
    const WireImage block = everyByteValue();
    {
        DeviceSimulator sim(options);
        std::string error;
        ASSERT_TRUE(sim.start(error)) << error;
        EXPECT_EQ(fs::read_symlink(dir.file("COM3")), sim.ptyPath());

        SerialPort port;
        ASSERT_EQ(port.open("\\\\.\\COM3", 115200), 0);
        WireImage back{};
        ASSERT_EQ(DeviceLink(port).receiveWireImage(back), 0);
        EXPECT_EQ(back, defaultWireImage());

        ASSERT_EQ(DeviceLink(port).sendWireImage(block), 0);
        ASSERT_TRUE(sim.waitForBlocks(1));
        // The client closes and reopens between the transfers.
        port.close();
        ASSERT_EQ(port.open("\\\\.\\COM3", 115200), 0);
        back.fill(0);
        ASSERT_EQ(DeviceLink(port).receiveWireImage(back), 0);
        EXPECT_EQ(back, block);
        EXPECT_EQ(sim.blocksStored(), 1);
        EXPECT_EQ(sim.memory(), block);
        EXPECT_TRUE(sim.problems().empty());
    }
    EXPECT_FALSE(fs::exists(fs::symlink_status(dir.file("COM3"))));
    EXPECT_EQ(readFileBytes(dir.file("memory.bin")), std::string(block.begin(), block.end()));

    // A new run starts from what the last one kept.
    DeviceSimulator again(options);
    std::string error;
    ASSERT_TRUE(again.start(error)) << error;
    EXPECT_EQ(again.memory(), block);
}

// A receive over the real line from a simulator that paces its output at
// the line's rate, and from one that acknowledges and then stays silent: the
// latter ends after the block's start time-out, not after the read's budget
// of 312.5 s.
TEST(DeviceSimulator, ReceiveOverTheLineTakesAPacedBlockAndGivesUpOnASilentOne) {
    for (const bool silent : {false, true}) {
        SCOPED_TRACE(silent ? "silent after the acknowledge" : "paced output");
        ScratchDir dir(true);  // the transfers leave their dump files here
        DevsimOptions options = linkedAt(dir, "COM3");
        options.baud = 115200;
        if (silent) options.faults.shortReply = 0;
        DeviceSimulator sim(options);
        std::string error;
        ASSERT_TRUE(sim.start(error)) << error;
        SerialPort port;
        ASSERT_EQ(port.open(dir.file("COM3"), 115200), 0);
        WireImage block{};
        const auto start = std::chrono::steady_clock::now();
        const int result = DeviceLink(port).receiveWireImage(block);
        const auto waited = std::chrono::steady_clock::now() - start;
        if (!silent) {
            EXPECT_EQ(result, 0);
            EXPECT_EQ(block, defaultWireImage());
            continue;
        }
        EXPECT_EQ(result, ErrReceive);
        EXPECT_GE(waited, std::chrono::milliseconds(BlockStartTimeoutMs));
        EXPECT_LT(waited, std::chrono::seconds(30));
    }
}

TEST(DeviceSimulator, LinkNameIsTakenOverOnlyFromAnotherLink) {
    ScratchDir dir;
    fs::create_symlink("/dev/pts/does-not-exist", dir.path() / "COM3");
    {
        DeviceSimulator sim(linkedAt(dir, "COM3"));
        std::string error;
        ASSERT_TRUE(sim.start(error)) << error;
        EXPECT_EQ(fs::read_symlink(dir.file("COM3")), sim.ptyPath());
    }
    writeFileBytes(dir.file("COM4"), "keep me");
    DeviceSimulator blocked(linkedAt(dir, "COM4"));
    std::string error;
    EXPECT_FALSE(blocked.start(error));
    EXPECT_NE(error.find("COM4"), std::string::npos) << error;
    EXPECT_EQ(readFileBytes(dir.file("COM4")), "keep me");

    DevsimOptions badMemory = linkedAt(dir, "COM5");
    badMemory.memoryFile = dir.file("COM4");  // 7 bytes: not a memory block
    DeviceSimulator refused(badMemory);
    EXPECT_FALSE(refused.start(error));
    EXPECT_FALSE(fs::exists(fs::symlink_status(dir.file("COM5"))));
}
