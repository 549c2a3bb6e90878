// The device search over COM ports simulated in memory.

#include <gtest/gtest.h>

#include <filesystem>

#include "device/DeviceLink.h"
#include "device/DeviceSearch.h"
#include "platform/PrivateProfile.h"
#include "simulator/SimulatedPort.h"
#include "storage/Ini.h"
#include "support/RecordingUserServices.h"
#include "support/ScratchDir.h"

namespace {

// What the file holds, not the default a missing "Port" stands for.
std::string iniPort() {
    return PrivateProfile::read(IniFileName)
        .value(IniSectionCommunication, IniKeyPort)
        .value_or(std::string());
}

class DeviceSearch : public ::testing::Test {
protected:
    ScratchDir cwd{true};  // FILTARO.INI lives here
    SimulatedPort line;
    RecordingUserServices ui;
};

TEST_F(DeviceSearch, FindsTheDeviceOnCom3PastOtherPortsAndRecordsIt) {
    writeFileBytes(IniFileName, "[COMMUNICATION]\nPort=COM7\nBaudrate=19200\n");
    line.holdPort(1);                            // fails to open, at once
    line.attachDevice(2, {.wrongIdent = true});  // echoes, then answers 0x02
    line.attachDevice(3);
    line.attachDevice(4);

    EXPECT_EQ(searchDevice(line), 3);
    EXPECT_EQ(ui.statusTexts,
              (std::vector<std::string>{"Suche an COM 1", "Suche an COM 2", "Suche an COM 3", ""}));
    ASSERT_EQ(ui.messages.size(), 1u);
    EXPECT_EQ(ui.messages[0].text, "Ger\xC3\xA4t an Port COM3 gefunden!");
    EXPECT_EQ(ui.messages[0].title, "Erfolg");
    EXPECT_EQ(ui.messages[0].icon, MessageIcon::None);
    EXPECT_EQ(iniPort(), "COM3");
    EXPECT_EQ(readFileBytes(IniFileName), "[COMMUNICATION]\nPort=COM3\nBaudrate=19200\n");
    EXPECT_EQ(ui.waitCursorShown, 1);
    EXPECT_EQ(ui.waitCursorDepth, 0);
    EXPECT_TRUE(line.received(4).empty()) << "the search ends at the first device";

    // Left open on the device at the configured rate, ready for a transfer.
    EXPECT_EQ(line.openPort(), 3);
    EXPECT_EQ(line.baudRate(), 19200);
    WireImage received{};
    EXPECT_EQ(DeviceLink(line).receiveWireImage(received), CommOk);
    EXPECT_EQ(received, defaultWireImage());
}

TEST_F(DeviceSearch, FindsTheDeviceOnTheLastPort) {
    line.attachDevice(255);
    EXPECT_EQ(searchDevice(line), 255);
    EXPECT_EQ(ui.statusTexts.size(), 256u);
    EXPECT_EQ(ui.statusTexts[254], "Suche an COM 255");
    ASSERT_EQ(ui.messages.size(), 1u) << "no failure message after the last port";
    EXPECT_EQ(ui.messages[0].text, "Ger\xC3\xA4t an Port COM255 gefunden!");
    EXPECT_EQ(iniPort(), "COM255");
    EXPECT_EQ(line.openPort(), 255);
}

TEST_F(DeviceSearch, NoDeviceShowsTheFailureOnceAndLeavesTheIniAlone) {
    const std::string ini = "; hand-made\r\n[COMMUNICATION]\r\nPort=COM9\r\n";
    writeFileBytes(IniFileName, ini);
    line.attachDevice(5, {.wrongIdent = true});
    line.attachDevice(255, {.silent = true});
    EXPECT_EQ(searchDevice(line), 0);
    ASSERT_EQ(ui.messages.size(), 1u);
    EXPECT_EQ(ui.messages[0].text, "Ger\xC3\xA4t wurde an keiner Schnittestelle gefunden!");
    EXPECT_EQ(ui.messages[0].title, "Fehler");
    EXPECT_EQ(ui.messages[0].icon, MessageIcon::None);
    EXPECT_EQ(ui.statusTexts.size(), 256u);
    EXPECT_EQ(ui.statusTexts.back(), "");
    EXPECT_EQ(readFileBytes(IniFileName), ini);
    EXPECT_EQ(ui.waitCursorDepth, 0);
    // COM255 opened and only its probe failed, so it stays open; its silence
    // cost a real port the one-byte read time-out.
    EXPECT_EQ(line.openPort(), 255);
    EXPECT_EQ(line.elapsedMs(), 1000);
}

TEST_F(DeviceSearch, WarnsWhenTheFoundPortCannotBeRecorded) {
    std::filesystem::create_directory(IniFileName);  // no INI can be written here
    line.attachDevice(1);
    EXPECT_EQ(searchDevice(line), 1);
    ASSERT_EQ(ui.messages.size(), 2u);
    EXPECT_EQ(ui.messages[0].title, "Erfolg");
    EXPECT_EQ(ui.messages[1].text, "Der Port konnte nicht in FILTARO.INI gespeichert werden.");
    EXPECT_EQ(ui.messages[1].icon, MessageIcon::Warning);
    EXPECT_TRUE(line.isOpen());
}

}  // namespace
