#pragma once
// The file dialogs of the main view's commands. Like every modal path of the
// window they can be answered without a person: a test installs an answer
// that returns the path (or the cancel) at once.
//
// Every dialog starts in the folder it is given, which the view takes from
// the current file (fileDialogFolder): never in the last folder some other
// dialog showed, so that a name typed alone never lands in a hidden folder.

#include <functional>
#include <optional>
#include <string>

class QWidget;

enum class FileDialogKind {
    Open,  // an existing parameter file
    Save,  // a new or existing one; overwriting is confirmed first
    // Exports of the plot, saved like Save: a PNG picture, an SVG drawing,
    // the curves as CSV.
    ExportPng,
    ExportSvg,
    ExportCsv,
    // A measurement to draw with a channel (opened like Open).
    Measurement,
    // A filter text of another program to import (opened like Open).
    FilterText,
    // Exports of the filter settings, saved like Save: Equalizer APO text,
    // REW filter text, a CamillaDSP configuration.
    ExportApo,
    ExportRew,
    ExportCamillaDsp,
};

// The chosen path in the file system's encoding, or nullopt when the user
// cancelled; told the kind of dialog and the folder it starts in.
using FilePathAnswer =
    std::function<std::optional<std::string>(FileDialogKind, const std::string& folder)>;

// The folder the dialogs start in: the current file's, or the start-up
// directory when the current file has none that exists.
std::string fileDialogFolder(const std::string& currentFile, const std::string& startupDirectory);

// Shows the dialog of `kind` in `folder` (for parameter files the filter
// "Filtaro Dateien (*.dat)" and default extension "dat", for the other files
// their own; no initial name, the system's caption), or asks the installed
// answer instead.
std::optional<std::string> askFilePath(FileDialogKind kind, const std::string& folder,
                                       QWidget* parent);

// Installs an answer for the lifetime of the object; the previous one is
// restored afterwards.
class ScopedFilePathAnswer {
public:
    explicit ScopedFilePathAnswer(FilePathAnswer answer);
    ~ScopedFilePathAnswer();
    ScopedFilePathAnswer(const ScopedFilePathAnswer&) = delete;
    ScopedFilePathAnswer& operator=(const ScopedFilePathAnswer&) = delete;

private:
    FilePathAnswer m_previous;
};
