#pragma once
// Whole text files other programs exchange with this one (filter texts,
// measurements, exports). Reading takes the file as it is; writing goes
// through the one save routine, so a failed write leaves the old file whole.

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

// The file's bytes; nothing when it cannot be opened, is no regular file or
// is larger than `maxBytes`.
std::optional<std::string> readTextFile(const std::string& path, std::size_t maxBytes);

bool writeTextFile(const std::string& path, std::string_view text);
