#pragma once
// A file the program cannot use and must not lose: a side file that is no
// JSON or too large to be one, a "Filtaro.dat" that is no parameter file.
// It is renamed, never copied or written over, so that it keeps every byte,
// its owner and, when it is a symbolic link, stays that link:
//
//     Boxen.filtaro.json  ->  Boxen.filtaro.json.defekt
//                             Boxen.filtaro.json.2.defekt (when that is taken)
//
// An earlier ".defekt" file, or anything else of the name, is never written
// over; the next free number is taken instead.

#include <optional>
#include <string>

// Renames `path` to the first free name of the form above; the new path, or
// nothing when the rename failed (no write permission in the folder, say).
std::optional<std::string> setAsideAsDamaged(const std::string& path);
