#pragma once
// Backups of the settings, kept before the program overwrites them: the
// previous "Filtaro.dat" before the start-up defaults go over it, the
// settings on screen before a receive, Open or New replaces them, what the
// device held before a send changes it (when it was received in this run),
// and a file before Save or the save at program end writes over it.
//
// Each backup is a parameter file in the user's data folder,
// Filtaro/backups/, named with the local date and time and the occasion:
// "2026-12-07_14-03-22_vor-Empfang.dat" (a second backup in the same second
// gets "_2", and so on; so does one whose name is taken). A backup is
// always a new file: nothing already there under its name, a symbolic link
// included, is followed or written over.
//
// The newest BackupsKept stay; older ones are removed. Newest means last
// written: the program records the order in which it wrote them in
// "Reihenfolge.txt" in the folder, since clocks jump (one that ran ahead once
// named backups in the future, and their names and file times would make
// every new one look old). Backups the record does not know count as older
// than all it does, by their file times. The one just written always stays.
// Only the program's own backups count and are ever removed: parameter
// files named as above with one of the occasions below. Anything else in the
// folder, "2020-01-01_00-00-00_meine-Einstellung.dat" included, is the
// user's. A backup that is byte for byte the newest one is not written
// again.
//
// Writing a backup never stops what the user does. The result tells the
// caller what happened; a failure carries one German line for the status bar
// (the start-up, which overwrites Filtaro.dat on its own, stops instead):
//
//     const BackupResult kept = BackupStore().keepImage(image, BackupOccasion::BeforeReceive);
//     if (kept.status == BackupStatus::Failed) showStatus(kept.message);
//     receiveAllPresets(image, port);

#include <ctime>
#include <optional>
#include <string>
#include <vector>

#include "model/ParameterImage.h"

enum class BackupOccasion {
    StartUp,        // "Programmstart": the previous Filtaro.dat
    BeforeOpen,     // "vor-Oeffnen": the settings an Open replaces
    BeforeNew,      // "vor-Neu": the settings New resets
    BeforeReceive,  // "vor-Empfang": the settings a receive replaces
    BeforeSend,     // "vor-Senden": what the device held before the send
    BeforeSave,     // "vor-Speichern": the file a Save writes over
    ProgramEnd,     // "Programmende": the file the save at program end writes over
};

// The occasion as it appears in file names (ASCII, no "_").
const char* backupOccasionName(BackupOccasion occasion);

// What a backup's file name tells the user: the local date and time it was
// kept ("07.12.2026", "18:42:10") and the occasion in words ("Vor dem
// Empfang"; an occasion this program does not name is shown as written).
struct BackupFileInfo {
    std::string date;
    std::string time;
    std::string occasion;
    friend bool operator==(const BackupFileInfo&, const BackupFileInfo&) = default;
};
// Nothing for a file name that is not a backup's.
std::optional<BackupFileInfo> backupFileInfo(const std::string& fileName);

constexpr std::size_t BackupsKept = 100;

// userDataFolder()/Filtaro/backups; "" when there is no data folder.
std::string backupFolder();

enum class BackupStatus {
    Written,        // a new backup file
    Unchanged,      // the newest backup holds exactly these settings already
    NothingToKeep,  // keepFile: no parameter file at that path
    Failed,         // see `message`
};

struct BackupResult {
    BackupStatus status = BackupStatus::Failed;
    std::string path;     // Written, Unchanged: the backup file
    std::string message;  // Failed: one German line for the status bar
};

class BackupStore {
public:
    explicit BackupStore(std::string folder = backupFolder());

    const std::string& folder() const { return m_folder; }

    // Keeps `image` (all 2784 bytes), named for `when` (local time) and
    // `occasion`, and removes the oldest backups beyond BackupsKept.
    BackupResult keepImage(const ParameterImage& image, BackupOccasion occasion,
                           const std::tm& when) const;
    BackupResult keepImage(const ParameterImage& image, BackupOccasion occasion) const;

    // Keeps the parameter file at `path` before it is overwritten;
    // NothingToKeep when there is none (missing, or not a parameter file).
    BackupResult keepFile(const std::string& path, BackupOccasion occasion,
                          const std::tm& when) const;
    BackupResult keepFile(const std::string& path, BackupOccasion occasion) const;

    // The program's backups in the folder, newest (last written) first.
    std::vector<std::string> list() const;

private:
    std::string m_folder;
};
