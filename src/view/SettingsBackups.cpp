#include "view/SettingsBackups.h"

#include "model/SettingsEdit.h"
#include "storage/ParameterFile.h"

namespace {

bool holdsDefaults(const ParameterImage& image) {
    ParameterImage defaults;
    applyDefaults(defaults);
    return sameSettings(image, defaults);
}

}  // namespace

void SettingsBackups::keepImage(const ParameterImage& image, BackupOccasion occasion) {
    if (holdsDefaults(image)) return;
    report(BackupStore().keepImage(image, occasion));
}

void SettingsBackups::keepFile(const std::string& path, BackupOccasion occasion,
                               const ParameterImage& next) {
    ParameterImage onDisk;
    if (loadParameterFile(onDisk, path) != 1) return;  // nothing there to lose
    if (holdsDefaults(onDisk)) return;
    ParameterImage written = next;
    written.setRedrawPending(onDisk.redrawPending());  // of no meaning in a file
    if (written == onDisk) return;
    report(BackupStore().keepFile(path, occasion));
}

void SettingsBackups::report(const BackupResult& result) {
    if (result.status != BackupStatus::Failed || m_bFailureReported) return;
    m_bFailureReported = true;
    if (m_report) m_report(result.message);
}
