#include <fcntl.h>
#include <stdlib.h>
#include <termios.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

#include "platform/PseudoTerminal.h"

namespace {

bool makeRaw(int fd) {
    termios tio{};
    if (tcgetattr(fd, &tio) != 0) return false;
    cfmakeraw(&tio);
    tio.c_cflag |= CLOCAL | CREAD;
    tio.c_cc[VMIN] = 1;
    tio.c_cc[VTIME] = 0;
    return tcsetattr(fd, TCSANOW, &tio) == 0;
}

void closeFd(int& fd) {
    if (fd >= 0) ::close(fd);
    fd = -1;
}

}  // namespace

PseudoTerminal::~PseudoTerminal() {
    close();
}

bool PseudoTerminal::open(std::string& error, bool nonBlockingMaster) {
    close();
    m_master = posix_openpt(O_RDWR | O_NOCTTY | O_CLOEXEC);
    char name[128] = {};
    // ptsname_r is the thread-safe form; the simulator runs beside other threads.
    if (m_master < 0 || grantpt(m_master) != 0 || unlockpt(m_master) != 0 ||
        ptsname_r(m_master, name, sizeof name) != 0) {
        error = std::string("Pseudo-Terminal lässt sich nicht anlegen: ") + std::strerror(errno);
        close();
        return false;
    }
    m_slavePath = name;
    m_slave = ::open(name, O_RDWR | O_NOCTTY | O_CLOEXEC);
    if (m_slave < 0 || !makeRaw(m_slave) || !makeRaw(m_master) ||
        (nonBlockingMaster &&
         fcntl(m_master, F_SETFL, fcntl(m_master, F_GETFL) | O_NONBLOCK) != 0)) {
        error = std::string("Pseudo-Terminal lässt sich nicht einrichten: ") + std::strerror(errno);
        close();
        return false;
    }
    return true;
}

void PseudoTerminal::closeMaster() {
    closeFd(m_master);
}

void PseudoTerminal::close() {
    closeFd(m_slave);
    closeFd(m_master);
}
