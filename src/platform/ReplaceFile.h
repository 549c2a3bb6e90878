#pragma once
// Replaces a file's whole content without ever leaving it half written: the
// bytes go to a temporary file in the same directory, which is flushed to
// the disk and then renamed over the target. Until the rename the old file
// is untouched; if anything fails the temporary file is removed and the old
// file stays as it was.
//
// A symbolic link is followed, so the file it names is replaced and the link
// stays. A new file gets the usual permissions (as modified by the umask);
// an existing one keeps its permissions. A target that exists but is not a
// regular file (a directory, a device) is refused.

#include <cstddef>
#include <string>

bool replaceFileContents(const std::string& path, const void* data, std::size_t size);
