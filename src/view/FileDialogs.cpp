#include "view/FileDialogs.h"

#include <QDir>
#include <QFileDialog>
#include <filesystem>
#include <utility>

#include "forms/ModalRunner.h"
#include "platform/Utf8Path.h"

namespace {

// One filter for both dialogs. The pattern in parentheses is what Qt
// matches, so it must read "*.dat" (a bare "*dat" would also list "xdat").
constexpr const char* ParameterFileFilter = "Filtaro Dateien (*.dat)";
constexpr const char* ParameterFileSuffix = "dat";

struct ExportFilter {
    FileDialogKind kind;
    const char* filter;
    const char* suffix;
};

constexpr ExportFilter ExportFilters[] = {
    {FileDialogKind::ExportPng, "PNG-Bild (*.png)", "png"},
    {FileDialogKind::ExportSvg, "SVG-Grafik (*.svg)", "svg"},
    {FileDialogKind::ExportCsv, "CSV-Datei (*.csv)", "csv"},
    {FileDialogKind::Measurement, "Messungen (*.txt *.frd *.csv);;Alle Dateien (*)", ""},
    {FileDialogKind::FilterText, "Textdateien (*.txt *.cfg);;Alle Dateien (*)", "txt"},
    {FileDialogKind::ExportApo, "Equalizer-APO-Text (*.txt)", "txt"},
    {FileDialogKind::ExportRew, "REW-Filtertext (*.txt)", "txt"},
    {FileDialogKind::ExportCamillaDsp, "CamillaDSP-Konfiguration (*.yml *.yaml)", "yml"},
};

FilePathAnswer& installedAnswer() {
    static FilePathAnswer answer;
    return answer;
}

}  // namespace

std::string fileDialogFolder(const std::string& currentFile, const std::string& startupDirectory) {
    std::error_code error;
    const std::filesystem::path folder = pathFromUtf8(currentFile).parent_path();
    if (!folder.empty() && std::filesystem::is_directory(folder, error)) {
        return utf8FromPath(folder);
    }
    return startupDirectory;
}

std::optional<std::string> askFilePath(FileDialogKind kind, const std::string& folder,
                                       QWidget* parent) {
    if (const FilePathAnswer& answer = installedAnswer()) {
        return answer(kind, folder);
    }
    QFileDialog dialog(parent);
    dialog.setNameFilter(QString::fromUtf8(ParameterFileFilter));
    dialog.setDefaultSuffix(QString::fromLatin1(ParameterFileSuffix));
    for (const ExportFilter& e : ExportFilters) {
        if (e.kind == kind) {
            dialog.setNameFilter(QString::fromUtf8(e.filter));
            dialog.setDefaultSuffix(QString::fromLatin1(e.suffix));
        }
    }
    if (kind == FileDialogKind::Open || kind == FileDialogKind::FilterText ||
        kind == FileDialogKind::Measurement) {
        dialog.setAcceptMode(QFileDialog::AcceptOpen);
        dialog.setFileMode(QFileDialog::ExistingFile);
    } else {
        dialog.setAcceptMode(QFileDialog::AcceptSave);
        dialog.setFileMode(QFileDialog::AnyFile);  // overwriting asks first
    }
    // Without a folder of its own, Qt's dialog would open wherever the last
    // one was left.
    dialog.setDirectory(folder.empty() ? QDir::currentPath() : QString::fromStdString(folder));
    // Through the modal runner, so that a run answering every dialog by
    // itself (the screenshot run) never waits here for a person.
    if (runModal(dialog) != QDialog::Accepted) {
        return std::nullopt;
    }
    const QStringList chosen = dialog.selectedFiles();
    if (chosen.isEmpty() || chosen.front().isEmpty()) {
        return std::nullopt;
    }
    // File names are UTF-8 inside the program on every system (QFile::encodeName
    // would give the ANSI code page under Windows).
    return chosen.front().toStdString();
}

ScopedFilePathAnswer::ScopedFilePathAnswer(FilePathAnswer answer)
    : m_previous(std::exchange(installedAnswer(), std::move(answer))) {}

ScopedFilePathAnswer::~ScopedFilePathAnswer() {
    installedAnswer() = std::move(m_previous);
}
