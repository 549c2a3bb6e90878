#include "device/SerialPort.h"

#include <algorithm>

SerialPort::SerialPort()
    : m_inQueueSize(InQueueSize),
      m_outQueueSize(OutQueueSize),
      m_byteSize(8),
      m_parity(0),
      m_stopBits(0) {}

SerialPort::~SerialPort() {
    closeIfOpen();
}

CommErrorCode SerialPort::open(const std::string& devicePath, int baudRate) {
    closeIfOpen();
    // Whatever fails below and has no reason of its own, the line refused.
    m_openFailure = {SerialOpenFailure::Refused, devicePath};
    if (baudRate <= 0) return ErrPortBusy;
    SerialHandle handle = serialOpen(devicePath, &m_openFailure.reason);
    if (handle == nullptr) return ErrPortBusy;
    m_openFailure.reason = SerialOpenFailure::Refused;
    SerialLineState driverState;
    if (!serialSetupQueues(handle, static_cast<std::uint32_t>(m_inQueueSize),
                           static_cast<std::uint32_t>(m_outQueueSize)) ||
        !serialGetState(handle, driverState)) {
        serialClose(handle);
        return ErrPortBusy;
    }
    // The whole line is ours: a flow control, parity check or null
    // stripping that another program left in the driver would stop or
    // garble a block. (A default state is binary, without flow control.)
    SerialLineState state;
    m_baudRate = baudRate;
    state.BaudRate = static_cast<std::uint32_t>(baudRate);
    state.ByteSize = m_byteSize;
    state.Parity = m_parity;
    state.StopBits = m_stopBits;
    m_dcb = state;
    // Without its time-outs the port would wait for ever on a silent device.
    if (!serialSetState(handle, state) || !serialSetTimeouts(handle, timeoutsAt(baudRate))) {
        serialClose(handle);
        return ErrPortBusy;
    }
    m_handle = handle;
    m_isOpen = 1;
    m_openFailure.reason = SerialOpenFailure::None;
    return CommOk;
}

SerialTimeouts SerialPort::timeoutsAt(int baudRate) {
    constexpr std::uint32_t BitsPerByte = 10;  // start, 8 data, stop
    const auto rate = static_cast<std::uint32_t>(std::max(baudRate, 1));
    SerialTimeouts timeouts;
    timeouts.ReadIntervalTimeout = ReadTimeoutMs;
    timeouts.ReadTotalTimeoutMultiplier = ReadTimeoutMs;
    timeouts.ReadTotalTimeoutConstant = ReadTimeoutMs;
    timeouts.WriteTotalTimeoutMultiplier = (BitsPerByte * 1000 + rate - 1) / rate;
    timeouts.WriteTotalTimeoutConstant = WriteMarginMs;
    return timeouts;
}

CommErrorCode SerialPort::close() {
    closeIfOpen();
    return CommOk;
}

void SerialPort::closeIfOpen() {
    if (m_isOpen) serialClose(m_handle);
    m_handle = nullptr;
    m_isOpen = 0;
}

CommErrorCode SerialPort::read(void* buffer, int count, int* transferred) {
    if (transferred) *transferred = 0;
    if (!m_isOpen) return ErrPortNotInitialized;
    if (count < 0 || (buffer == nullptr && count > 0)) return ErrReceive;
    std::uint32_t moved = 0;
    const bool ok = serialRead(m_handle, buffer, static_cast<std::uint32_t>(count), &moved);
    if (transferred) *transferred = static_cast<int>(moved);
    return ok ? CommOk : ErrReceive;
}

CommErrorCode SerialPort::readBlock(void* buffer, int count, std::uint32_t firstByteMs,
                                    int* transferred) {
    if (transferred) *transferred = 0;
    if (!m_isOpen) return ErrPortNotInitialized;
    if (count < 0 || (buffer == nullptr && count > 0)) return ErrReceive;
    // The port's time-outs cannot bound the wait for the first byte apart
    // from the rest (their total grows with the count: 312.5 s for a block).
    // Reads that return whatever has come, each waiting for at least one
    // byte, can: the first waits up to `firstByteMs`, every later one the gap.
    // A time-out that cannot be set fails the read: the driver's own might
    // wait for ever.
    const SerialTimeouts own = timeoutsAt(m_baudRate);
    SerialTimeouts waitForAny = own;
    waitForAny.ReadIntervalTimeout = SerialTimeouts::MaxTimeout;
    waitForAny.ReadTotalTimeoutMultiplier = SerialTimeouts::MaxTimeout;
    // (0 and MaxTimeout would mean other modes.)
    waitForAny.ReadTotalTimeoutConstant =
        std::clamp<std::uint32_t>(firstByteMs, 1, SerialTimeouts::MaxTimeout - 1);
    auto* out = static_cast<std::uint8_t*>(buffer);
    std::uint32_t got = 0;
    bool ok = true;
    while (ok && got < static_cast<std::uint32_t>(count)) {
        ok = serialSetTimeouts(m_handle, waitForAny);
        std::uint32_t moved = 0;
        ok = ok && serialRead(m_handle, out + got, static_cast<std::uint32_t>(count) - got, &moved);
        got += moved;
        if (moved == 0) break;
        waitForAny.ReadTotalTimeoutConstant = ReadTimeoutMs;
    }
    ok = serialSetTimeouts(m_handle, own) && ok;
    if (transferred) *transferred = static_cast<int>(got);
    return ok ? CommOk : ErrReceive;
}

CommErrorCode SerialPort::write(const void* buffer, int count, int* transferred) {
    if (transferred) *transferred = 0;
    if (!m_isOpen) return ErrPortNotInitialized;
    if (count < 0 || (buffer == nullptr && count > 0)) return ErrTransmit;
    std::uint32_t moved = 0;
    const bool ok = serialWrite(m_handle, buffer, static_cast<std::uint32_t>(count), &moved);
    if (transferred) *transferred = static_cast<int>(moved);
    return ok && moved == static_cast<std::uint32_t>(count) ? CommOk : ErrTransmit;
}

void SerialPort::purge() {
    if (m_isOpen) serialPurge(m_handle, PurgeTxClear | PurgeRxClear);
}
