#pragma once
// How a port name becomes a device node on Linux.
//
//   - the prefix "\\.\" is dropped;
//   - an absolute path is used as it is;
//   - with a port directory (FILTARO_PORT_DIR), "COMn" in any letter case is
//     the entry "COMn" of that directory, and no other name exists;
//   - otherwise "COMn" is the n-th serial device of the system, counted from 1:
//     the 8250/16550 ports /dev/ttyS* that have hardware behind them, then
//     /dev/ttyUSB*, /dev/ttyACM*, /dev/ttyAMA*, each in numeric order;
//   - any other plain name is looked up under /dev; a name that starts like a
//     COM name but is none ("COM0", "COM03") maps to nothing.
// Names that would leave the directory ("..", a "/" inside) map to nothing.

#include <functional>
#include <optional>
#include <string>
#include <vector>

// The system's serial devices in COM order, as absolute paths. `devEntries`
// are the names found in /dev; `uartHasHardware` tells for a "ttyS<k>" name
// whether a real port stands behind it.
std::vector<std::string> orderSerialDevices(
    const std::vector<std::string>& devEntries,
    const std::function<bool(const std::string&)>& uartHasHardware);

// The device node for `devicePath`, or nullopt when the name maps to nothing.
// `systemDevices` is asked only when a COM name needs the system's list.
std::optional<std::string> mapSerialPortName(
    const std::string& devicePath, const std::optional<std::string>& portDir,
    const std::function<std::vector<std::string>()>& systemDevices);

// mapSerialPortName with FILTARO_PORT_DIR and this system's devices.
std::optional<std::string> resolveSerialPortName(const std::string& devicePath);
