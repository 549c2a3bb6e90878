#pragma once
// A raw pseudo-terminal for tests that play the far end of a serial line
// themselves: the test writes to and reads from the master, the code under
// test opens `slavePath()` like a port. A slave descriptor stays open so
// that the master keeps working while the port is closed and reopened.

#include <cstdint>
#include <string>
#include <vector>

class PtyPair {
public:
    PtyPair();  // throws std::runtime_error on failure
    ~PtyPair();
    PtyPair(const PtyPair&) = delete;
    PtyPair& operator=(const PtyPair&) = delete;

    const std::string& slavePath() const { return m_slavePath; }
    int master() const { return m_master; }

    void send(const std::vector<std::uint8_t>& bytes);
    // Reads exactly `count` bytes from the master; fewer if none arrive within
    // a generous guard time.
    std::vector<std::uint8_t> receive(std::size_t count);
    // Closes the master: the port's far end disappears.
    void hangUp();

private:
    int m_master = -1;
    int m_slave = -1;
    std::string m_slavePath;
};
