#pragma once
// Which port the device is on and how fast it talks, as configured in
// "FILTARO.INI" of the current directory, and the device path of a port name.

#include <string>
#include <string_view>

// After a port opens, the program leaves the line this long before the first
// transfer.
constexpr unsigned PortSettleMs = 500;

// "\\.\" followed by the name ("COM3" gives \\.\COM3): the form
// SerialPort::open takes, which also reaches ports above COM9. A name that
// already is a device path is returned as it is.
std::string devicePathForPort(std::string_view portName);

// INI "Port"; "COM1" when the key is missing or empty.
std::string configuredPortName();
// INI "Baudrate"; 9600 when the key is missing, not a number, or not a
// positive rate (no line runs at zero or fewer bits per second).
int configuredBaudRate();

// Records `portName` as INI "Port", so that the next start opens it. When the
// file cannot be written the user is warned ("Achtung"): the choice would
// otherwise be lost without a word. Returns whether it was stored.
bool rememberPortName(std::string_view portName);
