// The protocol against a closed port and against a far end that never
// answers. Exchanges with a device that answers are in tests/tools, against
// the simulator.

#include <gtest/gtest.h>
#include <poll.h>

#include <filesystem>

#include "device/CommError.h"
#include "device/DeviceLink.h"
#include "device/PresetTransfer.h"
#include "device/SerialPort.h"
#include "model/ParameterImage.h"
#include "support/PtyPair.h"
#include "support/RecordingUserServices.h"
#include "support/ScratchDir.h"

namespace {

WireImage countingBlock() {
    WireImage wire{};
    for (std::size_t i = 0; i < wire.size(); ++i) wire[i] = static_cast<std::uint8_t>(i);
    return wire;
}

TEST(DeviceLink, ClosedPortFailsEveryExchangeWithoutTouchingTheLineOrTheDestination) {
    ScratchDir dir(true);
    SerialPort port;
    DeviceLink link(port);
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
    EXPECT_EQ(link.sendWireImage(countingBlock()), ErrPortNotInitialized);
    const WireImage sent = countingBlock();
    EXPECT_EQ(readFileBytes(SendDumpFileName), std::string(sent.begin(), sent.end()));
}

TEST(DeviceLink, SilentDeviceGetsOnlyTheCommandByteAndFailsTheHandshake) {
    ScratchDir dir(true);
    PtyPair far;
    SerialPort port;
    ASSERT_EQ(port.open(far.slavePath(), 9600), 0);
    EXPECT_EQ(DeviceLink(port).sendWireImage(countingBlock()), ErrHandshake);
    EXPECT_EQ(far.receive(1), std::vector<std::uint8_t>{SendCommandByte});
    pollfd more{far.master(), POLLIN, 0};
    EXPECT_EQ(poll(&more, 1, 0), 0) << "no data byte may follow a failed handshake";
    EXPECT_EQ(std::filesystem::file_size(SendDumpFileName), WireImageSize);
}

TEST(PresetTransfer, FailuresShowTheOneGermanMessageAndKeepTheImage) {
    ScratchDir dir(true);
    RecordingUserServices ui;
    SerialPort port;
    ParameterImage image;
    applyDefaults(image);
    image.setSixChannels(0);
    image.setField(2, 3, ChannelField::level, 5);

    EXPECT_EQ(sendAllPresets(image, port), ErrPortNotInitialized);
    EXPECT_TRUE(ui.sleeps.empty()) << "no pause after a failed send";
    EXPECT_EQ(ui.waitCursorShown, 1);
    EXPECT_EQ(ui.waitCursorDepth, 0);

    ParameterImage expected = image;
    expected.setRedrawPending(1);
    EXPECT_EQ(receiveAllPresets(image, port), ErrPortNotInitialized);
    EXPECT_EQ(image, expected);
    EXPECT_EQ(ui.waitCursorShown, 1) << "receiving shows no wait cursor";

    ASSERT_EQ(ui.messages.size(), 2u);
    for (const auto& m : ui.messages) {
        EXPECT_EQ(m.text, "Schnittstelle antwortet nicht!");
        EXPECT_EQ(m.title,
                  "\xC3\x9C"
                  "bertragungsfehler");
        EXPECT_EQ(m.icon, MessageIcon::Stop);
    }
}

}  // namespace
