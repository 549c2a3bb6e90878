#pragma once
// The device on a pseudo-terminal, served on a thread of its own so that
// tests can run it in-process. The program under test opens the pty's slave
// side (directly or through the link) like a serial port; the client may close
// and reopen it any number of times (see PseudoTerminal).

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <cstdint>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "device/WireImage.h"
#include "platform/PseudoTerminal.h"
#include "simulator/DevsimOptions.h"
#include "simulator/DevsimResponder.h"

class DeviceSimulator {
public:
    static constexpr int BlockGapMs = DevsimResponder::BlockGapMs;

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
    int blocksStored() const {
        std::lock_guard<std::mutex> lock(m_mutex);
        return m_blocksStored;
    }
    // Waits until the device has stored `count` blocks, at most `limit`. A
    // block handed to the port may still wait in the pty when the write
    // returns (the program's pause after a send covers this on a real line).
    bool waitForBlocks(int count, std::chrono::milliseconds limit = std::chrono::seconds(10)) const;
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
    PseudoTerminal m_pty;
    int m_wake[2] = {-1, -1};
    bool m_linkCreated = false;
    std::thread m_thread;
    std::atomic<bool> m_stopping{false};
    mutable std::mutex m_mutex;  // guards m_memory, m_problems and m_blocksStored
    mutable std::condition_variable m_blockStoredSignal;
    int m_blocksStored = 0;
    WireImage m_memory{};
    std::vector<std::string> m_problems;
};
