#pragma once
// A byte stream to the device with the semantics of the program's serial
// port: the protocol above it (DeviceLink, the transfers, the device search)
// needs nothing else. SerialPort is the real one; the simulator offers one in
// memory.

#include <cstdint>
#include <string>

#include "device/CommError.h"
#include "platform/SerialService.h"

// Why the last open of a port failed, and which port it was.
struct PortOpenFailure {
    SerialOpenFailure reason = SerialOpenFailure::None;
    std::string devicePath;  // as given to open()
};

class BytePort {
public:
    virtual ~BytePort() = default;

    // Opens `devicePath` ("\\.\COM3") at `baudRate`; an open port is closed
    // first. CommOk, or ErrPortBusy with the port closed.
    virtual CommErrorCode open(const std::string& devicePath, int baudRate) = 0;
    // Closes the port if it is open; always CommOk.
    virtual CommErrorCode close() = 0;
    virtual bool isOpen() const = 0;
    // After an open() that failed (the port is then closed): why. The reason
    // is None after one that succeeded, and before the first.
    virtual const PortOpenFailure& openFailure() const = 0;

    // Reads up to `count` bytes. A read that times out succeeds short:
    // `transferred` tells how many bytes arrived, and the rest of the buffer
    // stays as it was. ErrPortNotInitialized when closed, ErrReceive when
    // the read fails.
    virtual CommErrorCode read(void* buffer, int count, int* transferred = nullptr) = 0;
    // Reads up to `count` bytes of a block that should begin within
    // `firstByteMs`: the read ends when all bytes have arrived, when the
    // first has not come within `firstByteMs`, or when more than 500 ms pass
    // between two bytes (the gap rule of read()). Short reads succeed as with
    // read(). Later calls of read() keep their own time-outs.
    virtual CommErrorCode readBlock(void* buffer, int count, std::uint32_t firstByteMs,
                                    int* transferred = nullptr) = 0;
    // Hands all `count` bytes to the line. ErrPortNotInitialized when closed,
    // ErrTransmit when the write fails or takes fewer bytes (`transferred`).
    virtual CommErrorCode write(const void* buffer, int count, int* transferred = nullptr) = 0;
    // Drops everything waiting in the transmit and receive buffers.
    virtual void purge() = 0;
};
