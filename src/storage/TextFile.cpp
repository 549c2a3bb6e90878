#include "storage/TextFile.h"

#include <filesystem>
#include <fstream>

#include "platform/ReplaceFile.h"
#include "platform/Utf8Path.h"

std::optional<std::string> readTextFile(const std::string& path, std::size_t maxBytes) {
    std::error_code ec;
    const std::filesystem::path file = pathFromUtf8(path);
    if (path.empty() || !std::filesystem::is_regular_file(file, ec)) return std::nullopt;
    const auto size = std::filesystem::file_size(file, ec);
    if (ec || size > maxBytes) return std::nullopt;
    std::ifstream in(file, std::ios::binary);
    if (!in) return std::nullopt;
    std::string text(static_cast<std::size_t>(size), '\0');
    in.read(text.data(), static_cast<std::streamsize>(text.size()));
    // A file that changed meanwhile is taken as far as it could be read.
    text.resize(static_cast<std::size_t>(in.gcount()));
    return text;
}

bool writeTextFile(const std::string& path, std::string_view text) {
    return replaceFileContents(path, text.data(), text.size());
}
