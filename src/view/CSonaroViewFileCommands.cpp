// The main view's file commands: New, Open and Save of the whole
// ParameterImage.

#include "model/ParameterImage.h"
#include "platform/UserServices.h"
#include "storage/ParameterFile.h"
#include "view/CSonaroView.h"
#include "view/FileDialogs.h"
#include "view/FileNameOfPath.h"

namespace {

constexpr const char* OpenFailed = "Datei konnte nicht geöffnet werden.";
constexpr const char* SaveFailed = "Datei konnte nicht gespeichert werden.";
constexpr const char* ErrorTitle = "Fehler";

}  // namespace

void CSonaroView::onFileNew(int) {
    ParameterImage* image = this->image();
    if (!image) {
        return;
    }
    // The file name stays: the save at program end still goes to the file
    // opened or saved last, now with the defaults in it.
    newRoutine(NewVariant::User);
    image->setRedrawPending(1);
}

void CSonaroView::onFileOpen(int) {
    ParameterImage* image = this->image();
    if (!image) {
        return;
    }
    const std::optional<std::string> path = askFilePath(FileDialogKind::Open, window());
    if (!path) {
        return;
    }
    // A file that is missing, unreadable or not exactly one image long is
    // refused whole; the image, the title and the file name stay as they were.
    if (loadParameterFile(*image, *path) != 1) {
        userServices().messageBox(OpenFailed, ErrorTitle, MessageIcon::None);
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
    setFileName(*path);
}

void CSonaroView::onFileSave(int) {
    ParameterImage* image = this->image();
    if (!image) {
        return;
    }
    if (const std::optional<std::string> path = askFilePath(FileDialogKind::Save, window())) {
        // The name and the title change only once the file really holds the
        // image: a title naming a file that was never written would be a lie,
        // and the save at program end would go to that name. The previous
        // file of that name is never destroyed by a failed save.
        if (saveParameterFile(*image, *path) == 0) {
            setFileName(*path);
        } else {
            userServices().messageBox(SaveFailed, ErrorTitle, MessageIcon::Stop);
        }
    }
    image->setRedrawPending(1);
}

void CSonaroView::setFileName(const std::string& path) {
    m_session.fileName = fileNameOfPath(path);
    emit titleChanged(QString::fromUtf8(TitleFilePrefix) +
                      QString::fromStdString(m_session.fileName));
}
