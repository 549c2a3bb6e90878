// The road of an edit from a panel to the device, and back from the device
// to the panels, through the whole program and a simulated device. The way
// out runs over the program's own serial port and a pseudo-terminal, the
// real line; the way back in memory.

#include <QComboBox>
#include <QLineEdit>

#include "device/DeviceLink.h"
#include "device/WireImage.h"
#include "response/ResponseGrid.h"
#include "view/CommandIds.h"
#include "view/ViewCommandFixture.h"

namespace {

class EndToEnd : public ViewCommandTest {};

TEST_F(EndToEnd, AGainPickedInAPanelReachesImageCurveWireAndDevice) {
    DeviceSimulator& device = run.attachPtyDevice();
    start();
    ASSERT_TRUE(view().redrawStep() || image().redrawPending() == 0);
    const int redraws = view().redrawCount();

    // Gain "3" in EQ2 of channel 1 (80 Hz, Q 1).
    pick(panel(0), IdEqLevel[1], QStringLiteral("3"));
    EXPECT_EQ(image().field(0, 0, eqLevelField(1)), 3);
    EXPECT_EQ(image().redrawPending(), 1);

    // The next tick draws the new curve, once.
    ASSERT_TRUE(view().redrawStep());
    EXPECT_EQ(view().redrawCount(), redraws + 1);
    EXPECT_EQ(image().redrawPending(), 0);
    int peak = 0;
    const ChannelResponse& curve = view().responses()[0];
    for (int j = 1; j < ResponsePointCount; ++j) {
        if (curve.db[j] > curve.db[peak]) peak = j;
    }
    EXPECT_NEAR(responseGridFrequency(peak), 80.0, 2.0);
    EXPECT_NEAR(curve.db[peak], 3.0, 0.05);
    EXPECT_NEAR(view().responses()[1].db[peak], 0.0, 1e-6);

    // The wire block carries the gain's code in channel 1, preset 1.
    const WireImage wire = encodeWireImage(image());
    EXPECT_EQ(wire[wireRecordOffset(0, 0) + wireEqLevelByte(1)], eqLevelToCode(3));

    // Send: the device's memory is the block, once it is through the pty.
    clickSend();
    EXPECT_TRUE(ui.messages.empty());
    ASSERT_TRUE(device.waitForBlocks(1));
    EXPECT_EQ(device.memory(), wire);
    EXPECT_EQ(readFileBytes(run.dir.file("Son_Send.bin")), std::string(wire.begin(), wire.end()));
}

TEST_F(EndToEnd, AReceiveShowsWhatChangedInTheDevice) {
    attachDevice();
    start();

    // Someone else's program stores other presets in the device.
    ParameterImage other;
    applyDefaults(other);
    other.setField(0, 0, ChannelField::level, -4);
    other.setField(0, 0, ChannelField::hpType, FilterButterworth24);
    other.setField(0, 5, ChannelField::delayTaps, 2000);
    other.setField(0, 3, eqFrequencyField(2), 1000);
    other.setField(2, 1, eqLevelField(4), -9);
    ASSERT_EQ(DeviceLink(document().port()).sendWireImage(encodeWireImage(other)), 0);
    ASSERT_EQ(line().blocksStored(1), 1);
    image().setSixChannels(0);
    image().setField(1, 1, ChannelField::reserved, 42);
    image().setRedrawPending(0);

    clickReceive();
    EXPECT_TRUE(ui.messages.empty());
    EXPECT_EQ(ui.statusTexts, (std::vector<std::string>{"Daten werden empfangen", ""}));
    EXPECT_EQ(image().field(0, 0, ChannelField::level), -4);
    EXPECT_EQ(image().field(2, 1, eqLevelField(4)), -9);
    EXPECT_EQ(image().field(1, 1, ChannelField::reserved), 42);  // never on the wire
    EXPECT_EQ(image().sixChannels(), 1);
    EXPECT_EQ(image().redrawPending(), 1);

    // Every panel shows preset 1 of the device, not only the one in front.
    EXPECT_EQ(dynamic_cast<QComboBox*>(panel(0).control(IdLevel))->currentText(), "-4");
    EXPECT_EQ(dynamic_cast<QComboBox*>(panel(0).control(IdHpType))->currentIndex(),
              FilterButterworth24);
    EXPECT_EQ(dynamic_cast<QLineEdit*>(panel(5).control(IdDelay))->text(), "2000");
    EXPECT_EQ(dynamic_cast<QLineEdit*>(panel(3).control(IdEqFrequency[2]))->text(), "1000");
    // And the third preset when the user selects it.
    ASSERT_TRUE(command(CmdPreset1 + 2));
    EXPECT_EQ(dynamic_cast<QComboBox*>(panel(1).control(IdEqLevel[4]))->currentText(), "-9");
}

}  // namespace
