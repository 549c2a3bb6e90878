// Sending and receiving all presets against the simulated device in memory.

#include <gtest/gtest.h>

#include "device/PresetTransfer.h"
#include "model/ParameterImage.h"
#include "platform/SerialPortNames.h"
#include "simulator/SimulatedPort.h"
#include "support/RecordingUserServices.h"
#include "support/ScratchDir.h"

namespace {

class PresetTransfer : public ::testing::Test {
protected:
    ScratchDir cwd{true};  // the dump files land here
    SimulatedPort line;
    RecordingUserServices ui;
};

TEST_F(PresetTransfer, PresetsRoundTripThroughTheImage) {
    line.attachDevice(1);
    ASSERT_EQ(line.open(devicePathForPort("COM1"), 9600), CommOk);
    ParameterImage image;
    applyDefaults(image);
    for (int p = 0; p < PresetCount; ++p) {
        for (int c = 0; c < ChannelCount; ++c) {
            image.setField(p, c, ChannelField::delayTaps, 100 * p + 7 * c + 2801 * (c >= 4));
            image.setField(p, c, ChannelField::hpType, (p + c) % 10);
            image.setField(p, c, eqLevelField(c), -12 + p);
        }
    }
    EXPECT_EQ(sendAllPresets(image, line), CommOk);
    EXPECT_EQ(ui.sleeps, std::vector<unsigned>{SendSettleMs});
    EXPECT_EQ(ui.waitCursorShown, 1);
    EXPECT_EQ(ui.waitCursorDepth, 0);
    EXPECT_EQ(line.memory(1), encodeWireImage(image));

    // A receive into an image with other records brings the device's records
    // and sets sixChannels; header and reserved fields stay.
    ParameterImage target;
    applyDefaults(target);
    target.setSixChannels(0);
    target.setActivePreset(2);
    target.setField(1, 4, ChannelField::reserved, -99);
    EXPECT_EQ(receiveAllPresets(target, line), CommOk);
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
    EXPECT_EQ(ui.waitCursorShown, 1) << "receiving shows no wait cursor";
    EXPECT_TRUE(ui.messages.empty());
}

TEST_F(PresetTransfer, FailuresShowTheOneGermanMessageAndKeepTheImage) {
    line.attachDevice(1, {.silent = true});
    line.attachDevice(2, {.shortReply = 300});
    struct Case {
        const char* port;  // nullptr: the port is closed
        CommErrorCode send, receive;
    };
    const Case cases[] = {{nullptr, ErrPortNotInitialized, ErrPortNotInitialized},
                          {"COM1", ErrHandshake, ErrHandshake},
                          {"COM2", CommOk, ErrReceive}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.port ? c.port : "closed");
        line.close();
        if (c.port) {
            ASSERT_EQ(line.open(devicePathForPort(c.port), 9600), CommOk);
        }
        ParameterImage image;
        applyDefaults(image);
        image.setSixChannels(0);
        image.setField(2, 3, ChannelField::level, 5);
        ui.messages.clear();
        ui.sleeps.clear();
        ui.waitCursorShown = 0;

        EXPECT_EQ(sendAllPresets(image, line), c.send);
        EXPECT_EQ(ui.sleeps.size(), c.send == CommOk ? 1u : 0u) << "no pause after a failed send";
        EXPECT_EQ(ui.waitCursorShown, 1);
        EXPECT_EQ(ui.waitCursorDepth, 0);

        ParameterImage expected = image;
        expected.setRedrawPending(1);
        EXPECT_EQ(receiveAllPresets(image, line), c.receive);
        EXPECT_EQ(image, expected) << "nothing of a failed receive may be decoded";
        EXPECT_EQ(ui.waitCursorShown, 1) << "receiving shows no wait cursor";

        ASSERT_EQ(ui.messages.size(), c.send == CommOk ? 1u : 2u);
        for (const auto& m : ui.messages) {
            EXPECT_EQ(m.text, "Schnittstelle antwortet nicht!");
            EXPECT_EQ(m.title,
                      "\xC3\x9C"
                      "bertragungsfehler");
            EXPECT_EQ(m.icon, MessageIcon::Stop);
        }
    }
}

}  // namespace
