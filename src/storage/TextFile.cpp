#include "storage/TextFile.h"

#include <filesystem>
#include <fstream>

#include "platform/ReplaceFile.h"

std::optional<std::string> readTextFile(const std::string& path, std::size_t maxBytes) {
    std::error_code ec;
    if (path.empty() || !std::filesystem::is_regular_file(path, ec)) return std::nullopt;
    const auto size = std::filesystem::file_size(path, ec);
    if (ec || size > maxBytes) return std::nullopt;
    std::ifstream in(path, std::ios::binary);
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
