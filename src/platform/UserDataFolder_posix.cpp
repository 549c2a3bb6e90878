#include <cstdlib>
#include <filesystem>

#include "platform/UserDataFolder.h"

namespace {

std::string environment(const char* name) {
    const char* value = std::getenv(name);
    return value ? value : "";
}

}  // namespace

std::string userDataFolder() {
    // A relative XDG_DATA_HOME is invalid and is ignored, as the XDG base
    // directory rules say.
    const std::string xdg = environment("XDG_DATA_HOME");
    if (!xdg.empty() && std::filesystem::path(xdg).is_absolute()) return xdg;
    const std::string home = environment("HOME");
    return home.empty() ? std::string() : home + "/.local/share";
}
