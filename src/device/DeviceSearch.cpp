#include "device/DeviceSearch.h"

#include "device/BytePort.h"
#include "device/DeviceLink.h"
#include "device/DevicePort.h"
#include "platform/UserServices.h"
#include "storage/Ini.h"

int searchDevice(BytePort& port) {
    WaitCursor waitCursor;
    const int baudRate = loadIniSettings().baudRate;
    int found = 0;
    for (int n = SearchFirstPort; n <= SearchLastPort; ++n) {
        const std::string name = "COM" + std::to_string(n);
        userServices().setStatusText("Suche an COM " + std::to_string(n));
        userServices().progress(ProgressUnit::Ports, n - SearchFirstPort,
                                SearchLastPort - SearchFirstPort + 1);
        // A port that does not exist or is held by another program fails here
        // at once; one that opens but stays silent costs the read time-out.
        if (port.open(devicePathForPort(name), baudRate) == CommOk &&
            DeviceLink(port).probeDevice() == CommOk) {
            found = n;
            userServices().messageBox("Gerät an Port " + name + " gefunden!", "Erfolg",
                                      MessageIcon::None);
            rememberPortName(name);
            break;
        }
        if (n == SearchLastPort) {
            userServices().messageBox("Gerät wurde an keiner Schnittestelle gefunden!", "Fehler",
                                      MessageIcon::None);
        }
    }
    userServices().setStatusText("");
    return found;
}
