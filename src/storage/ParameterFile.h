#pragma once
// Parameter files: one whole ParameterImage, byte for byte (2784 bytes, no
// header, no checksum; the length alone identifies a valid file). Values are
// stored and loaded without any range check. A relative path is taken
// relative to the current directory.

#include <cstddef>
#include <string>

#include "model/ParameterImage.h"

constexpr std::size_t ParameterFileSize = ParameterImageSize;

// Returned by saveParameterFile when the file could not be written.
constexpr int ParameterFileSaveFailed = -1;

// Loads the file into `image`. Returns 1 when the image now holds the
// file's content, 0 when the file is missing, not a regular file, not
// exactly 2784 bytes long or could not be read completely; then the image
// keeps every byte it had.
int loadParameterFile(ParameterImage& image, const std::string& path);

// Writes the image to the file. Returns 0 on success and
// ParameterFileSaveFailed when the file could not be written; a failed or
// interrupted save leaves the previous file as it was (the new content is
// written beside it and then renamed over it).
int saveParameterFile(const ParameterImage& image, const std::string& path);

// Writes the image to a file the program names itself ("Filtaro.dat" in
// the start-up directory): as saveParameterFile, but a symbolic link at
// `path` is replaced by the file instead of followed (replaceOwnFile).
int saveOwnParameterFile(const ParameterImage& image, const std::string& path);

// What stands at `path`, looked at without following a symbolic link there.
enum class ParameterFileEntry {
    Missing,
    ParameterFile,  // a regular file of exactly 2784 bytes
    SymbolicLink,   // whatever it names, or nothing
    OtherFile,      // a regular file of another size
    NoFile,         // a folder, a device, a pipe, or what cannot be looked at
};
ParameterFileEntry parameterFileEntry(const std::string& path);
