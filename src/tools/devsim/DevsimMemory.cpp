#include "tools/devsim/DevsimMemory.h"

#include <filesystem>
#include <fstream>
#include <iterator>
#include <vector>

#include "platform/ReplaceFile.h"

bool loadDevsimMemory(const std::string& path, WireImage& memory, std::string& error) {
    std::error_code ec;
    const std::filesystem::file_status status = std::filesystem::status(path, ec);
    if (status.type() == std::filesystem::file_type::not_found) {
        memory = defaultWireImage();
        return true;
    }
    if (status.type() != std::filesystem::file_type::regular) {
        error = "Speicherdatei \"" + path + "\" ist keine lesbare Datei";
        return false;
    }
    std::ifstream in(path, std::ios::binary);
    if (!in) {
        error = "Speicherdatei \"" + path + "\" lässt sich nicht lesen";
        return false;
    }
    const std::vector<char> bytes{std::istreambuf_iterator<char>(in),
                                  std::istreambuf_iterator<char>()};
    if (bytes.size() != WireImageSize) {
        error = "Speicherdatei \"" + path + "\" hat " + std::to_string(bytes.size()) +
                " Bytes statt " + std::to_string(WireImageSize);
        return false;
    }
    for (std::size_t i = 0; i < WireImageSize; ++i) {
        memory[i] = static_cast<std::uint8_t>(bytes[i]);
    }
    return true;
}

bool saveDevsimMemory(const std::string& path, const WireImage& memory) {
    return replaceFileContents(path, memory.data(), memory.size());
}
