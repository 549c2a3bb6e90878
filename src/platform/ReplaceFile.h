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
// - A save that was killed leaves its temporary file behind. Such leftovers
//   in the folder (".filtaro-" and six letters or digits, a regular file of
//   this user, untouched for more than an hour) are removed by the next save
//   there; a save in progress touches its file far more often than that.
//   (Linux; under Windows they stay.)
//
// Safe to call from several threads; each call is on its own.

#include <cstddef>
#include <string>

bool replaceFileContents(const std::string& path, const void* data, std::size_t size);

// The files the program names itself (backups, damaged files set aside, the
// dump files, the start-up defaults) are never written through a link that
// someone else may have put in their place. Both calls save as
// replaceFileContents does, all or nothing, but take the last part of
// `path` as it is: a symbolic link there is never followed.

// A new file: fails with EEXIST, touching nothing, when anything of that
// name exists, a symbolic link that names no file included.
bool createNewFile(const std::string& path, const void* data, std::size_t size);

// Saves over the program's own file. A symbolic link at `path` is replaced
// by the file, and a file with other hard links gets a new file under this
// name: what the link named and the other names keep their content. Read-only
// files, folders, devices and pipes are refused as by replaceFileContents.
bool replaceOwnFile(const std::string& path, const void* data, std::size_t size);

// Renames the entry `from` (a symbolic link is moved itself, never followed)
// to `to` in the same file system. Fails with EEXIST, touching nothing, when
// anything of the name `to` exists.
bool renameWithoutReplacing(const std::string& from, const std::string& to);
