#pragma once
// The one serial port through which the program reaches the device. All calls
// block until done. Results are the communication codes: 0 success, -1 the
// port did not open, -2 not open, -4 write failed, -5 read failed.
//
// A read that times out succeeds: it reports through `transferred` how many
// bytes arrived and leaves the rest of the buffer as it was. Callers that need
// a whole block compare the count themselves.

#include <cstdint>
#include <string>

#include "platform/SerialService.h"

class SerialPort {
public:
    static constexpr int InQueueSize = 32768;
    static constexpr int OutQueueSize = 8192;
    // Between two bytes, and the fixed part of the total read budget.
    static constexpr std::uint32_t ReadTimeoutMs = 500;

    SerialPort();
    ~SerialPort();  // closes the port if it is open
    SerialPort(const SerialPort&) = delete;
    SerialPort& operator=(const SerialPort&) = delete;

    // Opens `devicePath` ("\\.\COM3") at `baudRate`, 8 data bits, no parity,
    // one stop bit. An open port is closed first. 0 = open, -1 = failed (the
    // port is then closed).
    int open(const std::string& devicePath, int baudRate);
    // Closes the port if it is open; always 0.
    int close();
    void closeIfOpen();

    // 0 = the read call succeeded (possibly short, see `transferred`),
    // -2 = not open, -5 = the read failed.
    int read(void* buffer, int count, int* transferred = nullptr);
    // 0 = every byte was handed to the driver, -2 = not open, -4 = the write
    // failed or moved fewer bytes than given (`transferred` tells how many).
    int write(const void* buffer, int count, int* transferred = nullptr);
    // Drops everything waiting in the transmit and receive buffers.
    void purge();

    bool isOpen() const { return m_isOpen != 0; }
    int baudRate() const { return m_baudRate; }
    // The line state as last read from and written to the driver.
    const SerialLineState& lineState() const { return m_dcb; }

private:
    SerialHandle m_handle = nullptr;
    SerialLineState m_dcb;
    int m_isOpen = 0;
    int m_baudRate = 0;
    int m_inQueueSize;
    int m_outQueueSize;
    std::uint8_t m_byteSize;
    std::uint8_t m_parity;
    std::uint8_t m_stopBits;
};
