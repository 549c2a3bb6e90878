#pragma once
// Saves a file's whole new content. Every file the program writes goes
// through here, so that no save ever leaves a file half written, takes it
// from its owner, or cuts it off from its other names.
//
// On success the new content is in the file and flushed to the disk.
// On failure (false, errno tells why) the file is as it was and nothing
// new is left beside it. Two exceptions: a failed flush of the folder after
// the rename, when the file already holds the new content; and, under
// Windows, a replace that moved the old file aside and then could neither
// put the new one in its place nor the old one back (a network share that
// went away half way): the name is then empty, and both contents stay in
// the folder, the new one as ".filtaro-XXXXXX" and the old one as
// ".filtaro-alt-XXXXXX", since either may be the only copy.
//
// What is saved:
// - The path is followed through symbolic links to the file they name,
//   relative links from the link's own folder, up to 40 links; a link that
//   names no file yet gets that file created, and the links stay.
// - An existing target must be a regular file that this process may write,
//   as the system decides it for an open for writing (permission bits,
//   ACLs, read-only mounts, immutable files). A read-only file is refused
//   untouched; so is a directory, a device or a pipe. The superuser writes
//   what the system lets it write, a read-only file included, as with any
//   other tool.
//
// How:
// - Normally the content goes to a new file with a short name (".filtaro-"
//   and six characters, so any name the file system takes can be saved) in
//   the target's folder; it is flushed, given the old file's owner, group,
//   permissions and extended attributes (ACLs), and renamed over the target;
//   then the folder is flushed so that the rename survives a power loss.
// - When that would lose something, the file is overwritten in place
//   instead: it has other hard links, its owner, group, permissions or
//   attributes cannot be given to a new file, or the folder takes no new
//   file (it is not writable). Before a byte changes, the file-size limit is
//   checked and the space is reserved on the file's own file system
//   (fallocate), so a size limit or a full disk fails with the file
//   untouched; should a write fail all the same, the old content is written
//   back. An in-place write is not atomic: a power loss or crash in the
//   middle of it can leave a mix of old and new content.
// - A file-size limit never ends the process: SIGXFSZ is blocked in the
//   calling thread while the routine writes, so an oversized write fails
//   with EFBIG, and a signal it raised is discarded.
//
// Safe to call from several threads; each call is on its own.

#include <cstddef>
#include <string>

bool replaceFileContents(const std::string& path, const void* data, std::size_t size);
