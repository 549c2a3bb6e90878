// The serial service on termios. The descriptor stays non-blocking for its
// whole life; every wait is a poll() with a deadline: the first byte's, then
// the gap's after each byte, or the write's bound.

#include <fcntl.h>
#include <poll.h>
#include <sys/file.h>
#include <sys/ioctl.h>
#include <sys/stat.h>
#include <sys/sysmacros.h>
#include <termios.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <cstdlib>
#include <optional>

#include "platform/SerialBaudRate_linux.h"
#include "platform/SerialPortNames_linux.h"
#include "platform/SerialRateCheck.h"
#include "platform/SerialService.h"

struct SerialChannel {
    int fd = -1;
    bool pseudoTerminal = false;
};

namespace {

using Clock = std::chrono::steady_clock;

struct StandardRate {
    std::uint32_t rate;
    speed_t code;
};

constexpr StandardRate StandardRates[] = {
    {50, B50},           {75, B75},           {110, B110},         {134, B134},
    {150, B150},         {200, B200},         {300, B300},         {600, B600},
    {1200, B1200},       {1800, B1800},       {2400, B2400},       {4800, B4800},
    {9600, B9600},       {19200, B19200},     {38400, B38400},     {57600, B57600},
    {115200, B115200},   {230400, B230400},   {460800, B460800},   {500000, B500000},
    {576000, B576000},   {921600, B921600},   {1000000, B1000000}, {1152000, B1152000},
    {1500000, B1500000}, {2000000, B2000000}, {2500000, B2500000}, {3000000, B3000000},
    {3500000, B3500000}, {4000000, B4000000},
};

std::optional<speed_t> standardRateCode(std::uint32_t rate) {
    for (const StandardRate& entry : StandardRates) {
        if (entry.rate == rate) return entry.code;
    }
    return std::nullopt;
}

// The program's line: raw, 8 data bits, no parity, one stop bit, no flow
// control but the hardware handshake when asked, receiver on, modem lines
// ignored, the line kept up when the port is closed.
void makeLine(termios& tio, SerialHandshake handshake) {
    cfmakeraw(&tio);
    tio.c_iflag &= ~static_cast<tcflag_t>(IXON | IXOFF | IXANY | INPCK | ISTRIP | IGNPAR);
    tio.c_cflag &=
        ~static_cast<tcflag_t>(CSIZE | PARENB | PARODD | CMSPAR | CSTOPB | CRTSCTS | HUPCL);
    tio.c_cflag |= CS8 | CLOCAL | CREAD;
    if (handshake == SerialHandshake::Hardware) tio.c_cflag |= CRTSCTS;
    tio.c_cc[VMIN] = 0;
    tio.c_cc[VTIME] = 0;
}

// Sets the line and checks that the driver kept what matters: tcsetattr
// reports success when any part of the change took.
bool setLine(int fd, termios tio, const SerialSettings& settings) {
    makeLine(tio, settings.handshake);
    const std::optional<speed_t> code = standardRateCode(settings.baudRate);
    if (code && (cfsetispeed(&tio, *code) != 0 || cfsetospeed(&tio, *code) != 0)) return false;
    if (tcsetattr(fd, TCSANOW, &tio) != 0) return false;
    if (!code && !setLineSpeed(fd, settings.baudRate)) return false;
    termios back{};
    if (tcgetattr(fd, &back) != 0) return false;
    const tcflag_t frame = CSIZE | PARENB | PARODD | CMSPAR | CSTOPB;
    return (back.c_cflag & frame) == (tio.c_cflag & frame) &&
           serialRateAccepted(settings.baudRate, lineSpeed(fd));
}

// Milliseconds from now to `deadline`, clamped for poll(); -1 without one.
int pollTimeout(const std::optional<Clock::time_point>& deadline) {
    if (!deadline) return -1;
    const auto left =
        std::chrono::duration_cast<std::chrono::milliseconds>(*deadline - Clock::now()).count();
    if (left <= 0) return 0;
    return static_cast<int>(std::min<long long>(left + 1, 24LL * 3600 * 1000));
}

bool expired(const std::optional<Clock::time_point>& deadline) {
    return deadline && Clock::now() >= *deadline;
}

std::optional<Clock::time_point> deadlineAfter(Clock::time_point from, std::uint64_t ms) {
    return from + std::chrono::milliseconds(ms);
}

// Unix98 pseudo-terminal slaves have the majors 136..143.
bool isPseudoTerminalSlave(int fd) {
    struct stat st {};
    if (fstat(fd, &st) != 0 || !S_ISCHR(st.st_mode)) return false;
    const unsigned m = major(st.st_rdev);
    return m >= 136 && m <= 143;
}

bool valid(SerialHandle handle) {
    return handle != nullptr && handle->fd >= 0;
}

}  // namespace

SerialHandle serialOpen(const std::string& devicePath, const SerialSettings& settings,
                        SerialOpenFailure* failure) {
    SerialOpenFailure ignored = SerialOpenFailure::None;
    SerialOpenFailure& why = failure ? *failure : ignored;
    why = SerialOpenFailure::NoSuchPort;
    std::optional<std::string> node = resolveSerialPortName(devicePath);
    if (!node) return nullptr;
    const int fd = ::open(node->c_str(), O_RDWR | O_NOCTTY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0) {
        // EBUSY: another opener set TIOCEXCL.
        why = errno == EBUSY                      ? SerialOpenFailure::InUse
              : errno == EACCES || errno == EPERM ? SerialOpenFailure::NoPermission
              : errno == ENOENT || errno == ENXIO || errno == ENODEV ? SerialOpenFailure::NoSuchPort
                                                                     : SerialOpenFailure::Refused;
        return nullptr;
    }
    // The lock keeps out every other opener that locks too (this program, and
    // most serial tools); TIOCEXCL keeps out all other non-root openers.
    termios tio{};
    why = SerialOpenFailure::Refused;
    if (!isatty(fd)) {
        ::close(fd);
        return nullptr;
    }
    if (flock(fd, LOCK_EX | LOCK_NB) != 0) {
        if (errno == EWOULDBLOCK) why = SerialOpenFailure::InUse;
        ::close(fd);
        return nullptr;
    }
    if (ioctl(fd, TIOCEXCL) != 0 || tcgetattr(fd, &tio) != 0) {
        ::close(fd);
        return nullptr;
    }
    if (settings.baudRate == 0 || !setLine(fd, tio, settings)) {
        ioctl(fd, TIOCNXCL);
        ::close(fd);
        return nullptr;
    }
    auto* channel = new SerialChannel;
    channel->fd = fd;
    channel->pseudoTerminal = isPseudoTerminalSlave(fd);
    why = SerialOpenFailure::None;
    return channel;
}

SerialResult serialRead(SerialHandle handle, void* buffer, std::uint32_t count,
                        SerialReadTimeouts timeouts) {
    SerialResult result;
    if (!valid(handle) || (buffer == nullptr && count > 0)) return result;
    auto* out = static_cast<unsigned char*>(buffer);
    std::optional<Clock::time_point> deadline = deadlineAfter(Clock::now(), timeouts.firstByteMs);
    while (result.bytes < count) {
        pollfd pfd{handle->fd, POLLIN, 0};
        const int ready = ::poll(&pfd, 1, pollTimeout(deadline));
        if (ready < 0) {
            if (errno == EINTR) continue;
            return result;
        }
        if (ready > 0) {
            const ssize_t n = ::read(handle->fd, out + result.bytes, count - result.bytes);
            if (n > 0) {
                result.bytes += static_cast<std::uint32_t>(n);
                deadline = deadlineAfter(Clock::now(), timeouts.gapMs);
                continue;
            }
            if (n < 0 && (errno == EAGAIN || errno == EINTR)) continue;
            // End of file or an I/O error: the device is gone (a USB adapter
            // pulled, the other end of a pseudo-terminal closed).
            return result;
        }
        if (expired(deadline)) break;
    }
    result.ok = true;
    return result;
}

SerialResult serialWrite(SerialHandle handle, const void* buffer, std::uint32_t count,
                         std::uint32_t boundMs) {
    SerialResult result;
    if (!valid(handle) || (buffer == nullptr && count > 0)) return result;
    const auto* in = static_cast<const unsigned char*>(buffer);
    const std::optional<Clock::time_point> bound = deadlineAfter(Clock::now(), boundMs);
    result.ok = true;
    while (result.bytes < count) {
        const ssize_t n = ::write(handle->fd, in + result.bytes, count - result.bytes);
        if (n > 0) {
            result.bytes += static_cast<std::uint32_t>(n);
            continue;
        }
        if (n < 0 && errno == EINTR) continue;
        if (n < 0 && errno != EAGAIN) {
            result.ok = false;
            break;
        }
        // The driver's buffer is full: wait until it drains or time runs out.
        if (expired(bound)) break;
        pollfd pfd{handle->fd, POLLOUT, 0};
        if (::poll(&pfd, 1, pollTimeout(bound)) < 0 && errno != EINTR) {
            result.ok = false;
            break;
        }
        if (pfd.revents & (POLLERR | POLLHUP | POLLNVAL)) {
            result.ok = false;
            break;
        }
    }
    return result;
}

bool serialPurge(SerialHandle handle) {
    if (!valid(handle)) return false;
    // A pseudo-terminal has no transmit buffer: what was written already sits
    // in the other end's receive buffer, and flushing the slave's output
    // would discard it there (data the far end has, in effect, received).
    return tcflush(handle->fd, handle->pseudoTerminal ? TCIFLUSH : TCIOFLUSH) == 0;
}

std::optional<SerialLineReport> serialLineReport(SerialHandle handle) {
    termios tio{};
    if (!valid(handle) || tcgetattr(handle->fd, &tio) != 0) return std::nullopt;
    SerialLineReport line;
    line.baudRate = lineSpeed(handle->fd);
    switch (tio.c_cflag & CSIZE) {
        case CS5:
            line.dataBits = 5;
            break;
        case CS6:
            line.dataBits = 6;
            break;
        case CS7:
            line.dataBits = 7;
            break;
        default:
            line.dataBits = 8;
            break;
    }
    line.parity = (tio.c_cflag & PARENB) != 0 || (tio.c_iflag & INPCK) != 0;
    line.stopBits = (tio.c_cflag & CSTOPB) ? 2 : 1;
    line.binary = !(tio.c_lflag & ICANON) && !(tio.c_oflag & OPOST) &&
                  !(tio.c_iflag & (ICRNL | INLCR | IGNCR | ISTRIP));
    line.hardwareHandshake = (tio.c_cflag & CRTSCTS) != 0;
    line.xonXoff = (tio.c_iflag & (IXON | IXOFF)) != 0;
    return line;
}

bool serialClose(SerialHandle handle) {
    if (handle == nullptr) return true;
    bool ok = true;
    if (handle->fd >= 0) {
        // The exclusive flag belongs to the tty, not to this descriptor: it
        // would outlive us while anyone else (a simulator) keeps the tty open.
        ioctl(handle->fd, TIOCNXCL);
        ok = ::close(handle->fd) == 0;
    }
    delete handle;
    return ok;
}
