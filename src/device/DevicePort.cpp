#include "device/DevicePort.h"

#include "platform/UserServices.h"
#include "storage/Ini.h"

bool rememberPortName(std::string_view portName) {
    if (writeIniString(IniSectionCommunication, IniKeyPort, portName) != 0) {
        return true;
    }
    userServices().messageBox(
        "Der Port konnte nicht in " + std::string(IniFileName) + " gespeichert werden.", "Achtung",
        MessageIcon::Warning);
    return false;
}
