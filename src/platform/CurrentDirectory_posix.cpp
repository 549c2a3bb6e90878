#include <filesystem>
#include <system_error>

#include "platform/CurrentDirectory.h"

std::string currentDirectory() {
    std::error_code ec;
    const std::filesystem::path path = std::filesystem::current_path(ec);
    return ec ? std::string() : path.string();
}

bool setCurrentDirectory(const std::string& path) {
    std::error_code ec;
    if (path.empty()) return false;
    std::filesystem::current_path(path, ec);
    return !ec;
}
