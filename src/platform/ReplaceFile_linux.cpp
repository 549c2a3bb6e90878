// Linux: the in-place write reserves space with fallocate(FALLOC_FL_KEEP_SIZE),
// which no other POSIX call does without changing the file's size, and the
// folder is held as an O_PATH descriptor so that a folder without read
// permission still works.

#include <dirent.h>
#include <fcntl.h>
#include <pthread.h>
#include <signal.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/xattr.h>
#include <time.h>
#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <cerrno>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/ReplaceFile.h"

namespace {

// The kernel's own limit on the symbolic links of one path.
constexpr int MaxSymbolicLinks = 40;

using Content = std::string_view;

// Clean-up calls must not overwrite the errno of the failure they follow.
class KeepErrno {
public:
    KeepErrno() : m_errno(errno) {}
    ~KeepErrno() { errno = m_errno; }
    KeepErrno(const KeepErrno&) = delete;
    KeepErrno& operator=(const KeepErrno&) = delete;

private:
    int m_errno;
};

class Fd {
public:
    explicit Fd(int fd) : m_fd(fd) {}
    ~Fd() {
        if (m_fd >= 0) {
            const KeepErrno keep;
            ::close(m_fd);
        }
    }
    Fd(const Fd&) = delete;
    Fd& operator=(const Fd&) = delete;

    int get() const { return m_fd; }
    bool valid() const { return m_fd >= 0; }
    // Closes and reports the result: some file systems report a failed
    // write only here.
    bool close() {
        const int fd = m_fd;
        m_fd = -1;
        return ::close(fd) == 0;
    }

private:
    int m_fd;
};

// Blocks SIGXFSZ in the calling thread, so that a write beyond the file-size
// limit fails with EFBIG instead of ending the process. The signal such a
// write raised stays pending while blocked and is discarded before the
// previous mask returns; had the caller blocked it already, it is theirs.
class SizeLimitSignalBlock {
public:
    SizeLimitSignalBlock() {
        sigemptyset(&m_set);
        sigaddset(&m_set, SIGXFSZ);
        pthread_sigmask(SIG_BLOCK, &m_set, &m_previous);
    }
    ~SizeLimitSignalBlock() {
        const KeepErrno keep;
        if (sigismember(&m_previous, SIGXFSZ) == 0) {
            const timespec now{};
            while (sigtimedwait(&m_set, nullptr, &now) == SIGXFSZ) {
            }
        }
        pthread_sigmask(SIG_SETMASK, &m_previous, nullptr);
    }
    SizeLimitSignalBlock(const SizeLimitSignalBlock&) = delete;
    SizeLimitSignalBlock& operator=(const SizeLimitSignalBlock&) = delete;

private:
    sigset_t m_set{};
    sigset_t m_previous{};
};

bool readLink(const std::string& path, std::string& target) {
    std::vector<char> buffer(256);
    for (;;) {
        const ssize_t n = readlink(path.c_str(), buffer.data(), buffer.size());
        if (n < 0) return false;
        if (static_cast<std::size_t>(n) < buffer.size()) {
            target.assign(buffer.data(), static_cast<std::size_t>(n));
            return true;
        }
        buffer.resize(buffer.size() * 2);
    }
}

// The folder part of a path with its final separator ("" for a bare name).
std::string folderOf(const std::string& path) {
    const std::size_t slash = path.rfind('/');
    return slash == std::string::npos ? std::string() : path.substr(0, slash + 1);
}

// The file `path` names once the symbolic links at its end are followed;
// the file itself need not exist (a dangling link names the file to create).
bool followLinks(std::string path, std::string& file) {
    for (int links = 0;; ++links) {
        struct stat st {};
        if (lstat(path.c_str(), &st) != 0) {
            if (errno != ENOENT) return false;
            break;
        }
        if (!S_ISLNK(st.st_mode)) break;
        if (links == MaxSymbolicLinks) {
            errno = ELOOP;
            return false;
        }
        std::string target;
        if (!readLink(path, target)) return false;
        if (target.empty()) {
            errno = ENOENT;
            return false;
        }
        path = target.front() == '/' ? target : folderOf(path) + target;
    }
    file = path;
    return true;
}

bool writeAll(int fd, Content content, off_t offset) {
    while (!content.empty()) {
        const ssize_t n = pwrite(fd, content.data(), content.size(), offset);
        if (n < 0) {
            if (errno == EINTR) continue;
            return false;
        }
        content.remove_prefix(static_cast<std::size_t>(n));
        offset += n;
    }
    return true;
}

// ".filtaro-" and six letters or digits: short, so that a save works for any
// name the file system accepts. The characters mix the process, the time and
// a counter; O_EXCL settles the rare meeting with another name.
std::string temporaryName() {
    static std::atomic<std::uint64_t> counter{0};
    timespec now{};
    clock_gettime(CLOCK_REALTIME, &now);
    std::uint64_t x = static_cast<std::uint64_t>(getpid()) * 0x9E3779B97F4A7C15u ^
                      static_cast<std::uint64_t>(now.tv_nsec) ^
                      (static_cast<std::uint64_t>(now.tv_sec) << 30) ^
                      (counter++ * 0xBF58476D1CE4E5B9u);
    x ^= x >> 31;
    x *= 0x94D049BB133111EBu;
    x ^= x >> 29;
    constexpr std::string_view symbols = "abcdefghijklmnopqrstuvwxyz0123456789";
    std::string name = ".filtaro-";
    for (int i = 0; i < 6; ++i) {
        name += symbols[x % symbols.size()];
        x /= symbols.size();
    }
    return name;
}

// A new, empty file in the folder; -1 (errno set) if the folder takes none.
int createTemporary(int folder, std::string& name) {
    for (int attempt = 0; attempt < 100; ++attempt) {
        name = temporaryName();
        // 0666 lets the umask decide, as for any newly created file.
        const int fd = openat(folder, name.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
        if (fd >= 0 || errno != EEXIST) return fd;
    }
    return -1;
}

// Removes the temporary file when the save does not rename it.
class TemporaryFile {
public:
    TemporaryFile(int folder, std::string name) : m_folder(folder), m_name(std::move(name)) {}
    ~TemporaryFile() {
        if (!m_name.empty()) {
            const KeepErrno keep;
            unlinkat(m_folder, m_name.c_str(), 0);
        }
    }
    TemporaryFile(const TemporaryFile&) = delete;
    TemporaryFile& operator=(const TemporaryFile&) = delete;

    const std::string& name() const { return m_name; }
    void renamed() { m_name.clear(); }

private:
    int m_folder;
    std::string m_name;
};

// Flushes the folder's entries, so that a rename survives a power loss. A
// folder this process may not read cannot be opened for the flush, and some
// file systems cannot flush a folder (EINVAL); neither fails the save.
bool flushFolder(int folder) {
    Fd dir(openat(folder, ".", O_RDONLY | O_DIRECTORY | O_CLOEXEC));
    if (!dir.valid()) return true;
    return fsync(dir.get()) == 0 || errno == EINVAL;
}

// The names of a file's extended attributes; nullopt when they cannot be
// read. A file system without them has none.
std::optional<std::vector<std::string>> attributeNames(int fd) {
    for (;;) {
        const ssize_t size = flistxattr(fd, nullptr, 0);
        if (size < 0) {
            if (errno == ENOTSUP) return std::vector<std::string>();
            return std::nullopt;
        }
        std::vector<char> list(static_cast<std::size_t>(size));
        const ssize_t n = size == 0 ? 0 : flistxattr(fd, list.data(), list.size());
        if (n < 0) {
            if (errno == ERANGE) continue;  // grew meanwhile
            return std::nullopt;
        }
        std::vector<std::string> names;
        for (std::size_t at = 0; at < static_cast<std::size_t>(n);) {
            names.emplace_back(list.data() + at);
            at += names.back().size() + 1;
        }
        return names;
    }
}

bool attributeValue(int fd, const std::string& name, std::string& value) {
    for (;;) {
        const ssize_t size = fgetxattr(fd, name.c_str(), nullptr, 0);
        if (size < 0) return false;
        value.resize(static_cast<std::size_t>(size));
        const ssize_t n = size == 0 ? 0 : fgetxattr(fd, name.c_str(), value.data(), value.size());
        if (n >= 0) {
            value.resize(static_cast<std::size_t>(n));
            return true;
        }
        if (errno != ERANGE) return false;
    }
}

// Makes the attributes of `to` those of `from`: the old file's ACLs and
// other attributes are copied, and those the new file got from its folder
// (a default ACL) but the old one lacks are removed.
bool copyAttributes(int from, int to) {
    const auto names = attributeNames(from);
    const auto present = attributeNames(to);
    if (!names || !present) return false;
    for (const std::string& name : *present) {
        if (std::find(names->begin(), names->end(), name) == names->end() &&
            fremovexattr(to, name.c_str()) != 0) {
            return false;
        }
    }
    std::string value;
    for (const std::string& name : *names) {
        if (!attributeValue(from, name, value) ||
            fsetxattr(to, name.c_str(), value.data(), value.size(), 0) != 0) {
            return false;
        }
    }
    return true;
}

bool sameOwner(const struct stat& a, const struct stat& b) {
    return a.st_uid == b.st_uid && a.st_gid == b.st_gid;
}

// Gives the new file the old one's owner and group; false when the system
// does not allow it (only the superuser gives a file away, and a group
// only to one of the user's groups).
bool takeOwner(int fd, const struct stat& old) {
    struct stat st {};
    if (fstat(fd, &st) != 0) return false;
    return sameOwner(st, old) || fchown(fd, old.st_uid, old.st_gid) == 0;
}

// Gives the new file the old one's permissions and attributes. Called after
// the content is written: a write clears the set-user-ID and set-group-ID
// bits. False when any of it does not hold afterwards (the system silently
// drops a set-group-ID bit for a group the user is not in).
bool takeModeAndAttributes(int fd, int oldFd, const struct stat& old) {
    struct stat st {};
    return fchmod(fd, old.st_mode & 07777) == 0 && copyAttributes(oldFd, fd) &&
           fstat(fd, &st) == 0 && sameOwner(st, old) &&
           (st.st_mode & 07777) == (old.st_mode & 07777);
}

// Writes, flushes and renames the temporary file over `name`, then flushes
// the folder.
bool commit(int folder, Fd& temp, TemporaryFile& file, const std::string& name) {
    if (fsync(temp.get()) != 0 || !temp.close()) return false;
    if (renameat(folder, file.name().c_str(), folder, name.c_str()) != 0) return false;
    file.renamed();
    return flushFolder(folder);
}

// Renames `from` to `to` in `folder` unless `to` exists in any form. File
// systems without RENAME_NOREPLACE get a hard link and an unlink, which
// refuse an existing name just as well.
bool renameNoReplace(int folder, const std::string& from, const std::string& to) {
    if (renameat2(folder, from.c_str(), folder, to.c_str(), RENAME_NOREPLACE) == 0) return true;
    if (errno != EINVAL && errno != ENOSYS) return false;
    if (linkat(folder, from.c_str(), folder, to.c_str(), 0) != 0) return false;
    if (unlinkat(folder, from.c_str(), 0) != 0) {
        const KeepErrno keep;
        unlinkat(folder, to.c_str(), 0);
        return false;
    }
    return true;
}

bool createFile(int folder, const std::string& name, Content content) {
    std::string tempName;
    Fd temp(createTemporary(folder, tempName));
    if (!temp.valid()) return false;
    TemporaryFile file(folder, tempName);
    return writeAll(temp.get(), content, 0) && commit(folder, temp, file, name);
}

enum class Outcome { Saved, Failed, NotKept };

// The replacement by rename: NotKept (nothing changed) when the new file
// would not keep the old one's owner, group, permissions or attributes, or
// the folder takes no new file.
Outcome replaceByRename(int folder, const std::string& name, int target, const struct stat& old,
                        Content content) {
    std::string tempName;
    Fd temp(createTemporary(folder, tempName));
    if (!temp.valid()) {
        return errno == EACCES || errno == EPERM || errno == EROFS ? Outcome::NotKept
                                                                   : Outcome::Failed;
    }
    TemporaryFile file(folder, tempName);
    if (!takeOwner(temp.get(), old)) return Outcome::NotKept;
    if (!writeAll(temp.get(), content, 0)) return Outcome::Failed;
    if (!takeModeAndAttributes(temp.get(), target, old)) return Outcome::NotKept;
    return commit(folder, temp, file, name) ? Outcome::Saved : Outcome::Failed;
}

bool withinSizeLimit(std::size_t size) {
    rlimit limit{};
    return getrlimit(RLIMIT_FSIZE, &limit) != 0 || limit.rlim_cur == RLIM_INFINITY ||
           size <= limit.rlim_cur;
}

// Reserves the blocks for `size` bytes without changing the file's size or
// content, so that a full disk shows before the file is touched. A file
// system without fallocate cannot promise the space; then writing the old
// content back is the only safeguard.
bool reserveSpace(int fd, std::size_t size) {
    if (size == 0) return true;
    int result;
    do {
        result = fallocate(fd, FALLOC_FL_KEEP_SIZE, 0, static_cast<off_t>(size));
    } while (result != 0 && errno == EINTR);
    return result == 0 || errno == EOPNOTSUPP || errno == ENOSYS;
}

// The file's content, if this process may read it.
std::optional<std::string> readContent(int folder, const std::string& name,
                                       const struct stat& old) {
    Fd fd(openat(folder, name.c_str(), O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC));
    struct stat st {};
    if (!fd.valid() || fstat(fd.get(), &st) != 0 || st.st_ino != old.st_ino ||
        st.st_dev != old.st_dev) {
        return std::nullopt;
    }
    std::string content;
    char buffer[65536];
    for (;;) {
        const ssize_t n = read(fd.get(), buffer, sizeof buffer);
        if (n == 0) return content;
        if (n < 0) {
            if (errno == EINTR) continue;
            return std::nullopt;
        }
        content.append(buffer, static_cast<std::size_t>(n));
    }
}

bool overwrite(int fd, Content content) {
    return writeAll(fd, content, 0) && ftruncate(fd, static_cast<off_t>(content.size())) == 0 &&
           fsync(fd) == 0;
}

bool writeInPlace(int folder, const std::string& name, int target, const struct stat& old,
                  Content content) {
    if (!withinSizeLimit(content.size())) {
        errno = EFBIG;
        return false;
    }
    if (!reserveSpace(target, content.size())) return false;
    const std::optional<std::string> previous = readContent(folder, name, old);
    if (overwrite(target, content)) return true;
    const KeepErrno keep;
    if (previous) overwrite(target, *previous);
    return false;
}

// A leftover of a save that was killed: the temporary file's name, a regular
// file of this user (not a link), untouched for more than an hour.
constexpr time_t StaleAfterSeconds = 3600;

bool isTemporaryName(std::string_view name) {
    constexpr std::string_view prefix = ".filtaro-";
    if (name.size() != prefix.size() + 6 || name.substr(0, prefix.size()) != prefix) return false;
    return std::all_of(name.begin() + static_cast<std::ptrdiff_t>(prefix.size()), name.end(),
                       [](char c) { return (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9'); });
}

// Removes the leftovers of killed saves in the folder. Nothing here may fail
// the save: a folder this process may not list or change keeps them.
void removeStaleTemporaries(int folder) {
    const int listFd = openat(folder, ".", O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (listFd < 0) return;
    DIR* dir = fdopendir(listFd);
    if (dir == nullptr) {
        ::close(listFd);
        return;
    }
    const KeepErrno keep;
    const time_t now = time(nullptr);
    std::vector<std::string> stale;
    while (const dirent* entry = readdir(dir)) {
        if (!isTemporaryName(entry->d_name)) continue;
        struct stat st {};
        if (fstatat(folder, entry->d_name, &st, AT_SYMLINK_NOFOLLOW) == 0 && S_ISREG(st.st_mode) &&
            st.st_uid == geteuid() && now - st.st_mtime > StaleAfterSeconds) {
            stale.emplace_back(entry->d_name);
        }
    }
    closedir(dir);
    for (const std::string& name : stale) unlinkat(folder, name.c_str(), 0);
}

// The folder and the name of the last part of `file`.
struct Place {
    std::string folder;  // "." for a bare name
    std::string name;
};

bool placeOf(const std::string& file, Place& place) {
    const std::size_t slash = file.rfind('/');
    place.folder = slash == std::string::npos ? "." : file.substr(0, slash + 1);
    place.name = slash == std::string::npos ? file : file.substr(slash + 1);
    if (place.name.empty() || place.name == "." || place.name == "..") {
        errno = EISDIR;
        return false;
    }
    return true;
}

// Saves over the existing entry `old` of `name`. A user's file (`own`
// false) keeps its other hard links, which then see the new content too;
// the program's own file gets a new file under this name instead.
bool saveOver(int folder, const std::string& name, const struct stat& old, Content content,
              bool own) {
    if (!S_ISREG(old.st_mode)) {
        // Replacing a directory, device or pipe would destroy it or fail.
        errno = S_ISDIR(old.st_mode) ? EISDIR : EINVAL;
        return false;
    }
    // Whether this process may write the file, as the system itself decides
    // it. Non-blocking: a file swapped for a pipe meanwhile must not hang.
    const Fd target(openat(folder, name.c_str(), O_WRONLY | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC));
    struct stat st {};
    if (!target.valid() || fstat(target.get(), &st) != 0) return false;
    if (!S_ISREG(st.st_mode) || st.st_ino != old.st_ino || st.st_dev != old.st_dev) {
        errno = EAGAIN;  // replaced by something else meanwhile
        return false;
    }
    // Other hard links keep seeing the file only if it is written in place.
    if (st.st_nlink == 1 || own) {
        const Outcome outcome = replaceByRename(folder, name, target.get(), st, content);
        if (outcome != Outcome::NotKept) return outcome == Outcome::Saved;
        if (own && st.st_nlink > 1) return createFile(folder, name, content);
    }
    return writeInPlace(folder, name, target.get(), st, content);
}

// Saves `content` as `name` in `folder`: a new file, or over what is there.
// The program's own file (`own`) takes the place of a symbolic link there;
// what the link named stays as it was.
bool saveAt(int folder, const std::string& name, Content content, bool own) {
    struct stat old {};
    if (fstatat(folder, name.c_str(), &old, AT_SYMLINK_NOFOLLOW) != 0) {
        return errno == ENOENT && createFile(folder, name, content);
    }
    if (own && S_ISLNK(old.st_mode)) return createFile(folder, name, content);
    return saveOver(folder, name, old, content, own);
}

// Opens the folder of `place` and clears it of stale temporary files.
int openFolder(const Place& place) {
    const int folder = open(place.folder.c_str(), O_PATH | O_DIRECTORY | O_CLOEXEC);
    if (folder >= 0) removeStaleTemporaries(folder);
    return folder;
}

// The place of a program's own file: `path` as it is, its last part not
// followed; -1 (errno set) for the open folder when there is none.
int openOwnPlace(const std::string& path, Place& place) {
    if (path.empty() || path.back() == '/') {
        errno = path.empty() ? ENOENT : EISDIR;
        return -1;
    }
    return placeOf(path, place) ? openFolder(place) : -1;
}

}  // namespace

bool replaceFileContents(const std::string& path, const void* data, std::size_t size) {
    if (path.empty()) {
        errno = ENOENT;
        return false;
    }
    std::string file;
    if (path.back() == '/' || !followLinks(path, file)) {
        if (path.back() == '/') errno = EISDIR;
        return false;
    }
    Place place;
    if (!placeOf(file, place)) return false;
    const Fd folder(openFolder(place));
    if (!folder.valid()) return false;

    const SizeLimitSignalBlock block;
    return saveAt(folder.get(), place.name, Content(static_cast<const char*>(data), size), false);
}

bool replaceOwnFile(const std::string& path, const void* data, std::size_t size) {
    Place place;
    const Fd folder(openOwnPlace(path, place));
    if (!folder.valid()) return false;

    const SizeLimitSignalBlock block;
    return saveAt(folder.get(), place.name, Content(static_cast<const char*>(data), size), true);
}

bool createNewFile(const std::string& path, const void* data, std::size_t size) {
    Place place;
    const Fd folder(openOwnPlace(path, place));
    if (!folder.valid()) return false;

    const SizeLimitSignalBlock block;
    std::string tempName;
    Fd temp(createTemporary(folder.get(), tempName));
    if (!temp.valid()) return false;
    TemporaryFile file(folder.get(), tempName);
    if (!writeAll(temp.get(), Content(static_cast<const char*>(data), size), 0) ||
        fsync(temp.get()) != 0 || !temp.close() ||
        !renameNoReplace(folder.get(), tempName, place.name)) {
        return false;
    }
    file.renamed();
    return flushFolder(folder.get());
}

bool renameWithoutReplacing(const std::string& from, const std::string& to) {
    return renameNoReplace(AT_FDCWD, from, to);
}
