#pragma once
// The messages about a file that could not be read or saved, worded once for
// every tool that prints them (filtaro-cli, filtaro-devsim): the file's name,
// the program's words for the failure, and why, as far as the system tells.
//
//   "a.dat: Datei konnte nicht geöffnet werden (2783 Bytes statt 2784)."
//   "out.dat: Datei konnte nicht gespeichert werden (keine Schreibrechte)."
//   "a<b.dat: Datei konnte nicht gespeichert werden (das Zeichen "<" ist in
//    Dateinamen nicht erlaubt)."
// Under Windows a name the system would not take as written is told as
// such, and a failure without a word of the program's own in Windows' text.
//
// The window shows its own fixed texts instead.

#include <cerrno>
#include <cstddef>
#include <cstdint>
#include <string>

// Why `path` cannot be read, looked at now ("keine Leserechte", "größer
// als 256 MB", ...), for a message of the caller's own wording.
std::string fileOpenProblem(const std::string& path, std::size_t exactSize,
                            std::size_t maxSize = SIZE_MAX);

// After a read of `path` failed. `exactSize` is the size the file must have;
// 0 for any size up to `maxSize`.
std::string fileOpenFailure(const std::string& path, std::size_t exactSize,
                            std::size_t maxSize = SIZE_MAX);

// After a save of `path` failed; `error` is the errno the save left.
std::string fileSaveFailure(const std::string& path, int error = errno);
