#pragma once
// filtaro-devsim (the executable named by FILTARO_DEVSIM) as a child process
// for the lifetime of the object: started with the given arguments, its pty
// path read from its first output line, stopped with SIGTERM at the end.
// For suites that cannot link the simulator's engine.

#include <sys/types.h>

#include <string>
#include <vector>

class DevsimProcess {
public:
    // Throws std::runtime_error when the simulator does not come up.
    explicit DevsimProcess(const std::vector<std::string>& args = {});
    ~DevsimProcess();
    DevsimProcess(const DevsimProcess&) = delete;
    DevsimProcess& operator=(const DevsimProcess&) = delete;

    const std::string& ptyPath() const { return m_ptyPath; }
    // Sends SIGTERM and waits; the exit status, or -1 when it did not exit
    // normally. Later calls return the same.
    int stop();

private:
    pid_t m_pid = -1;
    int m_status = -1;
    std::string m_ptyPath;
};
