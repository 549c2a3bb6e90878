// The serial service on the Windows communication calls themselves: the
// line state is the driver's DCB and the time-outs are its COMMTIMEOUTS, so
// the read time-outs need no reproduction here. The port is opened
// synchronously (no overlapped I/O), and every call blocks its thread.
//
// The driver keeps the DCB of the last program that used the port. Setting
// the state therefore writes the whole DCB, never a few members of what the
// driver reports: XON/XOFF left on stops the line at every 0x13 byte of a
// block, null stripping drops the zero bytes, and abort-on-error fails
// every call after a line error until it is cleared.

#include <windows.h>

#include <chrono>
#include <thread>

#include "platform/SerialPortNames.h"
#include "platform/SerialRateCheck.h"
#include "platform/SerialService.h"

static_assert(PurgeTxClear == PURGE_TXCLEAR && PurgeRxClear == PURGE_RXCLEAR);
static_assert(SerialTimeouts::MaxTimeout == MAXDWORD);

struct SerialChannel {
    HANDLE handle = INVALID_HANDLE_VALUE;
    std::uint32_t baudRate = 0;  // as last set
    // When the bytes of the last write have had their time on the line.
    std::chrono::steady_clock::time_point sentBy{};
};

namespace {

bool valid(SerialHandle channel) {
    return channel != nullptr && channel->handle != INVALID_HANDLE_VALUE;
}

bool readState(HANDLE handle, DCB& dcb) {
    dcb = DCB{};
    dcb.DCBlength = sizeof dcb;
    return GetCommState(handle, &dcb) != 0;
}

// The complete DCB for `state`: the members the state carries, and for all
// others a binary line without flow control of its own: DTR and RTS on, no
// DSR handshake, no null stripping, no error or event character, no abort
// on errors. This is the line the Linux service sets up on open.
DCB dcbFor(const SerialLineState& state) {
    DCB dcb{};
    dcb.DCBlength = sizeof dcb;
    dcb.BaudRate = state.BaudRate;
    dcb.ByteSize = state.ByteSize;
    dcb.Parity = state.Parity;
    dcb.StopBits = state.StopBits;
    dcb.fBinary = TRUE;  // Windows has no other mode
    dcb.fParity = state.fParity;
    // The hardware handshake is one switch in the state and two members in
    // the DCB (CTS for output, RTS for input).
    dcb.fOutxCtsFlow = state.fOutxCtsFlow;
    dcb.fRtsControl = state.fOutxCtsFlow ? RTS_CONTROL_HANDSHAKE : RTS_CONTROL_ENABLE;
    dcb.fOutxDsrFlow = FALSE;
    dcb.fDtrControl = DTR_CONTROL_ENABLE;
    dcb.fDsrSensitivity = FALSE;
    dcb.fTXContinueOnXoff = TRUE;
    dcb.fOutX = state.fOutX;
    dcb.fInX = state.fInX;
    dcb.fErrorChar = FALSE;
    dcb.fNull = FALSE;
    dcb.fAbortOnError = FALSE;
    // Where input XON/XOFF, if asked for, stops and restarts the sender:
    // well inside the 32 KiB receive queue the port is given.
    dcb.XonLim = 2048;
    dcb.XoffLim = 512;
    dcb.XonChar = state.XonChar;
    dcb.XoffChar = state.XoffChar;
    dcb.ErrorChar = 0;
    dcb.EofChar = 0;
    dcb.EvtChar = 0;
    return dcb;
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

SerialHandle serialOpen(const std::string& devicePath, SerialOpenFailure* failure) {
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
    why = SerialOpenFailure::None;
    return channel;
}

bool serialSetupQueues(SerialHandle channel, std::uint32_t inQueue, std::uint32_t outQueue) {
    return valid(channel) && SetupComm(channel->handle, inQueue, outQueue) != 0;
}

bool serialGetState(SerialHandle channel, SerialLineState& state) {
    DCB dcb;
    if (!valid(channel) || !readState(channel->handle, dcb)) return false;
    SerialLineState s;
    s.BaudRate = dcb.BaudRate;
    s.ByteSize = dcb.ByteSize;
    s.Parity = dcb.Parity;
    s.StopBits = dcb.StopBits;
    s.fBinary = dcb.fBinary != 0;
    s.fParity = dcb.fParity != 0;
    s.fOutxCtsFlow = dcb.fOutxCtsFlow != 0;
    s.fOutX = dcb.fOutX != 0;
    s.fInX = dcb.fInX != 0;
    s.XonChar = dcb.XonChar;
    s.XoffChar = dcb.XoffChar;
    state = s;
    return true;
}

bool serialSetState(SerialHandle channel, const SerialLineState& state) {
    if (!valid(channel) || state.BaudRate == 0 || state.ByteSize < 5 || state.ByteSize > 8 ||
        state.Parity > 4 || (state.StopBits != 0 && state.StopBits != 2)) {
        return false;
    }
    DCB dcb = dcbFor(state);
    if (!SetCommState(channel->handle, &dcb)) return false;
    channel->baudRate = state.BaudRate;

    // SetCommState succeeds with drivers that silently keep another rate;
    // the state read back tells.
    DCB back;
    return readState(channel->handle, back) && back.ByteSize == dcb.ByteSize &&
           back.Parity == dcb.Parity && back.StopBits == dcb.StopBits &&
           serialRateAccepted(state.BaudRate, back.BaudRate);
}

bool serialGetTimeouts(SerialHandle channel, SerialTimeouts& timeouts) {
    COMMTIMEOUTS t{};
    if (!valid(channel) || !GetCommTimeouts(channel->handle, &t)) return false;
    timeouts.ReadIntervalTimeout = t.ReadIntervalTimeout;
    timeouts.ReadTotalTimeoutMultiplier = t.ReadTotalTimeoutMultiplier;
    timeouts.ReadTotalTimeoutConstant = t.ReadTotalTimeoutConstant;
    timeouts.WriteTotalTimeoutMultiplier = t.WriteTotalTimeoutMultiplier;
    timeouts.WriteTotalTimeoutConstant = t.WriteTotalTimeoutConstant;
    return true;
}

bool serialSetTimeouts(SerialHandle channel, const SerialTimeouts& timeouts) {
    if (!valid(channel)) return false;
    COMMTIMEOUTS t{};
    t.ReadIntervalTimeout = timeouts.ReadIntervalTimeout;
    t.ReadTotalTimeoutMultiplier = timeouts.ReadTotalTimeoutMultiplier;
    t.ReadTotalTimeoutConstant = timeouts.ReadTotalTimeoutConstant;
    t.WriteTotalTimeoutMultiplier = timeouts.WriteTotalTimeoutMultiplier;
    t.WriteTotalTimeoutConstant = timeouts.WriteTotalTimeoutConstant;
    return SetCommTimeouts(channel->handle, &t) != 0;
}

bool serialRead(SerialHandle channel, void* buffer, std::uint32_t count,
                std::uint32_t* transferred) {
    if (transferred) *transferred = 0;
    if (!valid(channel) || (buffer == nullptr && count > 0)) return false;
    DWORD got = 0;
    const BOOL ok = ReadFile(channel->handle, buffer, count, &got, nullptr);
    if (transferred) *transferred = got;
    if (!ok) {
        clearLineErrors(channel->handle);
        return false;
    }
    // A read that ended early timed out, or the device is gone.
    return got == count || clearLineErrors(channel->handle);
}

bool serialWrite(SerialHandle channel, const void* buffer, std::uint32_t count,
                 std::uint32_t* transferred) {
    if (transferred) *transferred = 0;
    if (!valid(channel) || (buffer == nullptr && count > 0)) return false;
    DWORD done = 0;
    const BOOL ok = WriteFile(channel->handle, buffer, count, &done, nullptr);
    if (transferred) *transferred = done;
    if (!ok) clearLineErrors(channel->handle);
    if (channel->baudRate != 0) {
        // 10 bit times a byte: start bit, 8 data bits, stop bit.
        channel->sentBy =
            std::chrono::steady_clock::now() +
            std::chrono::microseconds(std::uint64_t{done} * 10'000'000 / channel->baudRate);
    }
    return ok != 0;
}

bool serialPurge(SerialHandle channel, unsigned flags) {
    if (!valid(channel)) return false;
    const DWORD what = flags & (PURGE_TXCLEAR | PURGE_RXCLEAR);
    // A write returns once the driver has the bytes; a USB adapter (or, under
    // Wine, a pseudo-terminal) may still hold them. Clearing the transmit
    // side at once would cut off the tail of a block the device is still
    // receiving, so it waits until the bytes have had their time on the line.
    if ((what & PURGE_TXCLEAR) != 0) std::this_thread::sleep_until(channel->sentBy);
    return what == 0 || PurgeComm(channel->handle, what) != 0;
}

bool serialClose(SerialHandle channel) {
    if (channel == nullptr) return true;
    const bool ok = channel->handle == INVALID_HANDLE_VALUE || CloseHandle(channel->handle) != 0;
    delete channel;
    return ok;
}
