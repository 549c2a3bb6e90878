// While a transfer, its pause or the device search runs, the window takes no
// input, and it shows how far the work has got.

#include <QApplication>
#include <QMouseEvent>

#include "device/DeviceLink.h"
#include "view/CommandIds.h"
#include "view/ViewCommandFixture.h"

namespace {

// A mouse event at the middle of `w`, as the window system hands it in.
QMouseEvent* mouseEvent(QEvent::Type type, QWidget* w) {
    const QPointF at = QRectF(w->rect()).center();
    return new QMouseEvent(type, at, w->mapToGlobal(at), Qt::LeftButton,
                           type == QEvent::MouseButtonRelease ? Qt::NoButton : Qt::LeftButton,
                           Qt::NoModifier);
}

class Busy : public ViewCommandTest {
protected:
    // The user's double click on `w`: press, release, the second press
    // (reported as a double click) and its release.
    void doubleClick(QWidget* w) {
        for (QEvent::Type type : {QEvent::MouseButtonPress, QEvent::MouseButtonRelease,
                                  QEvent::MouseButtonDblClick, QEvent::MouseButtonRelease}) {
            QCoreApplication::postEvent(w, mouseEvent(type, w));
        }
        QApplication::processEvents();
    }
    // How often the device was asked for its block.
    long receivesAsked() {
        const auto& bytes = line().received(1);
        return std::count(bytes.begin(), bytes.end(), ReceiveCommandByte);
    }
};

TEST_F(Busy, ADoubleClickOnSendOrReceiveIsOneTransfer) {
    attachDevice();
    start();
    doubleClick(view().sendButton());
    EXPECT_EQ(line().blocksStored(1), 1);

    const long asked = receivesAsked();  // the send's check reads back too
    doubleClick(view().receiveButton());
    EXPECT_EQ(receivesAsked(), asked + 1);
}

TEST_F(Busy, ClicksAndKeysDuringATransferComeToNothing) {
    attachDevice();
    start();
    QApplication::setActiveWindow(&run.frame());
    ASSERT_TRUE(QTest::qWaitForWindowActive(&run.frame()));
    image().setField(0, 0, ChannelField::level, -3);
    // During the pause after the send the user clicks send and receive
    // again, picks preset 3 and presses Ctrl+N.
    ui.duringSleep = [this](unsigned) {
        for (QWidget* w : {static_cast<QWidget*>(view().sendButton()),
                           static_cast<QWidget*>(view().receiveButton()),
                           static_cast<QWidget*>(view().presetButton(2))}) {
            QCoreApplication::postEvent(w, mouseEvent(QEvent::MouseButtonPress, w));
            QCoreApplication::postEvent(w, mouseEvent(QEvent::MouseButtonRelease, w));
        }
        QTest::keyClick(&run.frame(), Qt::Key_N, Qt::ControlModifier);
    };
    const long asked = receivesAsked();
    clickSend();
    ui.duringSleep = nullptr;
    QApplication::processEvents();

    EXPECT_EQ(line().blocksStored(1), 1);
    EXPECT_EQ(receivesAsked(), asked + 1) << "only the check after the send";
    EXPECT_EQ(checkedPresetButton(), 0);
    EXPECT_EQ(image().field(0, 0, ChannelField::level), -3) << "no New";

    // Afterwards the window takes clicks and keys as before.
    clickPreset(2);
    EXPECT_EQ(checkedPresetButton(), 2);
    QTest::keyClick(&run.frame(), Qt::Key_N, Qt::ControlModifier);
    EXPECT_EQ(image().field(0, 0, ChannelField::level), 0) << "New";
}

TEST_F(Busy, TransfersAndTheSearchShowHowFarTheyHaveGot) {
    line().attachDevice(3);
    start();
    ASSERT_TRUE(command(CmdDeviceSearch));
    EXPECT_EQ(ui.progressSteps.front(), (RecordedProgress{ProgressUnit::Ports, 0, 255}));
    EXPECT_EQ(ui.progressSteps.back(), (RecordedProgress{ProgressUnit::Ports, 2, 255}));

    ui.progressSteps.clear();
    ASSERT_TRUE(command(CmdReceive));
    std::vector<int> bytes;
    for (const RecordedProgress& step : ui.progressSteps) {
        EXPECT_EQ(step.unit, ProgressUnit::Bytes);
        EXPECT_EQ(step.total, 624);
        bytes.push_back(step.done);
    }
    ASSERT_EQ(bytes.size(), 14u);
    EXPECT_EQ(bytes.front(), 0);
    EXPECT_EQ(bytes[1], 48);
    EXPECT_EQ(bytes.back(), 624);

    // A send: the block out, the pause (counted down by the window's own
    // wait), the block back in.
    ui.progressSteps.clear();
    clickSend();
    EXPECT_EQ(ui.progressSteps.size(), 28u);
    EXPECT_EQ(ui.sleeps, std::vector<unsigned>{6000});
}

}  // namespace
