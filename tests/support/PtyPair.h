#pragma once
// A pseudo-terminal for tests that play the far end of a serial line
// themselves: the test writes to and reads from the master, the code under
// test opens `slavePath()` like a port.

#include <cstdint>
#include <string>
#include <vector>

#include "platform/PseudoTerminal.h"

class PtyPair {
public:
    PtyPair();  // throws std::runtime_error on failure

    const std::string& slavePath() const { return m_pty.slavePath(); }
    int master() const { return m_pty.master(); }

    void send(const std::vector<std::uint8_t>& bytes);
    // Reads exactly `count` bytes from the master; fewer if none arrive within
    // a generous guard time.
    std::vector<std::uint8_t> receive(std::size_t count);
    // Closes the master: the port's far end disappears.
    void hangUp() { m_pty.closeMaster(); }

private:
    PseudoTerminal m_pty;
};
