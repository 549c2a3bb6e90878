#pragma once
// A pseudo-terminal pair: the master side is the far end of a serial line
// (the simulated device, or a test playing it), the slave is what the program
// opens like a port. Both sides are raw: eight bits, no echo, no line editing,
// no translation, so every byte value passes unchanged.
//
// The pair keeps a descriptor of the slave open for its whole life: the
// program may close and reopen the port any number of times, and the master
// never sees the hang-up that the last close of a slave would cause.

#include <string>

class PseudoTerminal {
public:
    PseudoTerminal() = default;
    ~PseudoTerminal();  // close()
    PseudoTerminal(const PseudoTerminal&) = delete;
    PseudoTerminal& operator=(const PseudoTerminal&) = delete;

    // Creates the pair. With `nonBlockingMaster`, reads and writes on the
    // master return at once instead of waiting. false with a one-line German
    // message in `error` when that fails; nothing is left open then.
    bool open(std::string& error, bool nonBlockingMaster = false);
    // Closes both sides. Safe to call twice.
    void close();
    // Closes the master only: the line's far end disappears, and reads on the
    // slave fail from then on.
    void closeMaster();

    bool isOpen() const { return m_master >= 0; }
    // The master's descriptor; -1 when closed.
    int master() const { return m_master; }
    // The slave's path (/dev/pts/N); empty before open().
    const std::string& slavePath() const { return m_slavePath; }

private:
    int m_master = -1;
    int m_slave = -1;
    std::string m_slavePath;
};
