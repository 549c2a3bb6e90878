#include <grp.h>
#include <pwd.h>
#include <sys/wait.h>
#include <unistd.h>

#include "support/ChildProcess.h"

int runInChild(const std::function<int()>& body) {
    const pid_t pid = fork();
    if (pid < 0) return -1;
    if (pid == 0) {
        // _exit: the child must not run the test program's exit handlers.
        _exit(body());
    }
    int status = 0;
    while (waitpid(pid, &status, 0) < 0) {
    }
    if (WIFSIGNALED(status)) return 128 + WTERMSIG(status);
    return WEXITSTATUS(status);
}

namespace {

bool becomeUser(const OrdinaryUser& user) {
    if (geteuid() != 0) return geteuid() == user.uid;
    return setgroups(0, nullptr) == 0 && setgid(user.gid) == 0 && setuid(user.uid) == 0;
}

}  // namespace

std::optional<OrdinaryUser> ordinaryUser() {
    static const std::optional<OrdinaryUser> user = []() -> std::optional<OrdinaryUser> {
        if (geteuid() != 0) return OrdinaryUser{geteuid(), getegid()};
        const passwd* nobody = getpwnam("nobody");
        if (nobody == nullptr || nobody->pw_uid == 0) return std::nullopt;
        const OrdinaryUser candidate{nobody->pw_uid, nobody->pw_gid};
        if (runInChild([&] { return becomeUser(candidate) ? 0 : 1; }) != 0) return std::nullopt;
        return candidate;
    }();
    return user;
}

int runAsUser(const OrdinaryUser& user, const std::function<int()>& body) {
    return runInChild([&] { return becomeUser(user) ? body() : 126; });
}
