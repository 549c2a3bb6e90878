#include "platform/SerialPortNames.h"

#include <cctype>

namespace {

constexpr std::string_view DevicePrefix = "\\\\.\\";

}  // namespace

std::string devicePathForPort(std::string_view portName) {
    if (portName.starts_with(DevicePrefix)) return std::string(portName);
    // "COM12:" is how DOS and the Windows tools write a device; the device
    // path has no colon.
    if (portName.size() > 1 && portName.back() == ':') portName.remove_suffix(1);
    return std::string(DevicePrefix) + std::string(portName);
}

std::string portNameOfDevicePath(std::string_view devicePath) {
    if (devicePath.starts_with(DevicePrefix)) devicePath.remove_prefix(DevicePrefix.size());
    return std::string(devicePath);
}

std::optional<int> comPortNumber(const std::string& name) {
    if (name.size() < 4 || name.size() > 12) return std::nullopt;
    for (std::size_t i = 0; i < 3; ++i) {
        if (std::toupper(static_cast<unsigned char>(name[i])) != "COM"[i]) return std::nullopt;
    }
    const std::string_view digits = std::string_view(name).substr(3);
    if (digits[0] == '0') return std::nullopt;
    long value = 0;
    for (char ch : digits) {
        if (!std::isdigit(static_cast<unsigned char>(ch))) return std::nullopt;
        value = value * 10 + (ch - '0');
    }
    return static_cast<int>(value);
}
