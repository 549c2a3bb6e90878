// The protocol and the preset transfers against the simulated device over
// real pseudo-terminals.

#include <gtest/gtest.h>

#include <filesystem>

#include "device/CommError.h"
#include "device/DeviceLink.h"
#include "device/DevicePort.h"
#include "device/PresetTransfer.h"
#include "device/SerialPort.h"
#include "model/ParameterImage.h"
#include "support/RecordingUserServices.h"
#include "support/ScratchDir.h"
#include "tools/SimulatedPorts.h"

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

class DeviceLinkSim : public ::testing::Test {
protected:
    void openCom1() { ASSERT_EQ(port.open(devicePathForPort("COM1"), 9600), 0); }

    ScratchDir cwd{true};  // the dump files land here
    SimulatedPorts ports;
    SerialPort port;
    RecordingUserServices ui;
};

TEST_F(DeviceLinkSim, EveryByteValueSurvivesSendAndReceive) {
    DeviceSimulator& device = ports.add(1);
    openCom1();
    DeviceLink link(port);
    const WireImage block = allByteValues();
    ASSERT_EQ(link.sendWireImage(block), CommOk);
    ASSERT_TRUE(SimulatedPorts::waitForBlocks(device, 1));
    EXPECT_EQ(device.memory(), block);
    EXPECT_EQ(readFileBytes(SendDumpFileName), asString(block));

    WireImage received{};
    ASSERT_EQ(link.receiveWireImage(received), CommOk);
    EXPECT_EQ(received, block);
    EXPECT_EQ(readFileBytes(ReceiveDumpFileName), asString(block));
}

TEST_F(DeviceLinkSim, PresetsRoundTripThroughTheImage) {
    DeviceSimulator& device = ports.add(1);
    openCom1();
    ParameterImage image;
    applyDefaults(image);
    for (int p = 0; p < PresetCount; ++p) {
        for (int c = 0; c < ChannelCount; ++c) {
            image.setField(p, c, ChannelField::delayTaps, 100 * p + 7 * c + 2801 * (c >= 4));
            image.setField(p, c, ChannelField::hpType, (p + c) % 10);
            image.setField(p, c, eqLevelField(c), -12 + p);
        }
    }
    EXPECT_EQ(sendAllPresets(image, port), CommOk);
    EXPECT_EQ(ui.sleeps, std::vector<unsigned>{SendSettleMs});
    EXPECT_EQ(ui.waitCursorShown, 1);
    EXPECT_EQ(ui.waitCursorDepth, 0);
    ASSERT_TRUE(SimulatedPorts::waitForBlocks(device, 1));
    EXPECT_EQ(device.memory(), encodeWireImage(image));

    // A receive into an image with other records brings the device's records
    // and sets sixChannels; header and reserved fields stay.
    ParameterImage target;
    applyDefaults(target);
    target.setSixChannels(0);
    target.setActivePreset(2);
    target.setField(1, 4, ChannelField::reserved, -99);
    EXPECT_EQ(receiveAllPresets(target, port), CommOk);
    EXPECT_EQ(target.sixChannels(), 1);
    EXPECT_EQ(target.redrawPending(), 1);
    EXPECT_EQ(target.activePreset(), 2);
    EXPECT_EQ(target.field(1, 4, ChannelField::reserved), -99);
    for (int p = 0; p < PresetCount; ++p) {
        for (int c = 0; c < ChannelCount; ++c) {
            ChannelRecord want = image.record(p, c);
            want.reserved = target.field(p, c, ChannelField::reserved);
            EXPECT_EQ(target.record(p, c), want) << p << ' ' << c;
        }
    }
    EXPECT_TRUE(ui.messages.empty());
}

TEST_F(DeviceLinkSim, WrongAcknowledgeIsAHandshakeErrorAndMovesNoData) {
    DeviceSimulator& device = ports.add(1, {.wrongAck = true});
    openCom1();
    DeviceLink link(port);
    EXPECT_EQ(link.sendWireImage(allByteValues()), ErrHandshake);
    WireImage destination{};
    EXPECT_EQ(link.receiveWireImage(destination), ErrHandshake);
    EXPECT_EQ(destination, WireImage{});
    EXPECT_FALSE(std::filesystem::exists(ReceiveDumpFileName));
    EXPECT_EQ(device.blocksStored(), 0);
    EXPECT_EQ(device.memory(), defaultWireImage());
}

TEST_F(DeviceLinkSim, ShortReplyIsAReceiveErrorAndChangesNothing) {
    ports.add(1, {.shortReply = 300});
    openCom1();
    writeFileBytes(ReceiveDumpFileName, "earlier dump");
    WireImage destination{};
    destination.fill(0x42);
    const WireImage before = destination;
    EXPECT_EQ(DeviceLink(port).receiveWireImage(destination), ErrReceive);
    EXPECT_EQ(destination, before);
    EXPECT_EQ(readFileBytes(ReceiveDumpFileName), "earlier dump");

    ParameterImage image;
    applyDefaults(image);
    image.setSixChannels(0);
    ParameterImage expected = image;
    expected.setRedrawPending(1);
    EXPECT_EQ(receiveAllPresets(image, port), ErrReceive);
    EXPECT_EQ(image, expected) << "nothing of a cut-short block may be decoded";
    ASSERT_EQ(ui.messages.size(), 1u);
    EXPECT_EQ(ui.messages[0].text, "Schnittstelle antwortet nicht!");
}

TEST_F(DeviceLinkSim, StaleBytesOnTheLineNeverCountAsAnAnswer) {
    // The simulator queues acknowledge-, echo- and identification-like bytes
    // before the first command and after every answer.
    DeviceSimulator& device = ports.add(1, {.staleBytes = 7});
    openCom1();
    DeviceLink link(port);
    const WireImage block = allByteValues();
    for (int round = 0; round < 2; ++round) {
        ASSERT_EQ(link.sendWireImage(block), CommOk) << round;
        ASSERT_TRUE(SimulatedPorts::waitForBlocks(device, round + 1));
        WireImage received{};
        ASSERT_EQ(link.receiveWireImage(received), CommOk) << round;
        EXPECT_EQ(received, block) << round;
        EXPECT_EQ(link.probeDevice(), CommOk) << round;
    }
    EXPECT_EQ(device.blocksStored(), 2);
}

TEST_F(DeviceLinkSim, ProbeAcceptsOnlyTheEchoFollowedByTheIdentification) {
    ports.add(1);
    ports.add(2, {.wrongIdent = true});
    ports.add(3, {.noIdent = true});
    openCom1();
    EXPECT_EQ(DeviceLink(port).probeDevice(), CommOk);
    ASSERT_EQ(port.open(devicePathForPort("COM2"), 9600), 0);
    EXPECT_EQ(DeviceLink(port).checkEcho(), CommOk);
    EXPECT_EQ(DeviceLink(port).probeDevice(), ErrHandshake);  // answers 0x02
    ASSERT_EQ(port.open(devicePathForPort("COM3"), 9600), 0);
    EXPECT_EQ(DeviceLink(port).probeDevice(), ErrHandshake);  // answers nothing: 0xFF stays
}

TEST_F(DeviceLinkSim, DumpFilesThatCannotBeWrittenAreSkipped) {
    DeviceSimulator& device = ports.add(1);
    openCom1();
    std::filesystem::create_directory(SendDumpFileName);
    std::filesystem::create_directory(ReceiveDumpFileName);
    DeviceLink link(port);
    const WireImage block = allByteValues();
    EXPECT_EQ(link.sendWireImage(block), CommOk);
    ASSERT_TRUE(SimulatedPorts::waitForBlocks(device, 1));
    WireImage received{};
    EXPECT_EQ(link.receiveWireImage(received), CommOk);
    EXPECT_EQ(received, block);
    EXPECT_TRUE(std::filesystem::is_directory(SendDumpFileName));
}

}  // namespace
