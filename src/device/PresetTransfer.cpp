#include "device/PresetTransfer.h"

#include "device/CommError.h"
#include "device/DeviceLink.h"
#include "device/WireImage.h"
#include "model/ParameterImage.h"
#include "platform/UserServices.h"

int sendAllPresets(const ParameterImage& image, SerialPort& port, SendPause pause) {
    const WireImage wire = encodeWireImage(image);
    WaitCursor waitCursor;
    const int result = DeviceLink(port).sendWireImage(wire);
    if (result < 0) {
        showCommError(ErrPortNotResponding, LanguageGerman);
    } else if (pause == SendPause::AfterSuccess) {
        userServices().sleepMs(SendSettleMs);
    }
    return result;
}

int receiveAllPresets(ParameterImage& image, SerialPort& port) {
    WireImage wire{};
    const int result = DeviceLink(port).receiveWireImage(wire);
    if (result < 0) {
        showCommError(ErrPortNotResponding, LanguageGerman);
    } else {
        image.setSixChannels(1);
        decodeWireImage(wire, image);
    }
    image.setRedrawPending(1);
    return result;
}
