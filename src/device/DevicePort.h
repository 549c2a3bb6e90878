#pragma once
// Opening the configured port: the port name and the rate come from
// "FILTARO.INI" of the current directory, read once with the defaults applied
// (loadIniSettings in storage/Ini.h); SerialPort::open takes the device path
// of the port name (devicePathForPort).

#include <string>
#include <string_view>

#include "platform/SerialPortNames.h"

// After a port opens, the program leaves the line this long before the first
// transfer.
constexpr unsigned PortSettleMs = 500;

// Records `portName` as INI "Port", so that the next start opens it. When the
// file cannot be written the user is warned ("Achtung"): the choice would
// otherwise be lost without a word. Returns whether it was stored.
bool rememberPortName(std::string_view portName);
