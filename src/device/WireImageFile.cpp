#include "device/WireImageFile.h"

#include <filesystem>
#include <fstream>

#include "platform/Utf8Path.h"

bool loadWireImageFile(const std::string& path, WireImage& wire, std::string& error) {
    std::error_code ec;
    const std::filesystem::path file = pathFromUtf8(path);
    if (path.empty() || !std::filesystem::is_regular_file(file, ec)) {
        error = "Datei \"" + path + "\" ist nicht vorhanden oder keine Datei.";
        return false;
    }
    std::ifstream in(file, std::ios::binary);
    if (!in) {
        error = "Datei \"" + path + "\" lässt sich nicht lesen.";
        return false;
    }
    // One byte more than a block, so that a longer file is refused too.
    WireImage scratch{};
    in.read(reinterpret_cast<char*>(scratch.data()), static_cast<std::streamsize>(scratch.size()));
    const auto got = static_cast<std::size_t>(in.gcount());
    char extra = 0;
    if (got != WireImageSize || in.read(&extra, 1).gcount() != 0) {
        error = "Datei \"" + path + "\" ist kein Wire-Image (genau " +
                std::to_string(WireImageSize) + " Bytes erwartet).";
        return false;
    }
    wire = scratch;
    return true;
}
