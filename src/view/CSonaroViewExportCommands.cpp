// The main view's export of what the plot shows: the picture as PNG or SVG
// at the plot's size, the curves as CSV in the view's unit. Every file goes
// through the program's save routine: made in memory, then written whole.

#include <string>

#include "model/ParameterImage.h"
#include "platform/ReplaceFile.h"
#include "platform/UserServices.h"
#include "plot/CResponsePlot.h"
#include "plot/PlotExport.h"
#include "plot/PngFile.h"
#include "plotmodel/PlotView.h"
#include "view/CSonaroView.h"
#include "view/CommandIds.h"
#include "view/FileDialogs.h"
#include "view/FileFailureTexts.h"

namespace {

FileDialogKind dialogOfCommand(int id) {
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

void CSonaroView::onExportPlot(int id) {
    if (!image()) {
        return;
    }
    const std::optional<std::string> path = askFile(dialogOfCommand(id));
    if (!path) {
        return;
    }
    // An edit the timer has not drawn yet is drawn first, so that the file
    // holds what the plot shows from now on.
    redrawStep();
    bool saved = false;
    switch (id) {
        case CmdExportPlotSvg:
            saved = saveSvgFile(m_pPlot->renderer(), *path);
            break;
        case CmdExportCurvesCsv: {
            const std::string csv = plotCurvesCsv(
                m_plotView, *m_pResponses, complexResponsesInUse(), m_session.side.channelNames);
            saved = replaceFileContents(*path, csv.data(), csv.size());
            break;
        }
        default:
            saved = savePngFile(m_pPlot->backBuffer(), *path);
            break;
    }
    if (!saved) {
        userServices().messageBox(FileSaveFailedText, ErrorTitle, MessageIcon::Stop);
    }
}
