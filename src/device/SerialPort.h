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
#include <string>

#include "device/BytePort.h"
#include "platform/SerialService.h"

class SerialPort final : public BytePort {
public:
    static constexpr int InQueueSize = 32768;
    static constexpr int OutQueueSize = 8192;
    // Between two bytes, and the fixed part of the total read budget.
    static constexpr std::uint32_t ReadTimeoutMs = 500;
    // What a write may take beyond its bytes' time on the line.
    static constexpr std::uint32_t WriteMarginMs = 2000;

    // The time-outs the port runs with at `baudRate`. Reads: ReadTimeoutMs
    // between two bytes, and ReadTimeoutMs + ReadTimeoutMs per byte in all.
    // Writes: the bytes' time on the line (10 bit times each, rounded up to
    // whole milliseconds per byte) and WriteMarginMs, so that a line held by
    // a handshake that never clears fails the write instead of blocking the
    // program for good (the driver's own 0/0 means no limit).
    static SerialTimeouts timeoutsAt(int baudRate);

    SerialPort();
    ~SerialPort() override;  // closes the port if it is open
    SerialPort(const SerialPort&) = delete;
    SerialPort& operator=(const SerialPort&) = delete;

    // Opens `devicePath` ("\\.\COM3") at `baudRate`, 8 data bits, no parity,
    // one stop bit, binary, without flow control, with timeoutsAt(baudRate).
    // An open port is closed first. CommOk, or ErrPortBusy (the port is then
    // closed) when any of it cannot be set.
    CommErrorCode open(const std::string& devicePath, int baudRate) override;
    // Closes the port if it is open; always CommOk.
    CommErrorCode close() override;
    void closeIfOpen();

    // CommOk = the read call succeeded (possibly short, see `transferred`),
    // ErrPortNotInitialized = not open, ErrReceive = the read failed.
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
    // The line state as last read from and written to the driver.
    const SerialLineState& lineState() const { return m_dcb; }

private:
    SerialHandle m_handle = nullptr;
    PortOpenFailure m_openFailure;
    SerialLineState m_dcb;
    int m_isOpen = 0;
    int m_baudRate = 0;
    int m_inQueueSize;
    int m_outQueueSize;
    std::uint8_t m_byteSize;
    std::uint8_t m_parity;
    std::uint8_t m_stopBits;
};
