#include "device/SerialPort.h"

#include <algorithm>

SerialPort::SerialPort() = default;

SerialPort::~SerialPort() {
    closeIfOpen();
}

CommErrorCode SerialPort::open(const std::string& devicePath, int baudRate) {
    closeIfOpen();
    // Whatever fails below and has no reason of its own, the line refused.
    m_openFailure = {SerialOpenFailure::Refused, devicePath};
    if (baudRate <= 0) return ErrPortBusy;
    // The whole line is ours: a flow control, parity check or null stripping
    // that another program left in the driver would stop or garble a block.
    SerialSettings settings;
    settings.baudRate = static_cast<std::uint32_t>(baudRate);
    SerialHandle handle = serialOpen(devicePath, settings, &m_openFailure.reason);
    if (handle == nullptr) return ErrPortBusy;
    m_handle = handle;
    m_baudRate = baudRate;
    m_isOpen = 1;
    return CommOk;
}

std::uint32_t SerialPort::firstByteMs(int count) {
    return ReadTimeoutMs + ReadTimeoutMs * static_cast<std::uint32_t>(std::max(count, 0));
}

std::uint32_t SerialPort::writeBoundMs(int count, int baudRate) {
    constexpr std::uint32_t BitsPerByte = 10;  // start, 8 data, stop
    const auto rate = static_cast<std::uint32_t>(std::max(baudRate, 1));
    const std::uint32_t perByteMs = (BitsPerByte * 1000 + rate - 1) / rate;
    return perByteMs * static_cast<std::uint32_t>(std::max(count, 0)) + WriteMarginMs;
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
    return readBlock(buffer, count, firstByteMs(count), transferred);
}

CommErrorCode SerialPort::readBlock(void* buffer, int count, std::uint32_t firstByteMs,
                                    int* transferred) {
    if (transferred) *transferred = 0;
    if (!m_isOpen) return ErrPortNotInitialized;
    if (count < 0 || (buffer == nullptr && count > 0)) return ErrReceive;
    const SerialResult result = serialRead(m_handle, buffer, static_cast<std::uint32_t>(count),
                                           {firstByteMs, ReadTimeoutMs});
    if (transferred) *transferred = static_cast<int>(result.bytes);
    return result.ok ? CommOk : ErrReceive;
}

CommErrorCode SerialPort::write(const void* buffer, int count, int* transferred) {
    if (transferred) *transferred = 0;
    if (!m_isOpen) return ErrPortNotInitialized;
    if (count < 0 || (buffer == nullptr && count > 0)) return ErrTransmit;
    const SerialResult result = serialWrite(m_handle, buffer, static_cast<std::uint32_t>(count),
                                            writeBoundMs(count, m_baudRate));
    if (transferred) *transferred = static_cast<int>(result.bytes);
    return result.ok && result.bytes == static_cast<std::uint32_t>(count) ? CommOk : ErrTransmit;
}

void SerialPort::purge() {
    if (m_isOpen) serialPurge(m_handle);
}
