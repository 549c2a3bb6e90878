#include "device/DeviceCompare.h"

#include "device/DeviceLink.h"
#include "device/PresetTransfer.h"
#include "device/WireImage.h"

CommErrorCode compareWithDevice(const ParameterImage& here, BytePort& port,
                                DeviceComparison& result) {
    ParameterImage device = here;
    const CommErrorCode code = receiveAllPresets(device, port);
    if (code != CommOk) return code;
    result.differences = compareSettings(here, device);
    result.device = device;
    return CommOk;
}

CommErrorCode verifySentPresets(const ParameterImage& image, BytePort& port,
                                std::vector<FieldDifference>& differences, ParameterImage* device) {
    return verifySentPresets(encodeWireImage(image), image, port, differences, device);
}

CommErrorCode verifySentPresets(const WireImage& sent, const ParameterImage& image, BytePort& port,
                                std::vector<FieldDifference>& differences, ParameterImage* device) {
    WireImage stored{};
    const CommErrorCode code = DeviceLink(port).receiveWireImage(stored);
    if (code != CommOk) {
        showTransferFailure(port);
        return code;
    }
    differences = compareWireImages(sent, stored);
    if (device != nullptr) {
        *device = image;
        decodeWireImage(stored, *device);
    }
    return CommOk;
}
