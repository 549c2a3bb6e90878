// The main view's file commands: New, Open and Save of the whole
// ParameterImage (with its side file of channel names and measurements), and
// loading a backup. New, Open and loading a backup are undo steps; the
// settings they replace are kept as a backup as well.

#include <QImage>
#include <filesystem>
#include <memory>

#include "forms/ModalRunner.h"
#include "model/ParameterImage.h"
#include "platform/UserServices.h"
#include "platform/Utf8Path.h"
#include "plot/PlotRenderer.h"
#include "plotmodel/PlotView.h"
#include "response/ChannelResponse.h"
#include "storage/Backups.h"
#include "storage/ParameterFile.h"
#include "ui/BackupDialog.h"
#include "view/CSonaroView.h"
#include "view/FileDialogs.h"
#include "view/FileFailureTexts.h"
#include "view/FileNameOfPath.h"

namespace {

QString nameOf(const std::string& path) {
    return QString::fromStdString(fileNameOfPath(path));
}

// The backup chooser's preview: preset 1 as the plot draws it.
QImage settingsPreview(const ParameterImage& settings, QSize size, qreal dpr) {
    ParameterImage shown = settings;
    shown.setActivePreset(0);
    const auto responses = std::make_unique<ChannelResponses>();
    computeResponses(shown, *responses);
    PlotRenderer renderer;
    renderer.init(size, dpr);
    renderer.drawView(PlotSettings::fromImage(shown), plotContent(shown, {}, *responses, nullptr));
    return renderer.backBuffer();
}

}  // namespace

void CSonaroView::onFileNew(int) {
    ParameterImage* image = this->image();
    if (!image) {
        return;
    }
    ChangeScope change(*this);
    m_backups.keepImage(*image, BackupOccasion::BeforeNew);
    newRoutine(NewVariant::User);
    m_session.side = {};
    showChannelNames();
    followMeasurements();
    // "Filtaro.dat" in the start-up directory, which has the defaults now, is
    // the current file again: the save at program end must not write the
    // defaults over the file opened or saved before.
    m_session.fileName = defaultFilePath();
    image->setRedrawPending(1);
    change.record(QStringLiteral("Neu"));
}

std::optional<std::string> CSonaroView::askFile(FileDialogKind kind) {
    return askFilePath(kind, fileDialogFolder(m_session.fileName, m_session.startupDirectory),
                       window());
}

void CSonaroView::openSettingsFile(const std::string& path, bool backup) {
    ParameterImage* image = this->image();
    if (!image) {
        return;
    }
    ChangeScope change(*this);
    const ParameterImage before = *image;
    // A file that is missing, unreadable or not exactly one image long is
    // refused whole; the image, the title and the file name stay as they were.
    if (loadParameterFile(*image, path) != 1) {
        userServices().messageBox(FileOpenFailedText, ErrorTitle, MessageIcon::None);
        return;
    }
    // The file's header comes along as stored (plot range, working
    // directory, channel count, shown curves); which preset and tab were
    // selected when it was saved does not.
    image->setTabMarker(0);
    image->setActivePreset(0);
    setPresetStates(0);
    switchToFirstChannel();
    writeControls();
    refreshPanels();
    image->setRedrawPending(1);
    m_backups.keepImage(before, BackupOccasion::BeforeOpen);
    // A backup's settings replace those on screen, but the current file
    // stays: the save at program end never writes into the backups.
    if (!backup) {
        setFileName(path);
        loadSideFileOf(path);
    }
    change.record(
        (backup ? QStringLiteral("Laden der Sicherung ") : QStringLiteral("Öffnen von ")) +
        nameOf(path));
}

void CSonaroView::onFileOpen(int) {
    if (!image()) {
        return;
    }
    if (const std::optional<std::string> path = askFile(FileDialogKind::Open)) {
        openSettingsFile(*path, false);
    }
}

void CSonaroView::onLoadBackup(int) {
    if (!image()) {
        return;
    }
    BackupDialog dialog(BackupStore().list(), *image(), settingsPreview, window());
    if (runModal(dialog) == QDialog::Accepted && !dialog.chosenPath().empty()) {
        openSettingsFile(dialog.chosenPath(), true);
    }
}

void CSonaroView::onFileSave(int) {
    ParameterImage* image = this->image();
    if (!image) {
        return;
    }
    if (const std::optional<std::string> path = askFile(FileDialogKind::Save)) {
        m_backups.keepFile(*path, BackupOccasion::BeforeSave, *image);
        // The name and the title change only once the file really holds the
        // image: a title naming a file that was never written would be a lie,
        // and the save at program end would go to that name. The previous
        // file of that name is never destroyed by a failed save.
        if (saveParameterFile(*image, *path) == 0) {
            setFileName(*path);
            // The names and measurements go with the file; a failure to
            // write them is reported and leaves the settings saved.
            saveSideFileOf(*path);
        } else {
            userServices().messageBox(FileSaveFailedText, ErrorTitle, MessageIcon::Stop);
        }
    }
    image->setRedrawPending(1);
}

void CSonaroView::setFileName(const std::string& path) {
    std::error_code error;
    const std::filesystem::path full = std::filesystem::absolute(pathFromUtf8(path), error);
    m_session.fileName = error ? path : utf8FromPath(full.lexically_normal());
    emit titleChanged(QString::fromUtf8(TitleFilePrefix) + nameOf(path));
}
