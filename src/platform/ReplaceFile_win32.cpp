// The save routine on Windows' own calls. The content goes to a new file
// with a short name in the target's folder, is flushed (FlushFileBuffers),
// and then takes the target's place: ReplaceFileW for an existing file,
// which keeps its ACL, attributes, creation time and streams, and
// MoveFileExW with write-through for a new one. A symbolic link is followed
// to the file it names. A read-only file, a file this process may not
// write, anything that is not a file on a disk, and a name Windows would
// not take as written are refused untouched.

#include <windows.h>

#include <algorithm>
#include <atomic>
#include <cerrno>
#include <optional>

#include "platform/FileNameCheck.h"
#include "platform/ReplaceFile.h"
#include "platform/ReplaceFileCalls_win32.h"
#include "platform/SystemError.h"
#include "platform/Utf8Path.h"

namespace {

// The callers may look at errno, as on the other systems; what errno cannot
// name keeps Windows' code for the message.
bool fail(DWORD error) {
    switch (error) {
        case ERROR_FILE_NOT_FOUND:
        case ERROR_PATH_NOT_FOUND:
            errno = ENOENT;
            break;
        case ERROR_ACCESS_DENIED:
        case ERROR_WRITE_PROTECT:
            errno = EACCES;
            break;
        case ERROR_SHARING_VIOLATION:
        case ERROR_LOCK_VIOLATION:
        case ERROR_USER_MAPPED_FILE:
            errno = EBUSY;  // another program has the file open
            break;
        case ERROR_DISK_FULL:
        case ERROR_HANDLE_DISK_FULL:
            errno = ENOSPC;
            break;
        case ERROR_DIRECTORY:
            errno = EISDIR;
            break;
        case ERROR_FILENAME_EXCED_RANGE:
            errno = ENAMETOOLONG;
            break;
        case ERROR_ALREADY_EXISTS:
        case ERROR_FILE_EXISTS:
            errno = EEXIST;
            break;
        default:
            errno = EIO;
            break;
    }
    noteSystemError(errno, error);
    return false;
}

constexpr ReplaceFileCalls SystemCalls = {ReplaceFileW, MoveFileExW};
std::atomic<const ReplaceFileCalls*> installedCalls{&SystemCalls};

class FileHandle {
public:
    explicit FileHandle(HANDLE handle) : m_handle(handle) {}
    ~FileHandle() {
        if (valid()) CloseHandle(m_handle);
    }
    FileHandle(const FileHandle&) = delete;
    FileHandle& operator=(const FileHandle&) = delete;
    bool valid() const { return m_handle != INVALID_HANDLE_VALUE; }
    HANDLE get() const { return m_handle; }
    bool close() {
        const bool ok = CloseHandle(m_handle) != 0;
        m_handle = INVALID_HANDLE_VALUE;
        return ok;
    }

private:
    HANDLE m_handle;
};

constexpr DWORD ShareAll = FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE;
constexpr std::size_t LongestPath = 32768;  // characters, terminator included
constexpr DWORD SettableAttributes = FILE_ATTRIBUTE_ARCHIVE | FILE_ATTRIBUTE_HIDDEN |
                                     FILE_ATTRIBUTE_NOT_CONTENT_INDEXED | FILE_ATTRIBUTE_SYSTEM;

struct Target {
    std::wstring path;  // the file itself, links resolved
    bool exists = false;
    DWORD attributes = 0;  // of the existing file
};

// The file a handle has open, all links resolved (nullopt and errno set when
// the system does not tell).
std::optional<std::wstring> finalPathOf(HANDLE file) {
    std::wstring final(MAX_PATH, L'\0');
    for (;;) {
        const DWORD n =
            GetFinalPathNameByHandleW(file, final.data(), static_cast<DWORD>(final.size()), 0);
        if (n > 0 && n < final.size()) {
            final.resize(n);
            return final;
        }
        if (n > final.size()) {
            final.resize(n);  // n is the size needed, terminator included
            continue;
        }
        // Some implementations (Wine) report a long name as ERROR_MORE_DATA
        // without the size; the longest name Windows has fits 32767.
        const DWORD error = GetLastError();
        if (n == 0 && error == ERROR_MORE_DATA && final.size() < LongestPath) {
            final.resize(LongestPath);
            continue;
        }
        fail(n == 0 ? error : ERROR_MORE_DATA);
        return std::nullopt;
    }
}

// The file `path` names, or nullopt (errno set) when it must not be saved
// over: a folder, a device, a read-only file, one this process may not write.
// Only a name that is itself a link needs resolving; the folders on the way
// may be links, the rename happens in the folder they lead to all the same.
std::optional<Target> resolveTarget(const std::wstring& path) {
    if (GetFileAttributesW(path.c_str()) == INVALID_FILE_ATTRIBUTES) {
        const DWORD error = GetLastError();
        if (error == ERROR_FILE_NOT_FOUND) return Target{path, false};
        fail(error);
        return std::nullopt;
    }
    // No access rights needed to look; the backup flag lets a folder open,
    // so that it is refused by what it is rather than by an error.
    const FileHandle file(CreateFileW(path.c_str(), 0, ShareAll, nullptr, OPEN_EXISTING,
                                      FILE_FLAG_BACKUP_SEMANTICS, nullptr));
    BY_HANDLE_FILE_INFORMATION info{};
    if (!file.valid() || !GetFileInformationByHandle(file.get(), &info)) {
        fail(GetLastError());
        return std::nullopt;
    }
    if (GetFileType(file.get()) != FILE_TYPE_DISK ||
        (info.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0) {
        fail(ERROR_DIRECTORY);
        return std::nullopt;
    }
    if ((info.dwFileAttributes & FILE_ATTRIBUTE_READONLY) != 0) {
        fail(ERROR_ACCESS_DENIED);
        return std::nullopt;
    }
    std::wstring final = path;
    if ((GetFileAttributesW(path.c_str()) & FILE_ATTRIBUTE_REPARSE_POINT) != 0) {
        const std::optional<std::wstring> linked = finalPathOf(file.get());
        if (!linked) return std::nullopt;
        final = *linked;
    }
    // Whether the ACL lets this process write the file, as the system
    // decides it for an open for writing.
    const FileHandle writable(
        CreateFileW(final.c_str(), GENERIC_WRITE, ShareAll, nullptr, OPEN_EXISTING, 0, nullptr));
    if (!writable.valid()) {
        fail(GetLastError());
        return std::nullopt;
    }
    return Target{final, true, info.dwFileAttributes};
}

std::wstring folderOf(const std::wstring& path) {
    const std::size_t separator = path.find_last_of(L"\\/");
    return separator == std::wstring::npos ? std::wstring() : path.substr(0, separator + 1);
}

bool exists(const std::wstring& path) {
    return GetFileAttributesW(path.c_str()) != INVALID_FILE_ATTRIBUTES;
}

// A short name (`prefix` and six characters) in `folder`, a new one each
// time.
std::wstring temporaryName(const std::wstring& folder, const wchar_t* prefix) {
    static std::atomic<unsigned> counter{0};
    static constexpr wchar_t Digits[] = L"abcdefghijklmnopqrstuvwxyz0123456789";
    unsigned long long seed =
        (GetTickCount64() << 20) ^ (GetCurrentProcessId() << 8) ^ (counter++ * 2654435761u);
    std::wstring name = prefix;
    for (int i = 0; i < 6; ++i, seed /= 36) name += Digits[seed % 36];
    return folder + name;
}

// A new file with a temporary name (".filtaro-" and six characters) in
// `folder`.
HANDLE createTemporary(const std::wstring& folder, std::wstring& tempPath) {
    for (int attempt = 0; attempt < 100; ++attempt) {
        tempPath = temporaryName(folder, L".filtaro-");
        const HANDLE handle = CreateFileW(tempPath.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW,
                                          FILE_ATTRIBUTE_NORMAL, nullptr);
        if (handle != INVALID_HANDLE_VALUE) return handle;
        const DWORD error = GetLastError();
        if (error != ERROR_FILE_EXISTS && error != ERROR_ALREADY_EXISTS) {
            SetLastError(error);
            return INVALID_HANDLE_VALUE;
        }
    }
    SetLastError(ERROR_FILE_EXISTS);
    return INVALID_HANDLE_VALUE;
}

bool writeAll(HANDLE handle, const unsigned char* data, std::size_t size) {
    while (size > 0) {
        const DWORD chunk = static_cast<DWORD>(std::min<std::size_t>(size, 1u << 30));
        DWORD written = 0;
        if (!WriteFile(handle, data, chunk, &written, nullptr) || written == 0) return false;
        data += written;
        size -= written;
    }
    return true;
}

// A name in `folder` that no file has (".filtaro-alt-" and six characters),
// for the old file on its way out. It differs from the temporary files'
// names: should a failed replace leave the old content under it, no clean-up
// of stale temporary files may take it for one.
std::wstring unusedBackupName(const std::wstring& folder) {
    std::wstring path = temporaryName(folder, L".filtaro-alt-");
    for (int attempt = 0; attempt < 100 && exists(path); ++attempt) {
        path = temporaryName(folder, L".filtaro-alt-");
    }
    return path;
}

enum class Placed {
    New,       // the target holds the new content
    AsBefore,  // the target is as it was: the old content, or no file
    Neither,   // the target is gone; both contents wait under temporary names
};

// The temporary file takes the target's place. An existing target leaves
// through a backup name of its own, so that every way ReplaceFileW can fail
// leaves each content under a name this routine knows:
//   1175 (ERROR_UNABLE_TO_REMOVE_REPLACED), 1176 (..._MOVE_REPLACEMENT, with a
//   backup name) and every other error: nothing has moved;
//   1177 (..._MOVE_REPLACEMENT_2): the old file has the backup name, the new
//   one still its temporary name.
// Then the new content goes forward, or else the old comes back; a name is
// deleted only when the other content has the target's name.
Placed moveIntoPlace(const Target& target, const std::wstring& tempPath, DWORD& error) {
    constexpr DWORD MoveFlags = MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH;
    const ReplaceFileCalls& calls = *installedCalls.load();
    const wchar_t* const targetPath = target.path.c_str();
    if (!target.exists) {
        if (calls.moveFile(tempPath.c_str(), targetPath, MoveFlags)) return Placed::New;
        error = GetLastError();
        return Placed::AsBefore;
    }
    const std::wstring backup = unusedBackupName(folderOf(target.path));
    if (calls.replaceFile(targetPath, tempPath.c_str(), backup.c_str(),
                          REPLACEFILE_IGNORE_MERGE_ERRORS, nullptr, nullptr)) {
        DeleteFileW(backup.c_str());
        return Placed::New;
    }
    error = GetLastError();
    if (exists(target.path)) return Placed::AsBefore;
    if (calls.moveFile(tempPath.c_str(), targetPath, MoveFlags)) {
        DeleteFileW(backup.c_str());
        return Placed::New;
    }
    if (calls.moveFile(backup.c_str(), targetPath, MoveFlags)) return Placed::AsBefore;
    return Placed::Neither;
}

// Writes `data` to a new temporary file in `folder` and flushes it; the
// temporary's path, or nothing (errno set, the temporary removed).
std::optional<std::wstring> writeTemporary(const std::wstring& folder, const void* data,
                                           std::size_t size) {
    std::wstring tempPath;
    FileHandle temp(createTemporary(folder, tempPath));
    if (!temp.valid()) {
        fail(GetLastError());
        return std::nullopt;
    }
    bool ok = writeAll(temp.get(), static_cast<const unsigned char*>(data), size) &&
              FlushFileBuffers(temp.get());
    const DWORD error = ok ? ERROR_SUCCESS : GetLastError();
    ok = temp.close() && ok;
    if (!ok) {
        DeleteFileW(tempPath.c_str());
        fail(error);
        return std::nullopt;
    }
    return tempPath;
}

// Moves the written temporary file to `path` (MoveFileExW with `flags`),
// or removes it.
bool publish(const std::wstring& tempPath, const std::wstring& path, DWORD flags) {
    if (MoveFileExW(tempPath.c_str(), path.c_str(), flags | MOVEFILE_WRITE_THROUGH)) return true;
    const DWORD error = GetLastError();
    DeleteFileW(tempPath.c_str());
    return fail(error);
}

std::optional<std::wstring> widePath(const std::string& path) {
    if (path.empty() || path.back() == '/' || path.back() == '\\') {
        fail(ERROR_INVALID_NAME);
        return std::nullopt;
    }
    std::wstring wide = pathFromUtf8(path).wstring();
    if (wide.empty()) {
        fail(ERROR_INVALID_NAME);
        return std::nullopt;
    }
    return wide;
}

}  // namespace

bool createNewFile(const std::string& path, const void* data, std::size_t size) {
    const std::optional<std::wstring> wide = widePath(path);
    if (!wide) return false;
    const std::optional<std::wstring> temp = writeTemporary(folderOf(*wide), data, size);
    // Without MOVEFILE_REPLACE_EXISTING the move fails on any existing
    // name, a link included.
    return temp && publish(*temp, *wide, 0);
}

bool replaceOwnFile(const std::string& path, const void* data, std::size_t size) {
    const std::optional<std::wstring> wide = widePath(path);
    if (!wide) return false;
    const DWORD attributes = GetFileAttributesW(wide->c_str());
    // GetFileAttributesW describes a link itself. A link to a file is
    // replaced by the new file, not followed.
    if (attributes == INVALID_FILE_ATTRIBUTES || (attributes & FILE_ATTRIBUTE_REPARSE_POINT) == 0 ||
        (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0) {
        return replaceFileContents(path, data, size);
    }
    const std::optional<std::wstring> temp = writeTemporary(folderOf(*wide), data, size);
    return temp && publish(*temp, *wide, MOVEFILE_REPLACE_EXISTING);
}

bool renameWithoutReplacing(const std::string& from, const std::string& to) {
    const std::optional<std::wstring> source = widePath(from);
    const std::optional<std::wstring> target = widePath(to);
    if (!source || !target) return false;
    return MoveFileExW(source->c_str(), target->c_str(), 0) != 0 || fail(GetLastError());
}

bool replaceFileContents(const std::string& path, const void* data, std::size_t size) {
    if (path.empty() || path.back() == '/' || path.back() == '\\' ||
        windowsFileNameProblem(path).kind != FileNameProblem::None) {
        return fail(ERROR_INVALID_NAME);
    }
    const std::wstring wide = pathFromUtf8(path).wstring();
    if (wide.empty()) return fail(ERROR_INVALID_NAME);
    const std::optional<Target> target = resolveTarget(wide);
    if (!target) return false;

    std::wstring tempPath;
    FileHandle temp(createTemporary(folderOf(target->path), tempPath));
    if (!temp.valid()) return fail(GetLastError());
    bool ok = writeAll(temp.get(), static_cast<const unsigned char*>(data), size) &&
              FlushFileBuffers(temp.get());
    DWORD error = ok ? ERROR_SUCCESS : GetLastError();
    ok = temp.close() && ok;
    // ReplaceFileW gives the new file the old one's attributes; not every
    // implementation does (Wine), so they are set beforehand as well.
    if (ok && target->exists) {
        SetFileAttributesW(tempPath.c_str(), target->attributes & SettableAttributes);
    }
    if (!ok) {
        DeleteFileW(tempPath.c_str());
        return fail(error);
    }
    switch (moveIntoPlace(*target, tempPath, error)) {
        case Placed::New:
            return true;
        case Placed::AsBefore:
            DeleteFileW(tempPath.c_str());
            return fail(error);
        case Placed::Neither:
            break;  // the last copy of each content stays where it is
    }
    return fail(error);
}

void setReplaceFileCallsForTest(const ReplaceFileCalls* calls) {
    installedCalls.store(calls != nullptr ? calls : &SystemCalls);
}
