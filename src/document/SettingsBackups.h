#pragma once
// The backups the window keeps before it overwrites settings (see
// storage/Backups.h for where they go and how they are named). A backup never
// stops what it precedes; the first failure of the run is reported once, to
// the owner's `report`, and later ones are not repeated. Settings that hold
// nothing of the user's (the defaults, or exactly what is about to be
// written) are not kept.

#include <functional>
#include <string>
#include <utility>

#include "model/ParameterImage.h"
#include "storage/Backups.h"

class SettingsBackups {
public:
    using Report = std::function<void(const std::string& message)>;
    explicit SettingsBackups(Report report) : m_report(std::move(report)) {}

    // Keeps `image` before the window replaces it.
    void keepImage(const ParameterImage& image, BackupOccasion occasion);
    // Keeps the parameter file at `path` before `next` is written over it.
    // NothingToKeep when it holds nothing worth a backup; Failed (with the
    // message, reported as above) when it does and no backup could be made.
    BackupResult keepFile(const std::string& path, BackupOccasion occasion,
                          const ParameterImage& next);

private:
    void report(const BackupResult& result);

    Report m_report;
    bool m_bFailureReported = false;
};
