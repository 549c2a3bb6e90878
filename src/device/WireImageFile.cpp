#include "device/WireImageFile.h"

#include <filesystem>
#include <fstream>

#include "platform/Utf8Path.h"
#include "storage/FileMessages.h"

// Exactly WireImageSize bytes from a regular file, or nothing.
static bool readWholeBlock(const std::string& path, WireImage& block) {
    std::error_code ec;
    const std::filesystem::path file = pathFromUtf8(path);
    if (path.empty() || !std::filesystem::is_regular_file(file, ec)) return false;
    std::ifstream in(file, std::ios::binary);
    if (!in) return false;
    in.read(reinterpret_cast<char*>(block.data()), static_cast<std::streamsize>(block.size()));
    // One byte more than a block, so that a longer file is refused too.
    char extra = 0;
    return static_cast<std::size_t>(in.gcount()) == WireImageSize &&
           in.read(&extra, 1).gcount() == 0;
}

bool loadWireImageFile(const std::string& path, WireImage& wire, std::string& error) {
    WireImage scratch{};
    if (!readWholeBlock(path, scratch)) {
        error = fileOpenFailure(path, WireImageSize);
        return false;
    }
    wire = scratch;
    return true;
}
