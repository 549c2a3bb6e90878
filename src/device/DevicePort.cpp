#include "device/DevicePort.h"

#include "storage/Ini.h"

std::string devicePathForPort(std::string_view portName) {
    return std::string("\\\\.\\") + std::string(portName);
}

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
