// The serial service on termios. The descriptor stays non-blocking for its
// whole life; every wait is a poll() with a deadline, which is how the
// Windows read time-outs are reproduced.

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
    SerialTimeouts timeouts;
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

// The binary, no-flow-control state of a freshly opened Windows port.
void makeRaw(termios& tio) {
    cfmakeraw(&tio);
    tio.c_iflag &= ~static_cast<tcflag_t>(IXON | IXOFF | IXANY | INPCK | ISTRIP | IGNPAR);
    tio.c_cflag &= ~static_cast<tcflag_t>(CRTSCTS | HUPCL);
    tio.c_cflag |= CLOCAL | CREAD;
    tio.c_cc[VMIN] = 0;
    tio.c_cc[VTIME] = 0;
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

SerialHandle serialOpen(const std::string& devicePath, SerialOpenFailure* failure) {
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
    makeRaw(tio);
    if (tcsetattr(fd, TCSANOW, &tio) != 0) {
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

bool serialSetupQueues(SerialHandle handle, std::uint32_t inQueue, std::uint32_t outQueue) {
    // The tty layer sizes its buffers itself; only a nonsensical request fails.
    return valid(handle) && inQueue > 0 && outQueue > 0;
}

bool serialGetState(SerialHandle handle, SerialLineState& state) {
    termios tio{};
    if (!valid(handle) || tcgetattr(handle->fd, &tio) != 0) return false;
    SerialLineState s;
    s.BaudRate = lineSpeed(handle->fd);
    switch (tio.c_cflag & CSIZE) {
        case CS5:
            s.ByteSize = 5;
            break;
        case CS6:
            s.ByteSize = 6;
            break;
        case CS7:
            s.ByteSize = 7;
            break;
        default:
            s.ByteSize = 8;
            break;
    }
    if (!(tio.c_cflag & PARENB)) {
        s.Parity = 0;
    } else if (tio.c_cflag & CMSPAR) {
        s.Parity = (tio.c_cflag & PARODD) ? 3 : 4;
    } else {
        s.Parity = (tio.c_cflag & PARODD) ? 1 : 2;
    }
    s.StopBits = (tio.c_cflag & CSTOPB) ? 2 : 0;
    s.fBinary = !(tio.c_lflag & ICANON) && !(tio.c_oflag & OPOST) &&
                !(tio.c_iflag & (ICRNL | INLCR | IGNCR));
    s.fParity = (tio.c_iflag & INPCK) != 0;
    s.fOutxCtsFlow = (tio.c_cflag & CRTSCTS) != 0;
    s.fOutX = (tio.c_iflag & IXON) != 0;
    s.fInX = (tio.c_iflag & IXOFF) != 0;
    s.XonChar = static_cast<char>(tio.c_cc[VSTART]);
    s.XoffChar = static_cast<char>(tio.c_cc[VSTOP]);
    state = s;
    return true;
}

bool serialSetState(SerialHandle handle, const SerialLineState& state) {
    termios tio{};
    if (!valid(handle) || tcgetattr(handle->fd, &tio) != 0) return false;
    if (state.BaudRate == 0 || state.ByteSize < 5 || state.ByteSize > 8 || state.Parity > 4 ||
        (state.StopBits != 0 && state.StopBits != 2)) {
        return false;
    }
    static constexpr tcflag_t SizeCodes[] = {CS5, CS6, CS7, CS8};
    tio.c_cflag &= ~static_cast<tcflag_t>(CSIZE | PARENB | PARODD | CMSPAR | CSTOPB | CRTSCTS);
    tio.c_cflag |= SizeCodes[state.ByteSize - 5];
    if (state.Parity != 0) tio.c_cflag |= PARENB;
    if (state.Parity == 1 || state.Parity == 3) tio.c_cflag |= PARODD;
    if (state.Parity >= 3) tio.c_cflag |= CMSPAR;
    if (state.StopBits == 2) tio.c_cflag |= CSTOPB;
    if (state.fOutxCtsFlow) tio.c_cflag |= CRTSCTS;
    tio.c_iflag &= ~static_cast<tcflag_t>(INPCK | IXON | IXOFF);
    if (state.fParity) tio.c_iflag |= INPCK;
    if (state.fOutX) tio.c_iflag |= IXON;
    if (state.fInX) tio.c_iflag |= IXOFF;
    tio.c_cc[VSTART] = static_cast<cc_t>(state.XonChar);
    tio.c_cc[VSTOP] = static_cast<cc_t>(state.XoffChar);

    const std::optional<speed_t> code = standardRateCode(state.BaudRate);
    if (code && (cfsetispeed(&tio, *code) != 0 || cfsetospeed(&tio, *code) != 0)) return false;
    if (tcsetattr(handle->fd, TCSANOW, &tio) != 0) return false;
    if (!code && !setLineSpeed(handle->fd, state.BaudRate)) return false;

    // tcsetattr reports success when any part of the change took; check that
    // the driver kept what matters.
    termios back{};
    if (tcgetattr(handle->fd, &back) != 0) return false;
    const tcflag_t frame = CSIZE | PARENB | PARODD | CMSPAR | CSTOPB;
    return (back.c_cflag & frame) == (tio.c_cflag & frame) &&
           serialRateAccepted(state.BaudRate, lineSpeed(handle->fd));
}

bool serialGetTimeouts(SerialHandle handle, SerialTimeouts& timeouts) {
    if (!valid(handle)) return false;
    timeouts = handle->timeouts;
    return true;
}

bool serialSetTimeouts(SerialHandle handle, const SerialTimeouts& timeouts) {
    if (!valid(handle)) return false;
    handle->timeouts = timeouts;
    return true;
}

bool serialRead(SerialHandle handle, void* buffer, std::uint32_t count,
                std::uint32_t* transferred) {
    if (transferred) *transferred = 0;
    if (!valid(handle) || (buffer == nullptr && count > 0)) return false;
    auto* out = static_cast<unsigned char*>(buffer);
    const SerialTimeouts& t = handle->timeouts;
    constexpr std::uint32_t Max = SerialTimeouts::MaxTimeout;
    const bool immediate = t.ReadIntervalTimeout == Max && t.ReadTotalTimeoutMultiplier == 0 &&
                           t.ReadTotalTimeoutConstant == 0;
    const bool waitForAny = t.ReadIntervalTimeout == Max && t.ReadTotalTimeoutMultiplier == Max &&
                            t.ReadTotalTimeoutConstant != 0 && t.ReadTotalTimeoutConstant != Max;
    const Clock::time_point start = Clock::now();
    std::optional<Clock::time_point> total;
    if (immediate) {
        total = start;
    } else if (waitForAny) {
        total = deadlineAfter(start, t.ReadTotalTimeoutConstant);
    } else if (t.ReadTotalTimeoutMultiplier != 0 || t.ReadTotalTimeoutConstant != 0) {
        total = deadlineAfter(start, std::uint64_t{t.ReadTotalTimeoutMultiplier} * count +
                                         t.ReadTotalTimeoutConstant);
    }
    const bool useInterval = !immediate && !waitForAny && t.ReadIntervalTimeout != 0;

    std::uint32_t got = 0;
    std::optional<Clock::time_point> interval;  // runs from the last byte received
    while (got < count) {
        std::optional<Clock::time_point> deadline = total;
        if (interval && (!deadline || *interval < *deadline)) deadline = interval;
        pollfd pfd{handle->fd, POLLIN, 0};
        const int ready = ::poll(&pfd, 1, pollTimeout(deadline));
        if (ready < 0) {
            if (errno == EINTR) continue;
            if (transferred) *transferred = got;
            return false;
        }
        if (ready > 0) {
            const ssize_t n = ::read(handle->fd, out + got, count - got);
            if (n > 0) {
                got += static_cast<std::uint32_t>(n);
                if (waitForAny) break;
                if (useInterval) interval = deadlineAfter(Clock::now(), t.ReadIntervalTimeout);
                continue;
            }
            if (n < 0 && (errno == EAGAIN || errno == EINTR)) continue;
            // End of file or an I/O error: the device is gone (a USB adapter
            // pulled, the other end of a pseudo-terminal closed).
            if (transferred) *transferred = got;
            return false;
        }
        if (expired(deadline)) break;
    }
    if (transferred) *transferred = got;
    return true;
}

bool serialWrite(SerialHandle handle, const void* buffer, std::uint32_t count,
                 std::uint32_t* transferred) {
    if (transferred) *transferred = 0;
    if (!valid(handle) || (buffer == nullptr && count > 0)) return false;
    const auto* in = static_cast<const unsigned char*>(buffer);
    const SerialTimeouts& t = handle->timeouts;
    std::optional<Clock::time_point> total;
    if (t.WriteTotalTimeoutMultiplier != 0 || t.WriteTotalTimeoutConstant != 0) {
        total = deadlineAfter(Clock::now(), std::uint64_t{t.WriteTotalTimeoutMultiplier} * count +
                                                t.WriteTotalTimeoutConstant);
    }
    std::uint32_t done = 0;
    bool ok = true;
    while (done < count) {
        const ssize_t n = ::write(handle->fd, in + done, count - done);
        if (n > 0) {
            done += static_cast<std::uint32_t>(n);
            continue;
        }
        if (n < 0 && errno == EINTR) continue;
        if (n < 0 && errno != EAGAIN) {
            ok = false;
            break;
        }
        // The driver's buffer is full: wait until it drains or time runs out.
        if (expired(total)) break;
        pollfd pfd{handle->fd, POLLOUT, 0};
        if (::poll(&pfd, 1, pollTimeout(total)) < 0 && errno != EINTR) {
            ok = false;
            break;
        }
        if (pfd.revents & (POLLERR | POLLHUP | POLLNVAL)) {
            ok = false;
            break;
        }
    }
    if (transferred) *transferred = done;
    return ok;
}

bool serialPurge(SerialHandle handle, unsigned flags) {
    if (!valid(handle)) return false;
    // A pseudo-terminal has no transmit buffer: what was written already sits
    // in the other end's receive buffer, and flushing the slave's output
    // would discard it there (data the far end has, in effect, received).
    const bool tx = (flags & PurgeTxClear) != 0 && !handle->pseudoTerminal;
    const bool rx = (flags & PurgeRxClear) != 0;
    if (!tx && !rx) return true;
    return tcflush(handle->fd, tx && rx ? TCIOFLUSH : (tx ? TCOFLUSH : TCIFLUSH)) == 0;
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
