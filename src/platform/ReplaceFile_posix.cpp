#include <fcntl.h>
#include <stdlib.h>
#include <sys/stat.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <string>

#include "platform/ReplaceFile.h"

namespace {

// The file a path names: a symbolic link is resolved to its target, so
// that the rename replaces the target rather than the link.
std::string resolveTarget(const std::string& path) {
    struct stat st {};
    if (lstat(path.c_str(), &st) == 0 && S_ISLNK(st.st_mode)) {
        if (char* resolved = realpath(path.c_str(), nullptr)) {
            std::string target(resolved);
            free(resolved);
            return target;
        }
    }
    return path;
}

bool writeAll(int fd, const unsigned char* data, std::size_t size) {
    while (size > 0) {
        const ssize_t n = write(fd, data, size);
        if (n < 0) {
            if (errno == EINTR) {
                continue;
            }
            return false;
        }
        data += n;
        size -= static_cast<std::size_t>(n);
    }
    return true;
}

// Creates a fresh temporary file next to `target`; -1 if that is impossible.
int createTemporary(const std::string& target, std::string& tempPath) {
    static std::atomic<unsigned> counter{0};
    const std::size_t slash = target.rfind('/');
    const std::string dir =
        slash == std::string::npos ? std::string() : target.substr(0, slash + 1);
    const std::string name = slash == std::string::npos ? target : target.substr(slash + 1);
    for (int attempt = 0; attempt < 100; ++attempt) {
        tempPath =
            dir + "." + name + ".tmp-" + std::to_string(getpid()) + "-" + std::to_string(counter++);
        // 0666 lets the umask decide, as for any newly created file.
        const int fd = open(tempPath.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
        if (fd >= 0 || errno != EEXIST) {
            return fd;
        }
    }
    return -1;
}

}  // namespace

bool replaceFileContents(const std::string& path, const void* data, std::size_t size) {
    if (path.empty() || path.back() == '/') {
        return false;
    }
    const std::string target = resolveTarget(path);

    struct stat old {};
    const bool exists = stat(target.c_str(), &old) == 0;
    if (exists && !S_ISREG(old.st_mode)) {
        return false;  // renaming over a device node or directory would be destructive or fail
    }

    std::string tempPath;
    const int fd = createTemporary(target, tempPath);
    if (fd < 0) {
        return false;
    }
    bool ok = writeAll(fd, static_cast<const unsigned char*>(data), size);
    if (ok && exists) {
        // Only a privileged process can keep the owner; not keeping it is no failure.
        [[maybe_unused]] const int owned = fchown(fd, old.st_uid, old.st_gid);
        ok = fchmod(fd, old.st_mode & 07777) == 0;
    }
    ok = ok && fsync(fd) == 0;
    ok = (close(fd) == 0) && ok;
    ok = ok && rename(tempPath.c_str(), target.c_str()) == 0;
    if (!ok) {
        unlink(tempPath.c_str());
    }
    return ok;
}
