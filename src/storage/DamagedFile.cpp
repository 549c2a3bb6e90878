#include "storage/DamagedFile.h"

#include <cerrno>

#include "platform/ReplaceFile.h"

namespace {

// More damaged copies than anyone keeps; beyond, something else is wrong.
constexpr int MaxDamagedCopies = 1000;

}  // namespace

std::optional<std::string> setAsideAsDamaged(const std::string& path) {
    for (int n = 1; n <= MaxDamagedCopies; ++n) {
        const std::string aside = path + (n == 1 ? "" : "." + std::to_string(n)) + ".defekt";
        if (renameWithoutReplacing(path, aside)) return aside;
        if (errno != EEXIST) return std::nullopt;
    }
    return std::nullopt;
}
