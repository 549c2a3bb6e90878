// The main view's device commands: send and receive all presets, choose the
// COM port, search the device.

#include <QDialog>
#include <memory>

#include "device/CommError.h"
#include "device/DevicePort.h"
#include "device/DeviceSearch.h"
#include "device/PresetTransfer.h"
#include "forms/ModalRunner.h"
#include "model/ParameterImage.h"
#include "platform/UserServices.h"
#include "response/ChannelResponse.h"
#include "storage/Ini.h"
#include "ui/CComPortDlg.h"
#include "view/CSonaroView.h"

namespace {

constexpr const char* SendingText = "Daten werden übertragen";
constexpr const char* ReceivingText = "Daten werden empfangen";
constexpr const char* HeadroomWarning =
    "Equalizer-Level zu hoch! Dies kann zu Verzerrungen führen.";
constexpr const char* HeadroomTitle = "Achtung";

}  // namespace

void CSonaroView::onSend(int) {
    ParameterImage* image = this->image();
    if (!image) {
        return;
    }
    emit statusTextChanged(QString::fromUtf8(SendingText));
    // The check looks at the curves of the active preset. An edit the timer
    // has not drawn yet (a click on send within the same tick) is checked
    // too, without taking the redraw away from the timer.
    int headroom = 0;
    if (image->redrawPending() == 1) {
        const auto current = std::make_unique<ChannelResponses>();
        computeResponses(*image, *current);
        headroom = checkHeadroom(*current);
    } else {
        headroom = checkHeadroom(*m_pResponses);
    }
    if (headroom != 0) {
        // A warning only: the user may want exactly this boost.
        userServices().messageBox(HeadroomWarning, HeadroomTitle, MessageIcon::Warning);
    }
    sendAllPresets(*image, m_session.port);
    emit statusTextChanged(QString());
}

void CSonaroView::onReceive(int) {
    ParameterImage* image = this->image();
    if (!image) {
        return;
    }
    emit statusTextChanged(QString::fromUtf8(ReceivingText));
    receiveAllPresets(*image, m_session.port);
    // After a failure the image is unchanged; the refresh then only brings
    // back what a copy dialog may have changed meanwhile.
    refreshPanels();
    emit statusTextChanged(QString());
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
    if (port.open(devicePathForPort(portName), ini.baudRate) != CommOk) {
        // The port stays closed and the stored name unchanged; the next
        // transfer fails with its own message.
        showCommError(ErrPortNotResponding, LanguageGerman);
        return;
    }
    rememberPortName(portName);
}

void CSonaroView::onDeviceSearch(int) {
    searchDevice(m_session.port);
}
