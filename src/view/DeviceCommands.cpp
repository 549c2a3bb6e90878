// The device commands: send and receive all presets, choose the COM port,
// search the device, compare with it and switch the check after a send.
// While a transfer, its pause or the search runs, the window's input is
// discarded (InputDiscarder).

#include <QAction>
#include <QDialog>
#include <memory>
#include <optional>
#include <vector>

#include "device/CommError.h"
#include "device/DeviceCompare.h"
#include "device/DevicePort.h"
#include "device/DeviceSearch.h"
#include "device/PreSendCheck.h"
#include "device/PresetTransfer.h"
#include "forms/ModalRunner.h"
#include "platform/UserServices.h"
#include "response/SendHeadroom.h"
#include "storage/Ini.h"
#include "storage/ProgramOptions.h"
#include "ui/CComPortDlg.h"
#include "ui/CompareDialog.h"
#include "view/CSonaroView.h"
#include "view/Commands.h"
#include "view/InputDiscarder.h"

namespace {

constexpr const char* SendingText = "Daten werden übertragen";
constexpr const char* ReceivingText = "Daten werden empfangen";
constexpr const char* SentText = "Alle vier Presets gesendet.";
constexpr const char* SentAndVerifiedText =
    "Gesendet und geprüft: Gerät und Programm stimmen überein.";
constexpr const char* OptionNotStored =
    "Die Einstellung konnte nicht in FILTARO.INI gespeichert werden.";

// nullptr: the status text goes.
void showStatus(CSonaroView& view, const char* text) {
    emit view.statusTextChanged(text ? QString::fromUtf8(text) : QString());
}

// After a send: reads the block back and shows where the device differs.
// True when the device holds what was sent.
bool verifySend(CSonaroView& view) {
    showStatus(view, VerifyingText);
    std::vector<FieldDifference> differences;
    if (view.document().verifySend(differences) != CommOk) {
        return false;
    }
    if (differences.empty()) {
        return true;
    }
    CompareDialog dialog(QString::fromUtf8(VerifyFailedTitle), QString::fromUtf8(VerifyFailedText),
                         VerifyColumns, differences, false, view.window());
    runModal(dialog);
    return false;
}

}  // namespace

void onSend(CSonaroView& view) {
    const ParameterImage& image = view.image();
    InputDiscarder busy;
    showStatus(view, SendingText);
    // Nothing goes to the device that it would hold otherwise than the
    // window shows, unless the user says so.
    const std::vector<SendFinding> findings = checkBeforeSend(image);
    if (!findings.empty() &&
        userServices().askYesNo(preSendMessage(findings), PreSendTitle, MessageIcon::Warning,
                                Answer::No) != Answer::Yes) {
        showStatus(view, nullptr);
        return;
    }
    // All four presets are sent, so all four are checked. A warning only:
    // the user may want exactly this boost.
    const std::optional<HeadroomExcess> excess = firstAboveHeadroom(image);
    if (excess) {
        userServices().messageBox(headroomWarning(*excess), HeadroomWarningTitle,
                                  MessageIcon::Warning);
    }
    if (!findings.empty() || excess) {
        busy.catchUp();
    }
    std::optional<QString> done;
    if (view.document().send() == CommOk) {
        if (!verifyAfterSend()) {
            done = QString::fromUtf8(SentText);
        } else if (verifySend(view)) {
            done = QString::fromUtf8(SentAndVerifiedText);
        }
    }
    // A send that went through says so; a failure has said so already.
    showStatus(view, nullptr);
    if (done) {
        emit view.resultShown(*done);
    }
}

void onReceive(CSonaroView& view) {
    InputDiscarder busy;
    showStatus(view, ReceivingText);
    view.document().receive();
    showStatus(view, nullptr);
}

void onComPort(CSonaroView& view) {
    const IniSettings ini = loadIniSettings();
    CComPortDlg dialog(&view.image(), view.window());
    dialog.m_strPort = QString::fromStdString(ini.portName);
    if (runModal(dialog) != QDialog::Accepted) {
        return;
    }
    const std::string portName = dialog.m_strPort.toStdString();
    BytePort& port = view.document().port();
    port.close();
    view.document().forgetDeviceSettings();  // perhaps another device from now on
    if (port.open(devicePathForPort(portName), ini.baudRate) != CommOk) {
        // The port stays closed and the stored name unchanged; the next
        // transfer fails with its own message.
        showTransferFailure(port);
        return;
    }
    rememberPortName(portName);
}

void onDeviceSearch(CSonaroView& view) {
    InputDiscarder busy;
    view.document().forgetDeviceSettings();
    searchDevice(view.document().port());
}

void onCompareDevice(CSonaroView& view) {
    Document& document = view.document();
    // The device's block goes into a scratch image: the settings on screen
    // stay as they are.
    const auto result = std::make_unique<DeviceComparison>();
    {
        InputDiscarder busy;
        showStatus(view, ReceivingText);
        const CommErrorCode code = compareWithDevice(document.image(), document.port(), *result);
        showStatus(view, nullptr);
        if (code != CommOk) {
            return;  // the one message of a failed receive has been shown
        }
    }
    document.rememberDeviceSettings(result->device);
    CompareDialog dialog(QString::fromUtf8(CompareTitle), QString::fromUtf8(CompareIntro),
                         CompareColumns, result->differences, true, view.window());
    if (runModal(dialog) == CompareDialog::TakeDeviceSettings) {
        document.takeDeviceSettings(result->device);
    }
}

void onVerifyAfterSend(CSonaroView& view) {
    if (!setVerifyAfterSend(!verifyAfterSend())) {
        emit view.noticeShown(QString::fromUtf8(OptionNotStored));
    }
}

void ruleVerifyAfterSend(CSonaroView&, QAction& action) {
    action.setCheckable(true);
    action.setChecked(verifyAfterSend());
}
