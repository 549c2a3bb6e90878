#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <spawn.h>
#include <stdlib.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <stdexcept>

#include "support/DevsimProcess.h"

extern char** environ;

DevsimProcess::DevsimProcess(const std::vector<std::string>& args) {
    const char* program = getenv("FILTARO_DEVSIM");
    if (program == nullptr || *program == '\0') {
        throw std::runtime_error("FILTARO_DEVSIM is not set");
    }
    int out[2];
    if (pipe2(out, O_CLOEXEC) != 0) throw std::runtime_error("pipe failed");

    std::vector<std::string> argv{program};
    argv.insert(argv.end(), args.begin(), args.end());
    std::vector<char*> cargv;
    for (std::string& arg : argv) cargv.push_back(arg.data());
    cargv.push_back(nullptr);

    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_adddup2(&actions, out[1], STDOUT_FILENO);
    const int rc = posix_spawn(&m_pid, program, &actions, nullptr, cargv.data(), environ);
    posix_spawn_file_actions_destroy(&actions);
    close(out[1]);
    if (rc != 0) {
        close(out[0]);
        m_pid = -1;
        throw std::runtime_error("cannot start filtaro-devsim");
    }
    // Read the first line: the pty path. A generous guard against a hang; the
    // simulator answers within milliseconds.
    std::string line;
    char ch = 0;
    while (line.size() < 4096) {
        pollfd pfd{out[0], POLLIN, 0};
        if (poll(&pfd, 1, 20000) <= 0) break;
        const ssize_t n = read(out[0], &ch, 1);
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0 || ch == '\n') break;
        line += ch;
    }
    close(out[0]);
    if (line.empty() || ch != '\n') {
        stop();
        throw std::runtime_error("filtaro-devsim printed no pty path");
    }
    m_ptyPath = line;
}

DevsimProcess::~DevsimProcess() {
    stop();
}

int DevsimProcess::stop() {
    if (m_pid <= 0) return m_status;
    kill(m_pid, SIGTERM);
    int status = 0;
    while (waitpid(m_pid, &status, 0) < 0 && errno == EINTR) {
    }
    m_pid = -1;
    m_status = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    return m_status;
}
