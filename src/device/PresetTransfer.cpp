#include "device/PresetTransfer.h"

#include "device/DeviceLink.h"
#include "device/WireImage.h"
#include "model/ParameterImage.h"
#include "platform/SerialPortNames.h"
#include "platform/UserServices.h"

void showTransferFailure(const BytePort& port) {
    const PortOpenFailure& failure = port.openFailure();
    if (port.isOpen() || failure.reason != SerialOpenFailure::InUse) {
        showCommError(ErrPortNotResponding, LanguageGerman);
        return;
    }
    userServices().messageBox(portInUseText(failure), commErrorTitle(LanguageGerman),
                              MessageIcon::Stop);
}

std::string portInUseText(const PortOpenFailure& failure) {
    return "Die Schnittstelle " + portNameOfDevicePath(failure.devicePath) +
           " wird schon von einem anderen Programm benutzt, vielleicht von einem zweiten "
           "Filtaro-Fenster. Sobald sie frei ist, unter Kommunikation > Schnittstelle... neu "
           "wählen oder Filtaro neu starten.";
}

CommErrorCode sendAllPresets(const ParameterImage& image, BytePort& port, SendPause pause) {
    return sendAllPresets(encodeWireImage(image), port, pause);
}

CommErrorCode sendAllPresets(const WireImage& wire, BytePort& port, SendPause pause) {
    WaitCursor waitCursor;
    const CommErrorCode result = DeviceLink(port).sendWireImage(wire);
    if (result < 0) {
        showTransferFailure(port);
    } else if (pause == SendPause::AfterSuccess) {
        userServices().sleepMs(SendSettleMs);
    }
    return result;
}

CommErrorCode receiveAllPresets(ParameterImage& image, BytePort& port) {
    WireImage wire{};
    const CommErrorCode result = DeviceLink(port).receiveWireImage(wire);
    if (result < 0) {
        showTransferFailure(port);
        image.setRedrawPending(1);
    } else {
        takeReceivedBlock(wire, image);
    }
    return result;
}

void takeReceivedBlock(const WireImage& wire, ParameterImage& image) {
    image.setSixChannels(1);
    decodeWireImage(wire, image);
    image.setRedrawPending(1);
}
