#pragma once
// The one serial port through which the program reaches the device. All calls
// block until done. Results are the communication codes: CommOk, ErrPortBusy
// (the port did not open), ErrPortNotInitialized (not open), ErrTransmit
// (write failed), ErrReceive (read failed).
//
// A read that times out succeeds: it reports through `transferred` how many
// bytes arrived and leaves the rest of the buffer as it was. Callers that need
// a whole block compare the count themselves.

#include <cstdint>
#include <optional>
#include <string>

#include "device/BytePort.h"
#include "platform/SerialService.h"

class SerialPort final : public BytePort {
public:
    // Between two bytes, and per byte the first may take to come.
    static constexpr std::uint32_t ReadTimeoutMs = 500;
    // What a write may take beyond its bytes' time on the line.
    static constexpr std::uint32_t WriteMarginMs = 2000;

    // How long a read of `count` bytes waits for the first of them: a
    // ReadTimeoutMs for each and one more.
    static std::uint32_t firstByteMs(int count);
    // How long a write of `count` bytes at `baudRate` may take: the bytes'
    // time on the line (10 bit times each, rounded up to whole milliseconds
    // per byte) and WriteMarginMs, so that a line held by a handshake that
    // never clears fails the write instead of blocking the program for good.
    static std::uint32_t writeBoundMs(int count, int baudRate);

    SerialPort();
    ~SerialPort() override;  // closes the port if it is open
    SerialPort(const SerialPort&) = delete;
    SerialPort& operator=(const SerialPort&) = delete;

    // Opens `devicePath` ("\\.\COM3") at `baudRate`, 8 data bits, no parity,
    // one stop bit, binary, without flow control. An open port is closed
    // first. CommOk, or ErrPortBusy (the port is then closed) when any of it
    // cannot be set.
    CommErrorCode open(const std::string& devicePath, int baudRate) override;
    // Closes the port if it is open; always CommOk.
    CommErrorCode close() override;
    void closeIfOpen();

    // CommOk = the read call succeeded (possibly short, see `transferred`),
    // ErrPortNotInitialized = not open, ErrReceive = the read failed. The
    // first byte may take firstByteMs(count), the next ReadTimeoutMs each.
    CommErrorCode read(void* buffer, int count, int* transferred = nullptr) override;
    // The same results as read(), with the time-outs of BytePort::readBlock
    // for this one call.
    CommErrorCode readBlock(void* buffer, int count, std::uint32_t firstByteMs,
                            int* transferred = nullptr) override;
    // CommOk = every byte was handed to the driver, ErrPortNotInitialized =
    // not open, ErrTransmit = the write failed or moved fewer bytes than given
    // (`transferred` tells how many).
    CommErrorCode write(const void* buffer, int count, int* transferred = nullptr) override;
    void purge() override;

    bool isOpen() const override { return m_isOpen != 0; }
    const PortOpenFailure& openFailure() const override { return m_openFailure; }
    int baudRate() const { return m_baudRate; }
    // The line as the driver holds it now; nothing while closed.
    std::optional<SerialLineReport> line() const { return serialLineReport(m_handle); }

private:
    SerialHandle m_handle = nullptr;
    PortOpenFailure m_openFailure;
    int m_isOpen = 0;
    int m_baudRate = 0;
};
