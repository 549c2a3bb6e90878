#include "device/DevicePort.h"

#include "platform/UserServices.h"
#include "storage/Ini.h"

std::string configuredPortName() {
    std::string name = DefaultPortName;
    readIniString(IniSectionCommunication, IniKeyPort, name);
    return name;
}

int configuredBaudRate() {
    int rate = DefaultBaudrate;
    if (readIniInt(IniSectionCommunication, IniKeyBaudrate, rate) == 0 || rate <= 0) {
        return DefaultBaudrate;
    }
    return rate;
}

bool rememberPortName(std::string_view portName) {
    if (writeIniString(IniSectionCommunication, IniKeyPort, portName) != 0) {
        return true;
    }
    userServices().messageBox(
        "Der Port konnte nicht in " + std::string(IniFileName) + " gespeichert werden.", "Achtung",
        MessageIcon::Warning);
    return false;
}
