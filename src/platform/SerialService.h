#pragma once
// The serial line in the program's own terms: open a port at a rate with the
// program's line settings, read with a time-out for the first byte and one
// between bytes, write within a bound, purge, close. Each system's file maps
// these once onto its own calls: SerialService_linux.cpp onto termios and
// poll(), SerialService_win32.cpp onto the whole DCB and COMMTIMEOUTS.
//
// Once a port is open, every byte value 0..255 passes unchanged in both
// directions: 8 data bits, no parity, one stop bit, binary (no line editing,
// no translation, no null stripping, no error character), no flow control
// unless the settings ask for the hardware handshake, whatever the previous
// user of the port left in its driver.

#include <cstdint>
#include <optional>
#include <string>

// The open port; owned by the service between serialOpen and serialClose.
struct SerialChannel;
using SerialHandle = SerialChannel*;

enum class SerialHandshake {
    None,      // the device's line: no flow control at all
    Hardware,  // RTS/CTS
};

// What the program asks of a line.
struct SerialSettings {
    std::uint32_t baudRate = 9600;
    SerialHandshake handshake = SerialHandshake::None;
};

// Why a port did not open.
enum class SerialOpenFailure {
    None,          // it opened
    NoSuchPort,    // the name maps to no device, or the device is not there
    InUse,         // another program (or another window of this one) holds it
    NoPermission,  // the system does not let this user open it
    Refused,       // it opened but is no serial port, or took not the settings
};

// What a read or write did: whether the call worked, and how many bytes it
// moved (also when it failed). A read that times out works and moves fewer
// bytes than asked.
struct SerialResult {
    bool ok = false;
    std::uint32_t bytes = 0;
};

// A read ends when all bytes have arrived, when the first has not come
// within `firstByteMs` of the call, or when more than `gapMs` pass after a
// byte without the next.
struct SerialReadTimeouts {
    std::uint32_t firstByteMs = 0;
    std::uint32_t gapMs = 0;
};

// The line as the driver holds it now (for checks and diagnostics).
struct SerialLineReport {
    std::uint32_t baudRate = 0;
    int dataBits = 8;
    bool parity = false;  // a parity bit on the line
    int stopBits = 1;
    bool binary = true;
    bool hardwareHandshake = false;
    bool xonXoff = false;  // either way
};

// Opens the port named by `devicePath` ("\\.\" followed by a port name, or an
// absolute device path) exclusively, with `settings` and the line described
// above. nullptr when the name maps to no device, the device does not open,
// another opener holds it, or the driver does not keep the rate (within 3 %)
// or the frame, or takes no time-outs; `failure`, when given, tells which.
SerialHandle serialOpen(const std::string& devicePath, const SerialSettings& settings,
                        SerialOpenFailure* failure = nullptr);
// Reads up to `count` bytes into `buffer`; the bytes after those that came
// stay as they were. Fails when the device is gone (end of file, an I/O
// error, a pulled adapter).
SerialResult serialRead(SerialHandle handle, void* buffer, std::uint32_t count,
                        SerialReadTimeouts timeouts);
// Hands `count` bytes to the line, giving up once `boundMs` have passed (a
// handshake that never clears): the result then tells how many went.
SerialResult serialWrite(SerialHandle handle, const void* buffer, std::uint32_t count,
                         std::uint32_t boundMs);
// Drops what waits in the receive buffer and what has not left the transmit
// buffer.
bool serialPurge(SerialHandle handle);
std::optional<SerialLineReport> serialLineReport(SerialHandle handle);
// Releases the port; the handle is invalid afterwards (nullptr is ignored).
bool serialClose(SerialHandle handle);
