// The main view's device commands: send and receive all presets, choose the
// COM port, search the device. While a transfer, its pause or the search
// runs, the window's input is discarded (InputDiscarder).

#include <QDialog>
#include <optional>

#include "device/CommError.h"
#include "device/DevicePort.h"
#include "device/DeviceSearch.h"
#include "device/PreSendCheck.h"
#include "device/PresetTransfer.h"
#include "device/WireImage.h"
#include "forms/ModalRunner.h"
#include "model/ParameterImage.h"
#include "platform/UserServices.h"
#include "response/SendHeadroom.h"
#include "storage/Ini.h"
#include "storage/ProgramOptions.h"
#include "ui/CComPortDlg.h"
#include "view/CSonaroView.h"
#include "view/InputDiscarder.h"

namespace {

constexpr const char* SendingText = "Daten werden übertragen";
constexpr const char* ReceivingText = "Daten werden empfangen";
constexpr const char* SentText = "Alle vier Presets gesendet.";
constexpr const char* SentAndVerifiedText =
    "Gesendet und geprüft: Gerät und Programm stimmen überein.";

// The settings as the device holds them after a send of `image`: what the
// wire coding makes of them.
ParameterImage asSent(const ParameterImage& image) {
    ParameterImage sent = image;
    decodeWireImage(encodeWireImage(image), sent);
    return sent;
}

}  // namespace

void CSonaroView::onSend(int) {
    ParameterImage* image = this->image();
    if (!image) {
        return;
    }
    InputDiscarder busy;
    emit statusTextChanged(QString::fromUtf8(SendingText));
    // Nothing goes to the device that it would hold otherwise than the
    // window shows, unless the user says so.
    const std::vector<SendFinding> findings = checkBeforeSend(*image);
    if (!findings.empty() &&
        userServices().askYesNo(preSendMessage(findings), PreSendTitle, MessageIcon::Warning,
                                Answer::No) != Answer::Yes) {
        emit statusTextChanged(QString());
        return;
    }
    // All four presets are sent, so all four are checked. A warning only:
    // the user may want exactly this boost.
    const std::optional<HeadroomExcess> excess = firstAboveHeadroom(*image);
    if (excess) {
        userServices().messageBox(headroomWarning(*excess), HeadroomWarningTitle,
                                  MessageIcon::Warning);
    }
    if (!findings.empty() || excess) {
        busy.catchUp();
    }
    const std::optional<ParameterImage>& device = m_session.deviceSettings;
    if (device && encodeWireImage(*device) != encodeWireImage(*image)) {
        m_backups.keepImage(*device, BackupOccasion::BeforeSend);
    }
    std::optional<QString> done;
    if (sendAllPresets(*image, m_session.port) == CommOk) {
        rememberDeviceSettings(asSent(*image));
        if (!verifyAfterSend()) {
            done = QString::fromUtf8(SentText);
        } else if (verifySend()) {
            done = QString::fromUtf8(SentAndVerifiedText);
        }
    }
    // A send that went through says so; a failure has said so already.
    emit statusTextChanged(QString());
    if (done) {
        emit resultShown(*done);
    }
}

void CSonaroView::onReceive(int) {
    ParameterImage* image = this->image();
    if (!image) {
        return;
    }
    InputDiscarder busy;
    emit statusTextChanged(QString::fromUtf8(ReceivingText));
    ChangeScope change(*this);
    const ParameterImage before = *image;
    if (receiveAllPresets(*image, m_session.port) == CommOk) {
        m_backups.keepImage(before, BackupOccasion::BeforeReceive);
        rememberDeviceSettings(*image);
    }
    // After a failure the image is unchanged; the refresh then only brings
    // back what a copy dialog may have changed meanwhile.
    refreshPanels();
    change.record(QStringLiteral("Empfangen"));
    emit statusTextChanged(QString());
}

void CSonaroView::rememberDeviceSettings(const ParameterImage& device) {
    m_session.deviceSettings = device;
}

void CSonaroView::onComPort(int) {
    const IniSettings ini = loadIniSettings();
    CComPortDlg dialog(image(), window());
    dialog.m_strPort = QString::fromStdString(ini.portName);
    if (runModal(dialog) != QDialog::Accepted) {
        return;
    }
    const std::string portName = dialog.m_strPort.toStdString();
    SessionPort& port = m_session.port;
    port.close();
    m_session.deviceSettings.reset();  // perhaps another device from now on
    if (port.open(devicePathForPort(portName), ini.baudRate) != CommOk) {
        // The port stays closed and the stored name unchanged; the next
        // transfer fails with its own message.
        showTransferFailure(port);
        return;
    }
    rememberPortName(portName);
}

void CSonaroView::onDeviceSearch(int) {
    InputDiscarder busy;
    m_session.deviceSettings.reset();
    searchDevice(m_session.port);
}
