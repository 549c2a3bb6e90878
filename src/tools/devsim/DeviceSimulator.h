#pragma once
// The device on a pseudo-terminal, served on a thread of its own so that
// tests can run it in-process. The program under test opens the pty's slave
// side (directly or through the link) like a serial port.
//
// The simulator keeps a descriptor of the slave open for its whole life: the
// client may close and reopen the port any number of times, and the master
// never sees the hang-up that the last close of a slave would cause.

#include <atomic>
#include <cstdint>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "device/WireImage.h"
#include "tools/devsim/DevsimOptions.h"
#include "tools/devsim/DevsimResponder.h"

class DeviceSimulator {
public:
    // A partly received block is dropped after this long without a byte.
    static constexpr int BlockGapMs = 1000;

    explicit DeviceSimulator(DevsimOptions options);
    ~DeviceSimulator();  // stop()
    DeviceSimulator(const DeviceSimulator&) = delete;
    DeviceSimulator& operator=(const DeviceSimulator&) = delete;

    // Loads the memory, creates the pty and the link, and starts serving.
    // false with a one-line German message in `error` when anything fails;
    // nothing is left behind then.
    bool start(std::string& error);
    // Stops serving, removes the link (if it still points at our pty) and
    // closes the pty. Safe to call twice.
    void stop();

    // The slave's path (/dev/pts/N); empty before start().
    const std::string& ptyPath() const { return m_ptyPath; }
    WireImage memory() const;
    int blocksStored() const { return m_blocksStored.load(); }
    // Problems met while serving (a memory file that could not be written).
    std::vector<std::string> problems() const;

private:
    bool openPty(std::string& error);
    bool createLink(std::string& error);
    void removeLink();
    void serve();
    // Sends `bytes`, at line speed when a rate is set; false when stopped.
    bool send(const std::vector<std::uint8_t>& bytes);
    bool writeSome(const std::uint8_t* data, std::size_t size);
    void closeAll();

    DevsimOptions m_options;
    DevsimResponder m_responder;
    std::string m_ptyPath;
    int m_master = -1;
    int m_slave = -1;
    int m_wake[2] = {-1, -1};
    bool m_linkCreated = false;
    std::thread m_thread;
    std::atomic<bool> m_stopping{false};
    std::atomic<int> m_blocksStored{0};
    mutable std::mutex m_mutex;  // guards m_memory and m_problems
    WireImage m_memory{};
    std::vector<std::string> m_problems;
};
