#include "simulator/DevsimMemory.h"

#include <filesystem>

#include "device/WireImageFile.h"
#include "platform/ReplaceFile.h"
#include "platform/Utf8Path.h"

bool loadDevsimMemory(const std::string& path, WireImage& memory, std::string& error) {
    std::error_code ec;
    if (std::filesystem::status(pathFromUtf8(path), ec).type() ==
        std::filesystem::file_type::not_found) {
        memory = defaultWireImage();
        return true;
    }
    return loadWireImageFile(path, memory, error);
}

bool saveDevsimMemory(const std::string& path, const WireImage& memory) {
    return replaceFileContents(path, memory.data(), memory.size());
}
