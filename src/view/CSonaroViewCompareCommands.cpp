// Knowing what is on the device: "Mit Gerät vergleichen", the check after a
// send, and the menu item that switches that check.

#include <QAction>
#include <memory>

#include "device/DeviceCompare.h"
#include "forms/ModalRunner.h"
#include "model/ParameterImage.h"
#include "storage/ProgramOptions.h"
#include "ui/CompareDialog.h"
#include "view/CSonaroView.h"
#include "view/InputDiscarder.h"

namespace {

constexpr const char* ReadingText = "Daten werden empfangen";
constexpr const char* OptionNotStored =
    "Die Einstellung konnte nicht in FILTARO.INI gespeichert werden.";

}  // namespace

void CSonaroView::onCompareDevice(int) {
    ParameterImage* image = this->image();
    if (!image) {
        return;
    }
    // The device's block goes into a scratch image: the settings on screen
    // stay as they are.
    const auto result = std::make_unique<DeviceComparison>();
    {
        InputDiscarder busy;
        emit statusTextChanged(QString::fromUtf8(ReadingText));
        const CommErrorCode code = compareWithDevice(*image, m_session.port, *result);
        emit statusTextChanged(QString());
        if (code != CommOk) {
            return;  // the one message of a failed receive has been shown
        }
    }
    rememberDeviceSettings(result->device);
    CompareDialog dialog(QString::fromUtf8(CompareTitle), QString::fromUtf8(CompareIntro),
                         CompareColumns, result->differences, true, window());
    if (runModal(dialog) == CompareDialog::TakeDeviceSettings) {
        m_backups.keepImage(*image, BackupOccasion::BeforeReceive);
        applyChange(QString::fromUtf8(TakeDeviceSettingsText), result->device);
    }
}

bool CSonaroView::verifySend() {
    emit statusTextChanged(QString::fromUtf8(VerifyingText));
    std::vector<FieldDifference> differences;
    ParameterImage device;
    if (verifySentPresets(*image(), m_session.port, differences, &device) != CommOk) {
        m_session.deviceSettings.reset();  // what the device holds is unknown now
        return false;
    }
    // What the device really holds, also where it did not take what was
    // sent: the next send keeps it as a backup before it goes over it.
    rememberDeviceSettings(device);
    if (differences.empty()) {
        return true;
    }
    CompareDialog dialog(QString::fromUtf8(VerifyFailedTitle), QString::fromUtf8(VerifyFailedText),
                         VerifyColumns, differences, false, window());
    runModal(dialog);
    return false;
}

void CSonaroView::onVerifyAfterSend(int) {
    if (!setVerifyAfterSend(!verifyAfterSend())) {
        emit noticeShown(QString::fromUtf8(OptionNotStored));
    }
}

void CSonaroView::onUpdateVerifyAfterSend(int, QAction& action) {
    action.setCheckable(true);
    action.setChecked(verifyAfterSend());
}
