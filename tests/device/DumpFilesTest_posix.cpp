// The dump files are the program's own names: a symbolic link planted there
// is replaced by the dump, and what it named stays as it was.

#include <gtest/gtest.h>

#include <filesystem>

#include "device/DeviceLink.h"
#include "platform/SerialPortNames.h"
#include "simulator/SimulatedPort.h"
#include "support/ScratchDir.h"

namespace {

namespace fs = std::filesystem;

TEST(DumpFiles, ReplaceALinkInsteadOfWritingThroughIt) {
    ScratchDir cwd{true};
    SimulatedPort line;
    line.attachDevice(1);
    ASSERT_EQ(line.open(devicePathForPort("COM1"), 9600), CommOk);
    writeFileBytes(".profile", "export PATH=/usr/bin\n");
    fs::create_symlink(".profile", SendDumpFileName);
    fs::create_symlink("elsewhere.bin", ReceiveDumpFileName);  // names no file yet

    WireImage block = defaultWireImage();
    block[7] = 0x42;
    WireImage received{};
    DeviceLink link(line);
    ASSERT_EQ(link.sendWireImage(block), CommOk);
    ASSERT_EQ(link.receiveWireImage(received), CommOk);
    for (const char* dump : {SendDumpFileName, ReceiveDumpFileName}) {
        EXPECT_FALSE(fs::is_symlink(dump)) << dump;
        EXPECT_EQ(readFileBytes(dump), std::string(block.begin(), block.end())) << dump;
    }
    EXPECT_EQ(readFileBytes(".profile"), "export PATH=/usr/bin\n");
    EXPECT_FALSE(fs::exists("elsewhere.bin"));
}

}  // namespace
