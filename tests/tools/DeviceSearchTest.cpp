// The device search over a port directory of simulated devices.

#include <gtest/gtest.h>

#include <filesystem>

#include "device/DeviceLink.h"
#include "device/DeviceSearch.h"
#include "device/SerialPort.h"
#include "storage/Ini.h"
#include "support/RecordingUserServices.h"
#include "support/ScratchDir.h"
#include "tools/SimulatedPorts.h"

namespace {

std::string iniPort() {
    std::string port;
    readIniString(IniSectionCommunication, IniKeyPort, port);
    return port;
}

class DeviceSearch : public ::testing::Test {
protected:
    ScratchDir cwd{true};  // FILTARO.INI lives here
    SimulatedPorts ports;
    SerialPort port;
    RecordingUserServices ui;
};

TEST_F(DeviceSearch, FindsTheDeviceOnCom3PastAWrongIdentificationAndRecordsIt) {
    writeFileBytes(IniFileName, "[COMMUNICATION]\nPort=COM7\nBaudrate=19200\n");
    ports.add(2, {.wrongIdent = true});  // echoes, then answers 0x02
    ports.add(3);
    ports.add(4);  // never reached

    EXPECT_EQ(searchDevice(port), 3);
    EXPECT_EQ(ui.statusTexts,
              (std::vector<std::string>{"Suche an COM1", "Suche an COM2", "Suche an COM3", ""}));
    ASSERT_EQ(ui.messages.size(), 1u);
    EXPECT_EQ(ui.messages[0].text, "Ger\xC3\xA4t an Port COM3 gefunden!");
    EXPECT_EQ(ui.messages[0].title, "Erfolg");
    EXPECT_EQ(ui.messages[0].icon, MessageIcon::None);
    EXPECT_EQ(iniPort(), "COM3");
    EXPECT_EQ(readFileBytes(IniFileName), "[COMMUNICATION]\nPort=COM3\nBaudrate=19200\n");
    EXPECT_EQ(ui.waitCursorShown, 1);
    EXPECT_EQ(ui.waitCursorDepth, 0);

    // Left open on the device at the configured rate, ready for a transfer.
    ASSERT_TRUE(port.isOpen());
    EXPECT_EQ(port.baudRate(), 19200);
    WireImage received{};
    EXPECT_EQ(DeviceLink(port).receiveWireImage(received), 0);
    EXPECT_EQ(received, defaultWireImage());
}

TEST_F(DeviceSearch, FindsTheDeviceOnTheLastPort) {
    ports.add(255);
    EXPECT_EQ(searchDevice(port), 255);
    EXPECT_EQ(ui.statusTexts.size(), 256u);
    EXPECT_EQ(ui.statusTexts[254], "Suche an COM255");
    ASSERT_EQ(ui.messages.size(), 1u) << "no failure message after the last port";
    EXPECT_EQ(ui.messages[0].text, "Ger\xC3\xA4t an Port COM255 gefunden!");
    EXPECT_EQ(iniPort(), "COM255");
    EXPECT_TRUE(port.isOpen());
}

TEST_F(DeviceSearch, NoDeviceShowsTheFailureOnceAndLeavesTheIniAlone) {
    const std::string ini = "; hand-made\r\n[COMMUNICATION]\r\nPort=COM9\r\n";
    writeFileBytes(IniFileName, ini);
    ports.add(5, {.wrongIdent = true});
    EXPECT_EQ(searchDevice(port), 0);
    ASSERT_EQ(ui.messages.size(), 1u);
    EXPECT_EQ(ui.messages[0].text, "Ger\xC3\xA4t wurde an keiner Schnittestelle gefunden!");
    EXPECT_EQ(ui.messages[0].title, "Fehler");
    EXPECT_EQ(ui.messages[0].icon, MessageIcon::None);
    EXPECT_EQ(ui.statusTexts.size(), 256u);
    EXPECT_EQ(ui.statusTexts.back(), "");
    EXPECT_EQ(readFileBytes(IniFileName), ini);
    EXPECT_EQ(ui.waitCursorDepth, 0);
}

TEST_F(DeviceSearch, WarnsWhenTheFoundPortCannotBeRecorded) {
    std::filesystem::create_directory(IniFileName);  // no INI can be written here
    ports.add(1);
    EXPECT_EQ(searchDevice(port), 1);
    ASSERT_EQ(ui.messages.size(), 2u);
    EXPECT_EQ(ui.messages[0].title, "Erfolg");
    EXPECT_EQ(ui.messages[1].text, "Der Port konnte nicht in FILTARO.INI gespeichert werden.");
    EXPECT_EQ(ui.messages[1].icon, MessageIcon::Warning);
    EXPECT_TRUE(port.isOpen());
}

}  // namespace
