#include "tools/devsim/DeviceSimulator.h"

#include <fcntl.h>
#include <poll.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <cstring>
#include <filesystem>
#include <iostream>

#include "simulator/DevsimMemory.h"

namespace {

using Clock = std::chrono::steady_clock;

void closeFd(int& fd) {
    if (fd >= 0) ::close(fd);
    fd = -1;
}

}  // namespace

DeviceSimulator::DeviceSimulator(DevsimOptions options)
    : m_options(std::move(options)), m_responder(m_options.faults, WireImage{}) {}

DeviceSimulator::~DeviceSimulator() {
    stop();
}

bool DeviceSimulator::start(std::string& error) {
    if (m_pty.isOpen()) {
        error = "Simulator läuft bereits";
        return false;
    }
    WireImage memory = defaultWireImage();
    if (!m_options.memoryFile.empty() && !loadDevsimMemory(m_options.memoryFile, memory, error)) {
        return false;
    }
    {
        std::lock_guard<std::mutex> lock(m_mutex);
        m_memory = memory;
    }
    m_responder = DevsimResponder(m_options.faults, memory);
    if (!openPty(error) || !createLink(error)) {
        closeAll();
        return false;
    }
    // Stale bytes wait on the line before the first command.
    const std::vector<std::uint8_t> stale = m_responder.staleBytes();
    if (!stale.empty() && !writeSome(stale.data(), stale.size())) {
        error = "Terminal nimmt keine Daten an";
        removeLink();
        closeAll();
        return false;
    }
    m_stopping = false;
    m_thread = std::thread([this] { serve(); });
    return true;
}

void DeviceSimulator::stop() {
    if (m_thread.joinable()) {
        m_stopping = true;
        const char wake = 1;
        while (::write(m_wake[1], &wake, 1) < 0 && errno == EINTR) {
        }
        m_thread.join();
    }
    removeLink();
    closeAll();
}

bool DeviceSimulator::openPty(std::string& error) {
    if (!m_pty.open(error, true)) return false;
    m_ptyPath = m_pty.slavePath();
    if (pipe2(m_wake, O_CLOEXEC | O_NONBLOCK) != 0) {
        error = std::string("Pseudo-Terminal lässt sich nicht einrichten: ") + std::strerror(errno);
        return false;
    }
    return true;
}

bool DeviceSimulator::createLink(std::string& error) {
    if (m_options.linkPath.empty()) return true;
    namespace fs = std::filesystem;
    const fs::path link(m_options.linkPath);
    std::error_code ec;
    const fs::file_status status = fs::symlink_status(link, ec);
    if (fs::exists(status) && !fs::is_symlink(status)) {
        error = "\"" + m_options.linkPath + "\" existiert und ist kein symbolischer Link";
        return false;
    }
    // A link left by a simulator that was killed is replaced in one step.
    const fs::path temp = link.parent_path() / (link.filename().string() + ".devsim-new");
    fs::remove(temp, ec);
    fs::create_symlink(m_ptyPath, temp, ec);
    if (!ec) fs::rename(temp, link, ec);
    if (ec) {
        fs::remove(temp, ec);
        error = "Link \"" + m_options.linkPath + "\" lässt sich nicht anlegen";
        return false;
    }
    m_linkCreated = true;
    return true;
}

void DeviceSimulator::removeLink() {
    if (!m_linkCreated) return;
    m_linkCreated = false;
    std::error_code ec;
    // Another simulator may have taken the name over meanwhile.
    if (std::filesystem::read_symlink(m_options.linkPath, ec) == m_ptyPath && !ec) {
        std::filesystem::remove(m_options.linkPath, ec);
    }
}

void DeviceSimulator::closeAll() {
    m_pty.close();
    closeFd(m_wake[0]);
    closeFd(m_wake[1]);
}

WireImage DeviceSimulator::memory() const {
    std::lock_guard<std::mutex> lock(m_mutex);
    return m_memory;
}

bool DeviceSimulator::waitForBlocks(int count, std::chrono::milliseconds limit) const {
    std::unique_lock<std::mutex> lock(m_mutex);
    return m_blockStoredSignal.wait_for(lock, limit, [&] { return m_blocksStored >= count; });
}

std::vector<std::string> DeviceSimulator::problems() const {
    std::lock_guard<std::mutex> lock(m_mutex);
    return m_problems;
}

void DeviceSimulator::serve() {
    std::uint8_t buffer[4096];
    while (!m_stopping) {
        pollfd fds[2] = {{m_pty.master(), POLLIN, 0}, {m_wake[0], POLLIN, 0}};
        const int ready =
            ::poll(fds, 2, m_responder.receivingBlock() ? DevsimResponder::BlockGapMs : -1);
        if (ready < 0) {
            if (errno == EINTR) continue;
            break;
        }
        if (fds[1].revents != 0) break;
        if (ready == 0) {
            m_responder.abandonBlock();
            continue;
        }
        const ssize_t n = ::read(m_pty.master(), buffer, sizeof buffer);
        if (n <= 0) {
            if (n < 0 && (errno == EAGAIN || errno == EINTR)) continue;
            // Cannot happen while our slave descriptor is open; do not spin.
            ::poll(fds + 1, 1, 50);
            continue;
        }
        for (ssize_t i = 0; i < n && !m_stopping; ++i) {
            const std::vector<std::uint8_t> reply = m_responder.feed(buffer[i]);
            if (m_responder.takeBlockStored()) {
                const WireImage block = m_responder.memory();
                {
                    std::lock_guard<std::mutex> lock(m_mutex);
                    m_memory = block;
                }
                if (!m_options.memoryFile.empty() &&
                    !saveDevsimMemory(m_options.memoryFile, block)) {
                    const std::string problem =
                        "Speicherdatei \"" + m_options.memoryFile + "\" lässt sich nicht schreiben";
                    std::cerr << "filtaro-devsim: " << problem << std::endl;
                    std::lock_guard<std::mutex> lock(m_mutex);
                    m_problems.push_back(problem);
                }
                {
                    std::lock_guard<std::mutex> lock(m_mutex);
                    ++m_blocksStored;
                }
                m_blockStoredSignal.notify_all();
            }
            if (!reply.empty() && !send(reply)) return;
        }
    }
}

bool DeviceSimulator::send(const std::vector<std::uint8_t>& bytes) {
    if (m_options.baud <= 0) return writeSome(bytes.data(), bytes.size());
    // Ten bit times a byte: start bit, eight data bits, stop bit.
    const auto perByte = std::chrono::nanoseconds(10'000'000'000LL / m_options.baud);
    const Clock::time_point start = Clock::now();
    for (std::size_t i = 0; i < bytes.size(); ++i) {
        const Clock::time_point due = start + perByte * static_cast<long long>(i + 1);
        for (;;) {
            const auto left =
                std::chrono::duration_cast<std::chrono::milliseconds>(due - Clock::now());
            if (left.count() <= 0) break;
            pollfd wake{m_wake[0], POLLIN, 0};
            if (::poll(&wake, 1, static_cast<int>(left.count())) > 0) return false;
        }
        if (!writeSome(&bytes[i], 1)) return false;
    }
    return true;
}

bool DeviceSimulator::writeSome(const std::uint8_t* data, std::size_t size) {
    std::size_t done = 0;
    while (done < size) {
        const ssize_t n = ::write(m_pty.master(), data + done, size - done);
        if (n > 0) {
            done += static_cast<std::size_t>(n);
            continue;
        }
        if (n < 0 && errno == EINTR) continue;
        if (n < 0 && errno != EAGAIN) return false;
        // The client does not read: wait for room, or for stop().
        pollfd fds[2] = {{m_pty.master(), POLLOUT, 0}, {m_wake[0], POLLIN, 0}};
        if (::poll(fds, 2, -1) < 0 && errno != EINTR) return false;
        if (fds[1].revents != 0) return false;
    }
    return true;
}
