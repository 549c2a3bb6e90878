#pragma once
// A fresh temporary directory, removed with everything in it at the end of
// the test. With `enter`, it is also the current directory meanwhile (the
// program keeps its INI and data files in the current directory).

#include <filesystem>
#include <string>

class ScratchDir {
public:
    explicit ScratchDir(bool enter = false);
    ~ScratchDir();
    ScratchDir(const ScratchDir&) = delete;
    ScratchDir& operator=(const ScratchDir&) = delete;

    const std::filesystem::path& path() const { return m_path; }
    std::string file(const std::string& name) const { return (m_path / name).string(); }

private:
    std::filesystem::path m_path;
    std::filesystem::path m_previous;
    bool m_entered;
};

// Small file helpers for tests.
void writeFileBytes(const std::string& path, const std::string& bytes);
std::string readFileBytes(const std::string& path);
// The number of entries in a directory (to see that nothing was left behind).
std::size_t entriesIn(const std::filesystem::path& dir);
