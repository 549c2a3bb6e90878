#include <unistd.h>

#include <cerrno>
#include <vector>

#include "platform/CurrentDirectory.h"

std::string currentDirectory() {
    // The path has no fixed limit here, so grow the buffer until it fits.
    for (std::size_t size = 256; size <= (std::size_t{1} << 20); size *= 2) {
        std::vector<char> buf(size);
        if (getcwd(buf.data(), buf.size()) != nullptr) {
            return std::string(buf.data());
        }
        if (errno != ERANGE) {
            break;
        }
    }
    return {};
}

bool setCurrentDirectory(const std::string& path) {
    return !path.empty() && chdir(path.c_str()) == 0;
}
