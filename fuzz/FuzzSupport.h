#pragma once
// What every harness shares: reading typed values from the fuzzer's bytes,
// a check that stops the run with a message (the fuzzer then keeps the
// input as a fault; the replay test fails on it), and a scratch folder for
// harnesses that write files.

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <string>
#include <string_view>
#include <type_traits>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size);

inline void fuzzCheck(bool ok, const char* what) {
    if (!ok) {
        std::fprintf(stderr, "fuzz check failed: %s\n", what);
        std::abort();
    }
}

// The input as a stream of values; past its end every value reads as zero
// bytes, so any input, also an empty one, gives a complete set of arguments.
class FuzzInput {
public:
    FuzzInput(const std::uint8_t* data, std::size_t size) : m_data(data), m_size(size) {}

    template <typename T>
    T take() {
        static_assert(std::is_trivially_copyable_v<T>);
        unsigned char bytes[sizeof(T)] = {};
        const std::size_t n = m_size - m_pos < sizeof(T) ? m_size - m_pos : sizeof(T);
        if (n > 0) std::memcpy(bytes, m_data + m_pos, n);
        m_pos += n;
        T value;
        std::memcpy(&value, bytes, sizeof(T));
        return value;
    }

    // Up to `n` bytes (fewer at the end of the input).
    std::string_view takeBytes(std::size_t n) {
        const std::size_t k = m_size - m_pos < n ? m_size - m_pos : n;
        const std::string_view s(reinterpret_cast<const char*>(m_data) + m_pos, k);
        m_pos += k;
        return s;
    }

    std::string_view rest() { return takeBytes(m_size - m_pos); }
    bool empty() const { return m_pos == m_size; }

private:
    const std::uint8_t* m_data;
    std::size_t m_size;
    std::size_t m_pos = 0;
};

// A folder of its own for each input, removed when the input is done:
// libFuzzer may end the process without running exit handlers, so nothing
// may wait for the end of the process to be cleaned up.
class ScratchFolder {
public:
    ScratchFolder() {
        static const std::filesystem::path base = std::filesystem::is_directory("/dev/shm")
                                                      ? std::filesystem::path("/dev/shm")
                                                      : std::filesystem::temp_directory_path();
        std::string pattern = (base / "filtaro-fuzz-XXXXXX").string();
        fuzzCheck(mkdtemp(pattern.data()) != nullptr, "scratch folder created");
        m_path = pattern;
    }
    ~ScratchFolder() {
        std::error_code ec;
        std::filesystem::remove_all(m_path, ec);
    }
    ScratchFolder(const ScratchFolder&) = delete;
    ScratchFolder& operator=(const ScratchFolder&) = delete;

    std::string file(const std::string& name) const { return (m_path / name).string(); }
    const std::filesystem::path& path() const { return m_path; }

private:
    std::filesystem::path m_path;
};
