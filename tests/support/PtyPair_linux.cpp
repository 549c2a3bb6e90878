#include <poll.h>
#include <unistd.h>

#include <cerrno>
#include <stdexcept>

#include "support/PtyPair.h"

PtyPair::PtyPair() {
    std::string error;
    if (!m_pty.open(error)) throw std::runtime_error(error);
}

void PtyPair::send(const std::vector<std::uint8_t>& bytes) {
    std::size_t done = 0;
    while (done < bytes.size()) {
        const ssize_t n = write(master(), bytes.data() + done, bytes.size() - done);
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) throw std::runtime_error("write to the pty master failed");
        done += static_cast<std::size_t>(n);
    }
}

std::vector<std::uint8_t> PtyPair::receive(std::size_t count) {
    std::vector<std::uint8_t> bytes(count);
    std::size_t done = 0;
    while (done < count) {
        pollfd pfd{master(), POLLIN, 0};
        if (poll(&pfd, 1, 10000) <= 0) break;
        const ssize_t n = read(master(), bytes.data() + done, count - done);
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) break;
        done += static_cast<std::size_t>(n);
    }
    bytes.resize(done);
    return bytes;
}
