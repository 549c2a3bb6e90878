#include "platform/SerialBaudRate_linux.h"

#include <asm/ioctls.h>
#include <asm/termbits.h>

// <sys/ioctl.h> would bring the C library's termios types back in.
extern "C" int ioctl(int fd, unsigned long request, ...);

bool setLineSpeed(int fd, std::uint32_t rate) {
    struct termios2 tio {};
    if (ioctl(fd, TCGETS2, &tio) != 0) return false;
    tio.c_cflag &= ~static_cast<tcflag_t>(CBAUD | (CBAUD << IBSHIFT));
    tio.c_cflag |= BOTHER | (BOTHER << IBSHIFT);
    tio.c_ospeed = rate;
    tio.c_ispeed = rate;
    return ioctl(fd, TCSETS2, &tio) == 0;
}

std::uint32_t lineSpeed(int fd) {
    struct termios2 tio {};
    if (ioctl(fd, TCGETS2, &tio) != 0) return 0;
    return tio.c_ospeed;
}
