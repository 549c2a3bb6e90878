// The save routine on Windows' own calls. The content goes to a new file
// with a short name in the target's folder, is flushed (FlushFileBuffers),
// and then takes the target's place: ReplaceFileW for an existing file,
// which keeps its ACL, attributes, creation time and streams, and
// MoveFileExW with write-through for a new one. A symbolic link is followed
// to the file it names. A read-only file, a file this process may not
// write, and anything that is not a file on a disk are refused untouched.

#include <windows.h>

#include <algorithm>
#include <atomic>
#include <cerrno>
#include <optional>

#include "platform/ReplaceFile.h"
#include "platform/Utf8Path.h"

namespace {

// The callers may look at errno, as on the other systems.
bool fail(DWORD error) {
    switch (error) {
        case ERROR_FILE_NOT_FOUND:
        case ERROR_PATH_NOT_FOUND:
        case ERROR_INVALID_NAME:
        case ERROR_BAD_PATHNAME:
            errno = ENOENT;
            break;
        case ERROR_ACCESS_DENIED:
        case ERROR_SHARING_VIOLATION:
        case ERROR_LOCK_VIOLATION:
        case ERROR_WRITE_PROTECT:
            errno = EACCES;
            break;
        case ERROR_DISK_FULL:
        case ERROR_HANDLE_DISK_FULL:
            errno = ENOSPC;
            break;
        case ERROR_DIRECTORY:
            errno = EISDIR;
            break;
        case ERROR_ALREADY_EXISTS:
        case ERROR_FILE_EXISTS:
            errno = EEXIST;
            break;
        default:
            errno = EIO;
            break;
    }
    return false;
}

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
constexpr DWORD SettableAttributes = FILE_ATTRIBUTE_ARCHIVE | FILE_ATTRIBUTE_HIDDEN |
                                     FILE_ATTRIBUTE_NOT_CONTENT_INDEXED | FILE_ATTRIBUTE_SYSTEM;

struct Target {
    std::wstring path;  // the file itself, links resolved
    bool exists = false;
    DWORD attributes = 0;  // of the existing file
};

// The file `path` names, or nullopt (errno set) when it must not be saved
// over: a folder, a device, a read-only file, one this process may not write.
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
    std::wstring final(MAX_PATH, L'\0');
    for (;;) {
        const DWORD n = GetFinalPathNameByHandleW(file.get(), final.data(),
                                                  static_cast<DWORD>(final.size()), 0);
        if (n == 0) {
            fail(GetLastError());
            return std::nullopt;
        }
        if (n < final.size()) {
            final.resize(n);
            break;
        }
        final.resize(n);  // n is the size needed, terminator included
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

// A new file with a short name (".filtaro-" and six characters) in `folder`.
HANDLE createTemporary(const std::wstring& folder, std::wstring& tempPath) {
    static std::atomic<unsigned> counter{0};
    static constexpr wchar_t Digits[] = L"abcdefghijklmnopqrstuvwxyz0123456789";
    for (int attempt = 0; attempt < 100; ++attempt) {
        unsigned long long seed =
            (GetTickCount64() << 20) ^ (GetCurrentProcessId() << 8) ^ (counter++ * 2654435761u);
        std::wstring name = L".filtaro-";
        for (int i = 0; i < 6; ++i, seed /= 36) name += Digits[seed % 36];
        tempPath = folder + name;
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

// The temporary file takes the target's place.
bool moveIntoPlace(const Target& target, const std::wstring& tempPath) {
    constexpr DWORD MoveFlags = MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH;
    if (!target.exists) return MoveFileExW(tempPath.c_str(), target.path.c_str(), MoveFlags) != 0;
    if (ReplaceFileW(target.path.c_str(), tempPath.c_str(), nullptr,
                     REPLACEFILE_IGNORE_MERGE_ERRORS, nullptr, nullptr)) {
        return true;
    }
    // The old file is gone already and the new one still has its temporary
    // name: it can only go forward.
    return GetLastError() == ERROR_UNABLE_TO_MOVE_REPLACEMENT_2 &&
           MoveFileExW(tempPath.c_str(), target.path.c_str(), MoveFlags) != 0;
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
    if (path.empty() || path.back() == '/' || path.back() == '\\') return fail(ERROR_INVALID_NAME);
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
    if (ok && !moveIntoPlace(*target, tempPath)) {
        ok = false;
        error = GetLastError();
    }
    if (!ok) {
        DeleteFileW(tempPath.c_str());
        return fail(error);
    }
    return true;
}
