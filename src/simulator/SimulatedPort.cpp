#include "simulator/SimulatedPort.h"

#include <algorithm>
#include <stdexcept>
#include <string>

#include "device/SerialPort.h"
#include "platform/SerialPortNames.h"

void SimulatedPort::attachDevice(int n, const DevsimFaults& faults, const WireImage& memory) {
    Line line;
    line.device.emplace(faults, memory);
    line.toProgram = line.device->staleBytes();
    m_lines[n] = std::move(line);
}

void SimulatedPort::attachScriptedDevice(int n, ScriptedAnswer answer) {
    Line line;
    line.script = std::move(answer);
    m_lines[n] = std::move(line);
}

void SimulatedPort::holdPort(int n) {
    m_lines[n].held = true;
}

CommErrorCode SimulatedPort::open(const std::string& devicePath, int baudRate) {
    close();
    m_openFailure = {SerialOpenFailure::NoSuchPort, devicePath};
    const std::optional<int> n = comPortNumber(portNameOfDevicePath(devicePath));
    if (!n) return ErrPortBusy;
    const auto line = m_lines.find(*n);
    if (line == m_lines.end()) return ErrPortBusy;
    m_openFailure.reason =
        line->second.held ? SerialOpenFailure::InUse : SerialOpenFailure::Refused;
    if (line->second.held || baudRate <= 0) return ErrPortBusy;
    m_openFailure.reason = SerialOpenFailure::None;
    m_open = *n;
    m_baudRate = baudRate;
    return CommOk;
}

CommErrorCode SimulatedPort::close() {
    m_open = 0;
    return CommOk;
}

int SimulatedPort::take(void* buffer, int count, long long emptyWaitMs) {
    if (count < 0 || (buffer == nullptr && count > 0)) return -1;
    std::vector<std::uint8_t>& waiting = openLine().toProgram;
    const int got = std::min(count, static_cast<int>(waiting.size()));
    std::copy_n(waiting.begin(), got, static_cast<std::uint8_t*>(buffer));
    waiting.erase(waiting.begin(), waiting.begin() + got);
    // Everything there arrived at once: a real port gives up 500 ms after the
    // last byte, or, with none at all, at the end of its wait for the first.
    if (got < count) m_elapsedMs += got > 0 ? SerialPort::ReadTimeoutMs : emptyWaitMs;
    return got;
}

CommErrorCode SimulatedPort::read(void* buffer, int count, int* transferred) {
    if (transferred) *transferred = 0;
    if (!isOpen()) return ErrPortNotInitialized;
    // The total budget of 500 + 500 x count ms.
    constexpr long long Interval = SerialPort::ReadTimeoutMs;
    const int got = take(buffer, count, Interval + Interval * count);
    if (got < 0) return ErrReceive;
    if (transferred) *transferred = got;
    return CommOk;
}

CommErrorCode SimulatedPort::readBlock(void* buffer, int count, std::uint32_t firstByteMs,
                                       int* transferred) {
    if (transferred) *transferred = 0;
    if (!isOpen()) return ErrPortNotInitialized;
    const int got = take(buffer, count, firstByteMs);
    if (got < 0) return ErrReceive;
    if (transferred) *transferred = got;
    return CommOk;
}

CommErrorCode SimulatedPort::write(const void* buffer, int count, int* transferred) {
    if (transferred) *transferred = 0;
    if (!isOpen()) return ErrPortNotInitialized;
    if (count < 0 || (buffer == nullptr && count > 0)) return ErrTransmit;
    Line& line = openLine();
    const auto* bytes = static_cast<const std::uint8_t*>(buffer);
    for (int i = 0; i < count; ++i) {
        line.received.push_back(bytes[i]);
        if (line.script) {
            const std::vector<std::uint8_t> reply = line.script(bytes[i]);
            line.toProgram.insert(line.toProgram.end(), reply.begin(), reply.end());
            continue;
        }
        if (!line.device) continue;
        DevsimResponder& device = *line.device;
        if (device.receivingBlock() &&
            m_elapsedMs - line.lastByteMs >= DevsimResponder::BlockGapMs) {
            device.abandonBlock();
        }
        line.lastByteMs = m_elapsedMs;
        const std::vector<std::uint8_t> reply = device.feed(bytes[i]);
        line.toProgram.insert(line.toProgram.end(), reply.begin(), reply.end());
        if (device.takeBlockStored()) ++line.blocksStored;
    }
    if (transferred) *transferred = count;
    return CommOk;
}

void SimulatedPort::purge() {
    if (isOpen()) openLine().toProgram.clear();
}

const SimulatedPort::Line& SimulatedPort::deviceLine(int n, bool simulated) const {
    const auto line = m_lines.find(n);
    if (line == m_lines.end() || !(line->second.device || (!simulated && line->second.script))) {
        throw std::logic_error("no simulated device on COM" + std::to_string(n));
    }
    return line->second;
}

const WireImage& SimulatedPort::memory(int n) const {
    return deviceLine(n, true).device->memory();
}

int SimulatedPort::blocksStored(int n) const {
    return deviceLine(n, true).blocksStored;
}

const std::vector<std::uint8_t>& SimulatedPort::received(int n) const {
    return deviceLine(n, false).received;
}
