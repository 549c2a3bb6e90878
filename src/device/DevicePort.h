#pragma once
// Which port the device is on and how fast it talks, as configured in
// "FILTARO.INI" of the current directory. SerialPort::open takes the device
// path of the port name (devicePathForPort).

#include <string>
#include <string_view>

#include "platform/SerialPortNames.h"

// After a port opens, the program leaves the line this long before the first
// transfer.
constexpr unsigned PortSettleMs = 500;

// INI "Port"; "COM1" when the key is missing or empty.
std::string configuredPortName();
// INI "Baudrate"; 9600 when the key is missing, not a number, or not a
// positive rate (no line runs at zero or fewer bits per second).
int configuredBaudRate();

// Records `portName` as INI "Port", so that the next start opens it. When the
// file cannot be written the user is warned ("Achtung"): the choice would
// otherwise be lost without a word. Returns whether it was stored.
bool rememberPortName(std::string_view portName);
