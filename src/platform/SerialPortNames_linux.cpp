#include "platform/SerialPortNames_linux.h"

#include <algorithm>
#include <cctype>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string_view>

#include "platform/SerialPortNames.h"

namespace {

// "ttyUSB12" with family "ttyUSB" -> 12; nullopt for anything else.
std::optional<long> familyIndex(const std::string& name, std::string_view family) {
    if (name.size() <= family.size() || name.compare(0, family.size(), family) != 0) {
        return std::nullopt;
    }
    std::string_view digits = std::string_view(name).substr(family.size());
    if (digits.size() > 9 || (digits.size() > 1 && digits[0] == '0')) return std::nullopt;
    long value = 0;
    for (char ch : digits) {
        if (!std::isdigit(static_cast<unsigned char>(ch))) return std::nullopt;
        value = value * 10 + (ch - '0');
    }
    return value;
}

bool looksLikeComName(const std::string& name) {
    if (name.size() < 3) return false;
    for (std::size_t i = 0; i < 3; ++i) {
        if (std::toupper(static_cast<unsigned char>(name[i])) != "COM"[i]) return false;
    }
    return true;
}

bool isPlainName(const std::string& name) {
    return !name.empty() && name != "." && name != ".." && name.find('/') == std::string::npos &&
           name.find('\0') == std::string::npos;
}

bool uartHasHardwareInSysfs(const std::string& name) {
    // The kernel registers ttyS0..ttyS<nr_uarts-1> whether or not a UART
    // answers there; only those with a bound device and a non-zero port type
    // are real.
    const std::filesystem::path dir = std::filesystem::path("/sys/class/tty") / name;
    std::error_code ec;
    if (!std::filesystem::exists(dir / "device", ec)) return false;
    std::ifstream type(dir / "type");
    int value = 0;
    return static_cast<bool>(type >> value) && value != 0;
}

std::vector<std::string> listDevDirectory() {
    std::vector<std::string> names;
    std::error_code ec;
    for (std::filesystem::directory_iterator it("/dev", ec), end; !ec && it != end;
         it.increment(ec)) {
        names.push_back(it->path().filename().string());
    }
    return names;
}

}  // namespace

std::vector<std::string> orderSerialDevices(
    const std::vector<std::string>& devEntries,
    const std::function<bool(const std::string&)>& uartHasHardware) {
    std::vector<std::string> ordered;
    for (std::string_view family : {"ttyS", "ttyUSB", "ttyACM", "ttyAMA"}) {
        std::vector<std::pair<long, std::string>> found;
        for (const std::string& name : devEntries) {
            std::optional<long> index = familyIndex(name, family);
            if (!index) continue;
            if (family == "ttyS" && !uartHasHardware(name)) continue;
            found.emplace_back(*index, name);
        }
        std::sort(found.begin(), found.end());
        for (const auto& entry : found) ordered.push_back("/dev/" + entry.second);
    }
    return ordered;
}

std::optional<std::string> mapSerialPortName(
    const std::string& devicePath, const std::optional<std::string>& portDir,
    const std::function<std::vector<std::string>()>& systemDevices) {
    const std::string name = portNameOfDevicePath(devicePath);
    if (name.find('\0') != std::string::npos) return std::nullopt;
    if (!name.empty() && name[0] == '/') return name;

    std::optional<int> n = comPortNumber(name);
    if (portDir) {
        if (!n || portDir->empty()) return std::nullopt;
        std::string dir = *portDir;
        if (dir.back() != '/') dir += '/';
        return dir + "COM" + std::to_string(*n);
    }
    if (!n && looksLikeComName(name)) return std::nullopt;  // COM0, COM03, COMX
    if (n) {
        std::vector<std::string> devices = systemDevices();
        if (static_cast<std::size_t>(*n) > devices.size()) return std::nullopt;
        return devices[static_cast<std::size_t>(*n) - 1];
    }
    if (!isPlainName(name)) return std::nullopt;
    return "/dev/" + name;
}

std::optional<std::string> resolveSerialPortName(const std::string& devicePath) {
    std::optional<std::string> portDir;
    const char* dir = std::getenv("FILTARO_PORT_DIR");
    if (dir && *dir) portDir = dir;  // set but empty counts as unset
    return mapSerialPortName(devicePath, portDir, [] {
        return orderSerialDevices(listDevDirectory(), uartHasHardwareInSysfs);
    });
}
