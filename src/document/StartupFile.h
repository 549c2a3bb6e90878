#pragma once
// "Filtaro.dat" in the start-up directory: the start-up writes the defaults
// over it, New does the same, and the save at program end writes it while it
// is the current file. The program names it itself, so it never writes it
// through a symbolic link, and never over what the user would miss:
//
// - a parameter file with settings worth keeping is kept as a backup first;
//   when that backup fails, the file is kept as it is for the whole run
//   (the start-up, unlike the user's own commands, does not go ahead);
// - a symbolic link, or a file that is no parameter file, is set aside as
//   "Filtaro.dat.defekt" (numbered, see storage/DamagedFile.h) and a new
//   file takes its place; when it cannot be set aside, it is kept as well.
//
// A kept file is not written by the start-up or by New, and the save at
// program end asks before it writes over it. The settings of the run start
// from the defaults all the same.

#include <string>

#include "model/ParameterImage.h"

class SettingsBackups;

class StartupFile {
public:
    // Before the start-up writes the defaults to `path`. Returns what the
    // user must be told (for a box titled "Achtung"), or "".
    std::string prepare(const std::string& path, SettingsBackups& backups);
    // Whether this run keeps the file as it was.
    bool kept() const { return !m_keptBecause.empty(); }

    // Writes `image` to `path` unless the file is kept. False when it was
    // not written.
    bool write(const std::string& path, const ParameterImage& image) const;

    // At program end, before `image` is saved to `path`: true when it may be
    // written (the file is not kept, or its settings could be kept as a
    // backup now, or the user says so). Nothing of the run to keep (the
    // defaults) leaves a kept file alone without asking.
    bool mayWriteAtProgramEnd(const std::string& path, const ParameterImage& image,
                              SettingsBackups& backups);

private:
    std::string m_keptBecause;  // why the start-up kept the file; "" when it did not
};
