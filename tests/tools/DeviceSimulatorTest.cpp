#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <thread>

#include "device/SerialPort.h"
#include "support/DevsimProcess.h"
#include "support/ScopedEnv.h"
#include "support/ScratchDir.h"
#include "tools/devsim/DeviceSimulator.h"

namespace {

using Bytes = std::vector<std::uint8_t>;
namespace fs = std::filesystem;

// One command byte and its one-byte answer, as the program does it.
int command(SerialPort& port, std::uint8_t byte) {
    port.purge();
    if (port.write(&byte, 1) != 0) return -4;
    std::uint8_t reply = 0xFF;
    if (port.read(&reply, 1) != 0) return -5;
    return reply;
}

WireImage everyByteValue() {
    // 0x03, 0x0D, 0x11, 0x13, 0x7F and 0xFF among them, some twice or more.
    WireImage block;
    for (std::size_t i = 0; i < block.size(); ++i) block[i] = static_cast<std::uint8_t>(255 - i);
    return block;
}

int sendBlock(SerialPort& port, const WireImage& block) {
    if (command(port, 0xAA) != 0x77) return -6;
    int moved = 0;
    return port.write(block.data(), static_cast<int>(block.size()), &moved);
}

int receiveBlock(SerialPort& port, WireImage& block, int* moved) {
    if (command(port, 0xBB) != 0x77) return -6;
    return port.read(block.data(), static_cast<int>(block.size()), moved);
}

DevsimOptions linkedAt(const ScratchDir& dir, const std::string& name) {
    DevsimOptions options;
    options.linkPath = dir.file(name);
    return options;
}

// The simulator takes a block a moment after the write returns; the program
// leaves it seconds. Bounded so that a broken simulator fails the test.
template <typename Done>
bool eventually(Done done) {
    for (int i = 0; i < 5000 && !done(); ++i) {
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
    }
    return done();
}

}  // namespace

TEST(DeviceSimulator, EveryByteValueSurvivesSendAndReceiveAndPersists) {
    ScratchDir dir;
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
        int moved = 0;
        ASSERT_EQ(receiveBlock(port, back, &moved), 0);
        EXPECT_EQ(moved, 624);
        EXPECT_EQ(back, defaultWireImage());

        ASSERT_EQ(sendBlock(port, block), 0);
        ASSERT_TRUE(eventually([&sim] { return sim.blocksStored() == 1; }));
        // The client closes and reopens between the transfers.
        port.close();
        ASSERT_EQ(port.open("\\\\.\\COM3", 115200), 0);
        back.fill(0);
        ASSERT_EQ(receiveBlock(port, back, &moved), 0);
        EXPECT_EQ(moved, 624);
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

TEST(DeviceSimulator, ProbeAnswersAndFaultsOnTheLine) {
    ScratchDir dir;
    ScopedEnv ports("FILTARO_PORT_DIR", dir.path().string());
    DevsimOptions good = linkedAt(dir, "COM3");
    DevsimOptions wrong = linkedAt(dir, "COM255");
    wrong.faults.wrongIdent = true;
    wrong.faults.shortReply = 10;
    DeviceSimulator first(good), second(wrong);
    std::string error;
    ASSERT_TRUE(first.start(error)) << error;
    ASSERT_TRUE(second.start(error)) << error;

    SerialPort port;
    ASSERT_EQ(port.open("\\\\.\\COM3", 9600), 0);
    EXPECT_EQ(command(port, 0xCC), 0xCC);
    std::uint8_t ident = 0x00;
    ASSERT_EQ(port.write(&ident, 1), 0);
    ASSERT_EQ(port.read(&ident, 1), 0);
    EXPECT_EQ(ident, 0x01);

    ASSERT_EQ(port.open("\\\\.\\COM255", 9600), 0);
    EXPECT_EQ(command(port, 0xCC), 0xCC);
    ident = 0x00;
    ASSERT_EQ(port.write(&ident, 1), 0);
    ASSERT_EQ(port.read(&ident, 1), 0);
    EXPECT_EQ(ident, 0x02);

    // A short reply: the read times out part-way and says how much came.
    WireImage block{};
    int moved = 0;
    ASSERT_EQ(receiveBlock(port, block, &moved), 0);
    EXPECT_EQ(moved, 10);
}

TEST(DeviceSimulator, StaleBytesWaitOnTheLineUntilPurged) {
    ScratchDir dir;
    DevsimOptions options = linkedAt(dir, "COM3");
    options.faults.staleBytes = 3;
    DeviceSimulator sim(options);
    std::string error;
    ASSERT_TRUE(sim.start(error)) << error;

    SerialPort port;
    ASSERT_EQ(port.open(dir.file("COM3"), 9600), 0);
    std::uint8_t stale[3] = {};
    int moved = 0;
    ASSERT_EQ(port.read(stale, 3, &moved), 0);
    EXPECT_EQ(moved, 3);
    EXPECT_EQ(stale[0], 0x77);

    // After an answer they come again; the purge before the next command
    // keeps them from passing for its acknowledge.
    EXPECT_EQ(command(port, 0xCC), 0xCC);
    std::uint8_t ident = 0x00;
    ASSERT_EQ(port.write(&ident, 1), 0);
    ASSERT_EQ(port.read(&ident, 1), 0);
    EXPECT_EQ(ident, 0x01);
    WireImage block{};
    ASSERT_EQ(receiveBlock(port, block, &moved), 0);
    EXPECT_EQ(moved, 624);
    EXPECT_EQ(block, defaultWireImage());
}

TEST(DeviceSimulator, PacedOutputStillCarriesTheBlock) {
    ScratchDir dir;
    DevsimOptions options = linkedAt(dir, "COM3");
    options.baud = 115200;
    DeviceSimulator sim(options);
    std::string error;
    ASSERT_TRUE(sim.start(error)) << error;
    SerialPort port;
    ASSERT_EQ(port.open(dir.file("COM3"), 115200), 0);
    WireImage block{};
    int moved = 0;
    ASSERT_EQ(receiveBlock(port, block, &moved), 0);
    EXPECT_EQ(moved, 624);
    EXPECT_EQ(block, defaultWireImage());
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

TEST(DeviceSimulator, ExecutablePrintsItsPtyAndCleansUpOnTerminate) {
    ScratchDir dir;
    const std::string link = dir.file("COM3");
    DevsimProcess process({"--link", link, "--memory", dir.file("memory.bin")});
    EXPECT_EQ(fs::read_symlink(link), process.ptyPath());
    {
        SerialPort port;
        ASSERT_EQ(port.open(link, 9600), 0);
        const WireImage block = everyByteValue();
        ASSERT_EQ(sendBlock(port, block), 0);
        const std::string memory = dir.file("memory.bin");
        ASSERT_TRUE(eventually(
            [&] { return readFileBytes(memory) == std::string(block.begin(), block.end()); }));
        WireImage back{};
        int moved = 0;
        ASSERT_EQ(receiveBlock(port, back, &moved), 0);  // after the block was taken
        EXPECT_EQ(back, everyByteValue());
    }
    EXPECT_EQ(process.stop(), 0);
    EXPECT_FALSE(fs::exists(fs::symlink_status(link)));
    const WireImage block = everyByteValue();
    EXPECT_EQ(readFileBytes(dir.file("memory.bin")), std::string(block.begin(), block.end()));

    EXPECT_THROW(DevsimProcess({"--fault", "loud"}), std::runtime_error);
}
