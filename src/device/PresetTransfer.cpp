#include "device/PresetTransfer.h"

#include "device/DeviceLink.h"
#include "device/WireImage.h"
#include "model/ParameterImage.h"
#include "platform/UserServices.h"

CommErrorCode sendAllPresets(const ParameterImage& image, BytePort& port, SendPause pause) {
    const WireImage wire = encodeWireImage(image);
    WaitCursor waitCursor;
    const CommErrorCode result = DeviceLink(port).sendWireImage(wire);
    if (result < 0) {
        showCommError(ErrPortNotResponding, LanguageGerman);
    } else if (pause == SendPause::AfterSuccess) {
        userServices().sleepMs(SendSettleMs);
    }
    return result;
}

CommErrorCode receiveAllPresets(ParameterImage& image, BytePort& port) {
    WireImage wire{};
    const CommErrorCode result = DeviceLink(port).receiveWireImage(wire);
    if (result < 0) {
        showCommError(ErrPortNotResponding, LanguageGerman);
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
