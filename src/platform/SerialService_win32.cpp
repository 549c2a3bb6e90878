// The serial service on the Windows communication calls themselves: the
// line is the driver's DCB and the time-outs are its COMMTIMEOUTS. The port
// is opened synchronously (no overlapped I/O), and every call blocks its
// thread.
//
// The driver keeps the DCB of the last program that used the port. Opening
// therefore writes the whole DCB, never a few members of what the driver
// reports: XON/XOFF left on stops the line at every 0x13 byte of a block,
// null stripping drops the zero bytes, and abort-on-error fails every call
// after a line error until it is cleared.
//
// COMMTIMEOUTS cannot say "the first byte within X, then Y between bytes":
// its interval starts only with the first byte, and its total grows with the
// count. A read is therefore a run of reads that each return whatever has
// come and wait for at least one byte (interval and multiplier MAXDWORD, a
// constant between): the first up to the first byte's time-out, every later
// one up to the gap. A write's bound is the write constant.

#include <windows.h>

#include <algorithm>
#include <chrono>
#include <cstring>
#include <thread>

#include "platform/SerialPortNames.h"
#include "platform/SerialRateCheck.h"
#include "platform/SerialService.h"

struct SerialChannel {
    HANDLE handle = INVALID_HANDLE_VALUE;
    std::uint32_t baudRate = 0;
    // When the bytes of the last write have had their time on the line.
    std::chrono::steady_clock::time_point sentBy{};
    COMMTIMEOUTS timeouts{};  // as last set
};

namespace {

// The driver's queues: a whole block and more each way.
constexpr DWORD InQueueSize = 32768;
constexpr DWORD OutQueueSize = 8192;

bool valid(SerialHandle channel) {
    return channel != nullptr && channel->handle != INVALID_HANDLE_VALUE;
}

bool readState(HANDLE handle, DCB& dcb) {
    dcb = DCB{};
    dcb.DCBlength = sizeof dcb;
    return GetCommState(handle, &dcb) != 0;
}

// The complete DCB of the program's line: 8 data bits, no parity, one stop
// bit, binary, DTR and RTS on, no DSR handshake, no XON/XOFF, no null
// stripping, no error or event character, no abort on errors; the hardware
// handshake only when asked. This is the line the Linux service sets up.
DCB dcbFor(const SerialSettings& settings) {
    const bool hardware = settings.handshake == SerialHandshake::Hardware;
    DCB dcb{};
    dcb.DCBlength = sizeof dcb;
    dcb.BaudRate = settings.baudRate;
    dcb.ByteSize = 8;
    dcb.Parity = NOPARITY;
    dcb.StopBits = ONESTOPBIT;
    dcb.fBinary = TRUE;  // Windows has no other mode
    dcb.fParity = FALSE;
    // The hardware handshake is one setting and two members in the DCB (CTS
    // for output, RTS for input).
    dcb.fOutxCtsFlow = hardware;
    dcb.fRtsControl = hardware ? RTS_CONTROL_HANDSHAKE : RTS_CONTROL_ENABLE;
    dcb.fOutxDsrFlow = FALSE;
    dcb.fDtrControl = DTR_CONTROL_ENABLE;
    dcb.fDsrSensitivity = FALSE;
    dcb.fTXContinueOnXoff = TRUE;
    dcb.fOutX = FALSE;
    dcb.fInX = FALSE;
    dcb.fErrorChar = FALSE;
    dcb.fNull = FALSE;
    dcb.fAbortOnError = FALSE;
    dcb.XonLim = 2048;
    dcb.XoffLim = 512;
    dcb.XonChar = 0x11;
    dcb.XoffChar = 0x13;
    dcb.ErrorChar = 0;
    dcb.EofChar = 0;
    dcb.EvtChar = 0;
    return dcb;
}

// Sets the whole COMMTIMEOUTS, unless the driver has them already.
bool useTimeouts(SerialChannel& channel, const COMMTIMEOUTS& timeouts) {
    if (std::memcmp(&channel.timeouts, &timeouts, sizeof timeouts) == 0) return true;
    COMMTIMEOUTS t = timeouts;
    if (!SetCommTimeouts(channel.handle, &t)) return false;
    channel.timeouts = timeouts;
    return true;
}

// Reads that return whatever has come, waiting up to `ms` (at least 1, below
// MAXDWORD: 0 and MAXDWORD mean other modes) for one byte; writes bounded
// by `writeMs` in all.
COMMTIMEOUTS waitForAny(std::uint32_t ms, std::uint32_t writeMs) {
    COMMTIMEOUTS t{};
    t.ReadIntervalTimeout = MAXDWORD;
    t.ReadTotalTimeoutMultiplier = MAXDWORD;
    t.ReadTotalTimeoutConstant = std::clamp<DWORD>(ms, 1, MAXDWORD - 1);
    t.WriteTotalTimeoutMultiplier = 0;
    // 0 would mean no bound at all.
    t.WriteTotalTimeoutConstant = std::max<DWORD>(writeMs, 1);
    return t;
}

// Clears what the driver holds after a line error (a framing error, an
// overrun), so that the next call starts clean. False when the port no
// longer answers: a USB adapter that was pulled fails every call on its
// handle, this one included.
bool clearLineErrors(HANDLE handle) {
    DWORD errors = 0;
    COMSTAT status{};
    return ClearCommError(handle, &errors, &status) != 0;
}

}  // namespace

SerialHandle serialOpen(const std::string& devicePath, const SerialSettings& settings,
                        SerialOpenFailure* failure) {
    SerialOpenFailure ignored = SerialOpenFailure::None;
    SerialOpenFailure& why = failure ? *failure : ignored;
    why = SerialOpenFailure::NoSuchPort;
    const std::string path = devicePathForPort(devicePath);
    if (path.find('\0') != std::string::npos) return nullptr;
    // Share mode 0: nobody else may have the port open, and nobody gets it
    // while we do.
    const HANDLE handle = CreateFileA(path.c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr,
                                      OPEN_EXISTING, 0, nullptr);
    if (handle == INVALID_HANDLE_VALUE) {
        // A port another program holds answers "access denied".
        const DWORD error = GetLastError();
        why = error == ERROR_ACCESS_DENIED || error == ERROR_SHARING_VIOLATION
                  ? SerialOpenFailure::InUse
              : error == ERROR_FILE_NOT_FOUND || error == ERROR_PATH_NOT_FOUND
                  ? SerialOpenFailure::NoSuchPort
                  : SerialOpenFailure::Refused;
        return nullptr;
    }
    auto* channel = new SerialChannel;
    channel->handle = handle;
    channel->baudRate = settings.baudRate;
    why = SerialOpenFailure::Refused;
    DCB dcb = dcbFor(settings);
    DCB back;
    // SetCommState succeeds with drivers that silently keep another rate;
    // the state read back tells. Without its time-outs the port would wait
    // for ever on a silent device.
    const bool ready = settings.baudRate != 0 && SetupComm(handle, InQueueSize, OutQueueSize) &&
                       readState(handle, back) && SetCommState(handle, &dcb) &&
                       readState(handle, back) && back.ByteSize == dcb.ByteSize &&
                       back.Parity == dcb.Parity && back.StopBits == dcb.StopBits &&
                       serialRateAccepted(settings.baudRate, back.BaudRate) &&
                       useTimeouts(*channel, waitForAny(1, 1));
    if (!ready) {
        serialClose(channel);
        return nullptr;
    }
    why = SerialOpenFailure::None;
    return channel;
}

SerialResult serialRead(SerialHandle channel, void* buffer, std::uint32_t count,
                        SerialReadTimeouts timeouts) {
    SerialResult result;
    if (!valid(channel) || (buffer == nullptr && count > 0)) return result;
    auto* out = static_cast<std::uint8_t*>(buffer);
    std::uint32_t waitMs = timeouts.firstByteMs;
    while (result.bytes < count) {
        if (!useTimeouts(*channel,
                         waitForAny(waitMs, channel->timeouts.WriteTotalTimeoutConstant))) {
            return result;
        }
        DWORD got = 0;
        const BOOL ok =
            ReadFile(channel->handle, out + result.bytes, count - result.bytes, &got, nullptr);
        result.bytes += got;
        if (!ok) {
            clearLineErrors(channel->handle);
            return result;
        }
        if (got == 0) {
            // Timed out, or the device is gone.
            result.ok = clearLineErrors(channel->handle);
            return result;
        }
        waitMs = timeouts.gapMs;
    }
    result.ok = true;
    return result;
}

SerialResult serialWrite(SerialHandle channel, const void* buffer, std::uint32_t count,
                         std::uint32_t boundMs) {
    SerialResult result;
    if (!valid(channel) || (buffer == nullptr && count > 0)) return result;
    if (!useTimeouts(*channel, waitForAny(channel->timeouts.ReadTotalTimeoutConstant, boundMs))) {
        return result;
    }
    DWORD done = 0;
    const BOOL ok = WriteFile(channel->handle, buffer, count, &done, nullptr);
    result.bytes = done;
    result.ok = ok != 0;
    if (!ok) clearLineErrors(channel->handle);
    if (channel->baudRate != 0) {
        // 10 bit times a byte: start bit, 8 data bits, stop bit.
        channel->sentBy =
            std::chrono::steady_clock::now() +
            std::chrono::microseconds(std::uint64_t{done} * 10'000'000 / channel->baudRate);
    }
    return result;
}

bool serialPurge(SerialHandle channel) {
    if (!valid(channel)) return false;
    // A write returns once the driver has the bytes; a USB adapter (or, under
    // Wine, a pseudo-terminal) may still hold them. Clearing the transmit
    // side at once would cut off the tail of a block the device is still
    // receiving, so it waits until the bytes have had their time on the line.
    std::this_thread::sleep_until(channel->sentBy);
    return PurgeComm(channel->handle, PURGE_TXCLEAR | PURGE_RXCLEAR) != 0;
}

std::optional<SerialLineReport> serialLineReport(SerialHandle channel) {
    DCB dcb;
    if (!valid(channel) || !readState(channel->handle, dcb)) return std::nullopt;
    SerialLineReport line;
    line.baudRate = dcb.BaudRate;
    line.dataBits = dcb.ByteSize;
    line.parity = dcb.Parity != NOPARITY || dcb.fParity;
    line.stopBits = dcb.StopBits == TWOSTOPBITS ? 2 : 1;
    line.binary = dcb.fBinary && !dcb.fNull && !dcb.fErrorChar;
    line.hardwareHandshake = dcb.fOutxCtsFlow != 0;
    line.xonXoff = dcb.fOutX || dcb.fInX;
    return line;
}

bool serialClose(SerialHandle channel) {
    if (channel == nullptr) return true;
    const bool ok = channel->handle == INVALID_HANDLE_VALUE || CloseHandle(channel->handle) != 0;
    delete channel;
    return ok;
}
