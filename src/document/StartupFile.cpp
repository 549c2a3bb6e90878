#include "document/StartupFile.h"

#include "document/FileNameOfPath.h"
#include "document/SettingsBackups.h"
#include "model/SettingsEdit.h"
#include "platform/UserServices.h"
#include "storage/DamagedFile.h"
#include "storage/FileMessages.h"
#include "storage/ParameterFile.h"

std::string StartupFile::prepare(const std::string& path, SettingsBackups& backups) {
    m_keptBecause.clear();
    const std::string name = baseNameOfPath(path);
    ParameterImage defaults;
    applyDefaults(defaults);
    std::string what;
    switch (parameterFileEntry(path)) {
        case ParameterFileEntry::Missing:
        case ParameterFileEntry::NoFile:  // the save fails, and the start-up ends with its message
            return {};
        case ParameterFileEntry::ParameterFile: {
            const BackupResult backup = backups.keepFile(path, BackupOccasion::StartUp, defaults);
            if (backup.status != BackupStatus::Failed) return {};
            m_keptBecause = "die Einstellungen darin ließen sich nicht sichern";
            return "Die Einstellungen des letzten Laufs in " + name +
                   " ließen sich nicht sichern: " + backup.message + "\n" + name +
                   " bleibt deshalb unverändert, und das Programm beginnt mit den "
                   "Grundeinstellungen, ohne sie dort zu speichern.";
        }
        case ParameterFileEntry::SymbolicLink:
            what = "ein symbolischer Link";
            break;
        case ParameterFileEntry::OtherFile:
            what = "keine Parameterdatei (" + fileOpenProblem(path, ParameterFileSize) + ")";
            break;
    }
    if (const auto aside = setAsideAsDamaged(path)) {
        return name + " ist " + what + " und wird nicht überschrieben. Es heißt jetzt " +
               baseNameOfPath(*aside) + "; das Programm beginnt mit den Grundeinstellungen.";
    }
    m_keptBecause = "es ist " + what;
    return name + " ist " + what +
           " und wird nicht überschrieben; es lässt sich auch nicht umbenennen. Das Programm "
           "beginnt mit den Grundeinstellungen, ohne sie dort zu speichern.";
}

bool StartupFile::write(const std::string& path, const ParameterImage& image) const {
    return !kept() && saveOwnParameterFile(image, path) == 0;
}

bool StartupFile::mayWriteAtProgramEnd(const std::string& path, const ParameterImage& image,
                                       SettingsBackups& backups) {
    if (!kept()) return true;
    if (holdsDefaultSettings(image)) return false;
    // The backup may work now (the folder was mended meanwhile).
    switch (parameterFileEntry(path)) {
        case ParameterFileEntry::Missing:
            m_keptBecause.clear();
            return true;
        case ParameterFileEntry::ParameterFile:
            if (backups.keepFile(path, BackupOccasion::ProgramEnd, image).status !=
                BackupStatus::Failed) {
                m_keptBecause.clear();
                return true;
            }
            break;
        default:
            break;
    }
    const std::string name = baseNameOfPath(path);
    return userServices().askYesNo(
               name + " blieb in diesem Lauf unverändert: " + m_keptBecause +
                   ".\nSollen die Einstellungen dieses Laufs trotzdem dort gespeichert werden? "
                   "Was bisher darin steht, geht dann verloren.",
               "Achtung", MessageIcon::Warning, Answer::No) == Answer::Yes;
}
