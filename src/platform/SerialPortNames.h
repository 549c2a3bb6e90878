#pragma once
// Port names the Windows way ("COM3") and the device paths built from them.
// A device path is "\\.\" followed by the port name; with that prefix the
// Windows calls reach ports above COM9 like the others. This is the one place
// that knows the prefix.

#include <optional>
#include <string>
#include <string_view>

// "\\.\" followed by the name ("COM3" gives \\.\COM3, and so does "COM3:",
// as Windows users write it). A name that already is a device path is
// returned as it is.
std::string devicePathForPort(std::string_view portName);

// The name a device path stands for: the path without the "\\.\" prefix
// (a path without it is returned as it is).
std::string portNameOfDevicePath(std::string_view devicePath);

// The port number n of "COMn" (any letter case, n >= 1, no leading zero).
std::optional<int> comPortNumber(const std::string& name);
