#pragma once
// Serial communication, shaped like the Windows communication calls the
// program's logic is written against: open a device path exclusively, size the
// queues, get and set the line state and the time-outs, read, write, purge and
// close. Every call returns false on failure and touches nothing else.
//
// Every byte value 0..255 passes unchanged in both directions once the state
// is set: the line is then binary, with the flow control the state asks for
// and none other, whatever the previous user of the port left. Under Linux a
// freshly opened port is already in that state (no echo, no line editing, no
// signal characters, no CR/LF translation, no XON/XOFF, no hardware
// handshake, receiver on, modem lines ignored); under Windows it keeps the
// driver's state until serialSetState writes the whole DCB (DTR on, no DSR
// handshake, no null stripping, no error character, no abort on errors).

#include <cstdint>
#include <string>

// The open port; owned by the service between serialOpen and serialClose.
struct SerialChannel;
using SerialHandle = SerialChannel*;

// The line state (the counterpart of a Windows DCB). serialSetState applies
// BaudRate, ByteSize, Parity and StopBits, and the flow-control members as
// given, and sets the binary line described above for everything else;
// fBinary is reported for information.
struct SerialLineState {
    std::uint32_t BaudRate = 0;
    std::uint8_t ByteSize = 8;  // 5..8
    std::uint8_t Parity = 0;    // 0 none, 1 odd, 2 even
    std::uint8_t StopBits = 0;  // 0 one, 2 two (1, one and a half, is refused)
    bool fBinary = true;        // no line editing or translation
    bool fParity = false;       // parity checking on input
    bool fOutxCtsFlow = false;  // hardware handshake (RTS/CTS)
    bool fOutX = false;         // XON/XOFF on output
    bool fInX = false;          // XON/XOFF on input
    char XonChar = 0x11;
    char XoffChar = 0x13;
};

// Time-outs in milliseconds, with the meaning of Windows COMMTIMEOUTS.
// A read ends when all bytes have arrived, when more than ReadIntervalTimeout
// passes between two bytes (0: no interval limit), or when
// ReadTotalTimeoutConstant + ReadTotalTimeoutMultiplier x count has passed
// (both 0: no total limit). An interval of MaxTimeout with both totals 0 returns
// at once with what is there. An interval and a multiplier of MaxTimeout with
// a constant C (0 < C < MaxTimeout) return at once with what is there, and
// with nothing there wait up to C ms for the first byte and return with what
// has come then. A read that times out still succeeds and reports the bytes
// that arrived. Write time-outs likewise bound a write in total.
struct SerialTimeouts {
    static constexpr std::uint32_t MaxTimeout = 0xFFFFFFFFu;
    std::uint32_t ReadIntervalTimeout = 0;
    std::uint32_t ReadTotalTimeoutMultiplier = 0;
    std::uint32_t ReadTotalTimeoutConstant = 0;
    std::uint32_t WriteTotalTimeoutMultiplier = 0;
    std::uint32_t WriteTotalTimeoutConstant = 0;
};

// Flags of serialPurge.
constexpr unsigned PurgeTxClear = 4;
constexpr unsigned PurgeRxClear = 8;

// Why a port did not open.
enum class SerialOpenFailure {
    None,          // it opened
    NoSuchPort,    // the name maps to no device, or the device is not there
    InUse,         // another program (or another window of this one) holds it
    NoPermission,  // the system does not let this user open it
    Refused,       // it opened but is no serial port, or took no line state
};

// Opens the port named by `devicePath` ("\\.\" followed by a port name, or an
// absolute device path) for reading and writing, exclusively. nullptr when the
// name maps to no device, the device does not open, or another opener holds
// it; `failure`, when given, tells which.
SerialHandle serialOpen(const std::string& devicePath, SerialOpenFailure* failure = nullptr);
bool serialSetupQueues(SerialHandle handle, std::uint32_t inQueue, std::uint32_t outQueue);
bool serialGetState(SerialHandle handle, SerialLineState& state);
// Fails when the driver refuses a value (an unsupported rate, for one).
bool serialSetState(SerialHandle handle, const SerialLineState& state);
bool serialGetTimeouts(SerialHandle handle, SerialTimeouts& timeouts);
bool serialSetTimeouts(SerialHandle handle, const SerialTimeouts& timeouts);
// `transferred` receives the number of bytes moved, also when the call fails.
bool serialRead(SerialHandle handle, void* buffer, std::uint32_t count, std::uint32_t* transferred);
bool serialWrite(SerialHandle handle, const void* buffer, std::uint32_t count,
                 std::uint32_t* transferred);
// Discards what waits in the transmit (PurgeTxClear) and/or receive
// (PurgeRxClear) buffers of the driver.
bool serialPurge(SerialHandle handle, unsigned flags);
// Releases the port; the handle is invalid afterwards (nullptr is ignored).
bool serialClose(SerialHandle handle);
