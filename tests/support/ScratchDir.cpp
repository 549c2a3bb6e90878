#include "support/ScratchDir.h"

#include <stdlib.h>

#include <fstream>
#include <iterator>
#include <stdexcept>
#include <vector>

ScratchDir::ScratchDir(bool enter) : m_entered(enter) {
    std::string pattern = (std::filesystem::temp_directory_path() / "filtaro-test-XXXXXX").string();
    std::vector<char> buf(pattern.begin(), pattern.end());
    buf.push_back('\0');
    if (!mkdtemp(buf.data())) {
        throw std::runtime_error("mkdtemp failed");
    }
    m_path = buf.data();
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
