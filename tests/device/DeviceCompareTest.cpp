// Comparing the program's settings with the device's, and the check after a
// send, against the simulated device in memory.

#include <gtest/gtest.h>

#include <memory>

#include "device/DeviceCompare.h"
#include "device/PresetTransfer.h"
#include "model/ParameterImage.h"
#include "platform/SerialPortNames.h"
#include "simulator/SimulatedPort.h"
#include "support/RecordingUserServices.h"
#include "support/ScratchDir.h"

// Readable failures.
void PrintTo(const FieldDifference& d, std::ostream* out) {
    *out << '{' << d.preset << ", " << d.channel << ", " << d.field << ", \"" << d.here << "\", \""
         << d.device << "\"}";
}

namespace {

ParameterImage defaults() {
    ParameterImage image;
    applyDefaults(image);
    return image;
}

class DeviceCompare : public ::testing::Test {
protected:
    void openDevice(const DevsimFaults& faults, const WireImage& memory) {
        line.attachDevice(1, faults, memory);
        ASSERT_EQ(line.open(devicePathForPort("COM1"), 9600), CommOk);
    }

    ScratchDir cwd{true};  // the dump files land here
    SimulatedPort line;
    RecordingUserServices ui;
    std::unique_ptr<DeviceComparison> result = std::make_unique<DeviceComparison>();
};

TEST_F(DeviceCompare, EqualSettingsGiveNoDifferenceAndLeaveTheProgramsImage) {
    ParameterImage here = defaults();
    here.setField(2, 4, ChannelField::reserved, 77);  // never travels: no difference
    here.setSixChannels(0);
    openDevice({}, defaultWireImage());
    const ParameterImage before = here;
    EXPECT_EQ(compareWithDevice(here, line, *result), CommOk);
    EXPECT_TRUE(result->differences.empty());
    EXPECT_EQ(here, before);
    EXPECT_EQ(result->device.record(2, 4), here.record(2, 4));
    EXPECT_EQ(result->device.sixChannels(), 1) << "what a receive would make of it";
    EXPECT_TRUE(ui.messages.empty());
}

TEST_F(DeviceCompare, DifferencesAreListedInThePanelsUnits) {
    ParameterImage onDevice = defaults();
    onDevice.setField(1, 2, ChannelField::level, 3);
    onDevice.setField(3, 5, eqFrequencyField(4), 200);
    onDevice.setField(3, 5, eqQField(4), 22);  // EQ5 as a low shelf
    openDevice({}, encodeWireImage(onDevice));
    ParameterImage here = defaults();
    here.setField(0, 0, ChannelField::hpType, 12);
    ASSERT_EQ(compareWithDevice(here, line, *result), CommOk);
    const std::vector<FieldDifference> expected = {
        {0, 0, 2, "Code 12", "Off"},
        {1, 2, 0, "0 dB", "3 dB"},
        {3, 5, eqFrequencyField(4), "2000 Hz", "200 Hz"},
        {3, 5, eqQField(4), "1.0", "0.5 (LowShelf)"},
    };
    EXPECT_EQ(result->differences, expected);
    EXPECT_EQ(compareSettings(here, result->device), expected);
}

TEST_F(DeviceCompare, AFailedReceiveShowsTheMessageAndKeepsTheResult) {
    openDevice({.shortReply = 100}, defaultWireImage());
    result->differences = {{0, 0, 0, "a", "b"}};
    EXPECT_EQ(compareWithDevice(defaults(), line, *result), ErrReceive);
    EXPECT_EQ(result->differences.size(), 1u);
    std::vector<FieldDifference> differences(2);
    EXPECT_EQ(verifySentPresets(defaults(), line, differences), ErrReceive);
    EXPECT_EQ(differences.size(), 2u);
    ASSERT_EQ(ui.messages.size(), 2u);
    EXPECT_EQ(ui.messages[1].text, "Schnittstelle antwortet nicht!");
}

TEST_F(DeviceCompare, VerifyFindsTheByteTheDeviceStoredWrong) {
    ParameterImage image = defaults();
    image.setField(1, 2, ChannelField::delayTaps, 300);  // travels as 1, 44
    const auto delayLow = static_cast<int>(wireRecordOffset(1, 2)) + WireDelayLow;
    for (const int corrupt : {-1, delayLow}) {
        SCOPED_TRACE(corrupt);
        openDevice({.corruptByte = corrupt}, defaultWireImage());
        ASSERT_EQ(sendAllPresets(image, line), CommOk);
        std::vector<FieldDifference> differences;
        ASSERT_EQ(verifySentPresets(image, line, differences), CommOk);
        if (corrupt < 0) {
            EXPECT_TRUE(differences.empty());
        } else {
            EXPECT_EQ(differences, (std::vector<FieldDifference>{
                                       {1, 2, 7, "300 Taps (1071.0 mm)", "301 Taps (1074.6 mm)"}}));
        }
    }
}

TEST(CompareWireImages, BytesThatDecodeAlikeAreShownWithTheirByte) {
    ParameterImage image = defaults();
    image.setField(0, 3, ChannelField::hpFrequency, 0);  // travels as 241, comes back as 0 Hz
    const WireImage sent = encodeWireImage(image);
    WireImage stored = sent;
    ++stored[wireRecordOffset(0, 3) + WireHpFrequency];
    ++stored[wireRecordOffset(2, 1) + WireInput];
    EXPECT_EQ(compareWireImages(sent, stored),
              (std::vector<FieldDifference>{{0, 3, 1, "0 Hz (Byte 241)", "0 Hz (Byte 242)"},
                                            {2, 1, 6, "L", "R"}}));
    EXPECT_TRUE(compareWireImages(sent, sent).empty());
}

}  // namespace
