#pragma once
// The device behind a serial port in memory: a BytePort over DevsimResponder,
// with the same answers and fault modes as filtaro-devsim on a pseudo-terminal,
// but no thread, no sleeping and no I/O. The device answers at once, so
// everything it sends waits in the port's receive buffer by the time the
// program reads. A read that would time out on a real port returns at once,
// short, as a real one would at the end of its time-out; the time a real port
// would have waited is added to elapsedMs().
//
// Ports are numbered like COM ports. Each number may hold a device (with its
// own faults and memory), be held by another program (it exists but does not
// open), or not exist; only COM names ("\\.\COM3" or "COM3") open.
//
//     SimulatedPort line;
//     line.attachDevice(3, {.wrongIdent = true});
//     line.attachDevice(4);
//     line.holdPort(5);
//     searchDevice(line);            // finds COM4, in no time
//     line.memory(4);                // the device's 624 bytes
//     line.attachDevice(6, {.corruptByte = 10});  // stores what it is sent
//                                                 // with byte 10 one higher
//
// A scripted device answers each byte it is sent with whatever a function
// returns: any byte stream a device might send (the protocol's fuzz harness).

#include <cstdint>
#include <functional>
#include <map>
#include <optional>
#include <string>
#include <vector>

#include "device/BytePort.h"
#include "device/WireImage.h"
#include "simulator/DevsimOptions.h"
#include "simulator/DevsimResponder.h"

class SimulatedPort final : public BytePort {
public:
    SimulatedPort() = default;

    // A device on COMn (replacing whatever was there) with `faults`, holding
    // `memory`. Its stale bytes, if any, wait on the line already.
    void attachDevice(int n, const DevsimFaults& faults = {},
                      const WireImage& memory = defaultWireImage());
    // A device on COMn (replacing whatever was there) whose answer to each
    // byte is `answer(byte)`; it has no memory and stores no blocks.
    using ScriptedAnswer = std::function<std::vector<std::uint8_t>(std::uint8_t byte)>;
    void attachScriptedDevice(int n, ScriptedAnswer answer);
    // COMn exists but another program holds it: opening it fails (InUse).
    void holdPort(int n);

    CommErrorCode open(const std::string& devicePath, int baudRate) override;
    CommErrorCode close() override;
    bool isOpen() const override { return m_open != 0; }
    const PortOpenFailure& openFailure() const override { return m_openFailure; }
    CommErrorCode read(void* buffer, int count, int* transferred = nullptr) override;
    CommErrorCode readBlock(void* buffer, int count, std::uint32_t firstByteMs,
                            int* transferred = nullptr) override;
    CommErrorCode write(const void* buffer, int count, int* transferred = nullptr) override;
    void purge() override;

    // The number of the open port, 0 when closed.
    int openPort() const { return m_open; }
    // The rate of the last successful open.
    int baudRate() const { return m_baudRate; }
    // Milliseconds a real port would have spent so far in reads that timed out.
    long long elapsedMs() const { return m_elapsedMs; }

    // The device on COMn: its memory and the blocks it has stored
    // (attachDevice first), and every byte it was sent, in order (either
    // kind of device).
    const WireImage& memory(int n) const;
    int blocksStored(int n) const;
    const std::vector<std::uint8_t>& received(int n) const;

private:
    struct Line {
        bool held = false;
        std::optional<DevsimResponder> device;
        ScriptedAnswer script;                // instead of `device`
        std::vector<std::uint8_t> toProgram;  // what waits in the receive buffer
        std::vector<std::uint8_t> received;
        int blocksStored = 0;
        long long lastByteMs = 0;  // when the device last got a byte
    };

    Line& openLine() { return m_lines.at(m_open); }
    // Moves what waits (up to `count` bytes) into `buffer`; -1 for arguments
    // a port refuses. A short read adds the wait of a real port: the gap
    // after the last byte, or `emptyWaitMs` with none at all.
    int take(void* buffer, int count, long long emptyWaitMs);
    // The line of the device on COMn; `simulated`: one of attachDevice.
    const Line& deviceLine(int n, bool simulated) const;

    std::map<int, Line> m_lines;
    int m_open = 0;
    int m_baudRate = 0;
    PortOpenFailure m_openFailure;
    long long m_elapsedMs = 0;
};
