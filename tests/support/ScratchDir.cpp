#include "support/ScratchDir.h"

#include <fstream>
#include <iterator>
#include <random>
#include <stdexcept>

ScratchDir::ScratchDir(bool enter) : m_entered(enter) {
    // A new directory of a random name, readable by its owner only.
    static std::mt19937_64 random{std::random_device{}()};
    static constexpr char Digits[] = "abcdefghijklmnopqrstuvwxyz0123456789";
    const std::filesystem::path base = std::filesystem::temp_directory_path();
    for (int attempt = 0; m_path.empty(); ++attempt) {
        std::string name = "filtaro-test-";
        for (int i = 0; i < 8; ++i) name += Digits[random() % 36];
        std::error_code ec;
        if (std::filesystem::create_directory(base / name, ec)) {
            m_path = base / name;
        } else if (ec || attempt == 100) {
            throw std::runtime_error("no scratch directory in " + base.string());
        }
    }
    std::filesystem::permissions(m_path, std::filesystem::perms::owner_all);
    if (m_entered) {
        m_previous = std::filesystem::current_path();
        std::filesystem::current_path(m_path);
    }
}

ScratchDir::~ScratchDir() {
    std::error_code ec;
    if (m_entered) {
        std::filesystem::current_path(m_previous, ec);
    }
    std::filesystem::permissions(m_path, std::filesystem::perms::owner_all,
                                 std::filesystem::perm_options::add, ec);
    std::filesystem::remove_all(m_path, ec);
}

void writeFileBytes(const std::string& path, const std::string& bytes) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
}

std::string readFileBytes(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

std::size_t entriesIn(const std::filesystem::path& dir) {
    return static_cast<std::size_t>(std::distance(std::filesystem::directory_iterator(dir),
                                                  std::filesystem::directory_iterator()));
}
