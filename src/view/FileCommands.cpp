// The file commands: New, Open and Save of the whole ParameterImage (with its
// side file of channel names and measurements), loading a backup, and the
// export of what the plot shows. New, Open and loading a backup are undo
// steps of the document; the settings they replace are kept as a backup.

#include <QImage>
#include <QLabel>
#include <memory>
#include <string>

#include "document/FileFailureTexts.h"
#include "forms/ModalRunner.h"
#include "platform/ReplaceFile.h"
#include "platform/UserServices.h"
#include "plot/CResponsePlot.h"
#include "plot/PlotExport.h"
#include "plot/PlotRenderer.h"
#include "plot/PngFile.h"
#include "plotmodel/PlotView.h"
#include "res/ResourceIds.h"
#include "response/ChannelResponse.h"
#include "storage/Backups.h"
#include "ui/BackupDialog.h"
#include "ui/CChannelPanel.h"
#include "ui/CChannelTabCtrl.h"
#include "view/CSonaroView.h"
#include "view/CommandIds.h"
#include "view/Commands.h"

namespace {

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

// After New, panel 1's delay text is empty until it is edited.
void clearDelayText(CSonaroView& view) {
    if (CChannelPanel* first = view.channelTabs()->m_apPanels[0]) {
        if (auto* delayText = qobject_cast<QLabel*>(first->control(IdDelayText))) {
            delayText->clear();
        }
    }
}

FileDialogKind exportDialogOf(int id) {
    switch (id) {
        case CmdExportPlotSvg:
            return FileDialogKind::ExportSvg;
        case CmdExportCurvesCsv:
            return FileDialogKind::ExportCsv;
        default:
            return FileDialogKind::ExportPng;
    }
}

}  // namespace

void onFileNew(CSonaroView& view) {
    view.document().newFile();
    clearDelayText(view);
    view.switchToFirstChannel();
}

void onFileOpen(CSonaroView& view) {
    if (const std::optional<std::string> path = askFile(view, FileDialogKind::Open)) {
        if (view.document().open(*path)) view.switchToFirstChannel();
    }
}

void onLoadBackup(CSonaroView& view) {
    BackupDialog dialog(BackupStore().list(), view.image(), settingsPreview, view.window());
    if (runModal(dialog) == QDialog::Accepted && !dialog.chosenPath().empty()) {
        if (view.document().loadBackup(dialog.chosenPath())) view.switchToFirstChannel();
    }
}

void onFileSave(CSonaroView& view) {
    if (const std::optional<std::string> path = askFile(view, FileDialogKind::Save)) {
        view.document().saveAs(*path);
    }
    view.document().redraw();
}

void onExportPlot(CSonaroView& view, int id) {
    const std::optional<std::string> path = askFile(view, exportDialogOf(id));
    if (!path) {
        return;
    }
    // An edit the timer has not drawn yet is drawn first, so that the file
    // holds what the plot shows from now on.
    view.redrawStep();
    bool saved = false;
    switch (id) {
        case CmdExportPlotSvg:
            saved = saveSvgFile(view.plot()->renderer(), *path);
            break;
        case CmdExportCurvesCsv: {
            const std::string csv =
                plotCurvesCsv(view.plotView(), view.responses(), view.complexResponsesInUse(),
                              view.sideFile().channelNames, &view.measuredSums());
            saved = replaceFileContents(*path, csv.data(), csv.size());
            break;
        }
        default:
            saved = savePngFile(view.plot()->backBuffer(), *path);
            break;
    }
    if (!saved) {
        userServices().messageBox(FileSaveFailedText, ErrorTitle, MessageIcon::Stop);
    }
}
