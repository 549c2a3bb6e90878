#pragma once
// Runs part of a test in a child process: under limits that must not touch
// the test itself (a file-size limit, a private mount), or as an ordinary
// user when the tests run as root. The child reports through its exit status.

#include <sys/types.h>

#include <functional>
#include <optional>

// Runs `body` in a forked child and waits for it. Returns the child's exit
// status (what `body` returned), or 128 + the number of the signal that
// ended it, as a shell reports it.
int runInChild(const std::function<int()>& body);

struct OrdinaryUser {
    uid_t uid;
    gid_t gid;
};

// The user that permission cases run as: the tests' own user, or "nobody"
// when they run as root. nullopt when they run as root and cannot become
// another user (no such user, or no right to switch).
std::optional<OrdinaryUser> ordinaryUser();

// runInChild as `user` (with no supplementary groups).
int runAsUser(const OrdinaryUser& user, const std::function<int()>& body);
