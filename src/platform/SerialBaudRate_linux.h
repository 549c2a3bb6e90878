#pragma once
// Line speed in bit/s through Linux's termios2 interface, which takes any rate
// the driver can make. Kept apart from <termios.h>: the kernel's termios
// headers clash with the C library's.

#include <cstdint>

// Sets input and output speed to `rate`; false when the call fails.
bool setLineSpeed(int fd, std::uint32_t rate);
// The output speed the driver reports, or 0 when it cannot be read.
std::uint32_t lineSpeed(int fd);
