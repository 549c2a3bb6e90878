#include "document/SettingsBackups.h"

#include "model/SettingsEdit.h"
#include "storage/ParameterFile.h"

void SettingsBackups::keepImage(const ParameterImage& image, BackupOccasion occasion) {
    if (holdsDefaultSettings(image)) return;
    report(BackupStore().keepImage(image, occasion));
}

BackupResult SettingsBackups::keepFile(const std::string& path, BackupOccasion occasion,
                                       const ParameterImage& next) {
    const BackupResult nothing{BackupStatus::NothingToKeep, {}, {}};
    ParameterImage onDisk;
    if (loadParameterFile(onDisk, path) != 1) return nothing;  // nothing there to lose
    if (holdsDefaultSettings(onDisk)) return nothing;
    ParameterImage written = next;
    written.setRedrawPending(onDisk.redrawPending());  // of no meaning in a file
    if (written == onDisk) return nothing;
    const BackupResult result = BackupStore().keepFile(path, occasion);
    report(result);
    return result;
}

void SettingsBackups::report(const BackupResult& result) {
    if (result.status != BackupStatus::Failed || m_bFailureReported) return;
    m_bFailureReported = true;
    if (m_report) m_report(result.message);
}
