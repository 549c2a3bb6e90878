// The commands for working with other programs: a filter text of REW or
// Equalizer APO imported into the channel shown (one undo step, after the
// user has seen what it does), the filter settings exported for Equalizer
// APO, REW or CamillaDSP, and the channels' names.

#include <QStringList>

#include "document/FileFailureTexts.h"
#include "document/FileNameOfPath.h"
#include "forms/ModalRunner.h"
#include "interchange/FilterImport.h"
#include "interchange/SettingsExport.h"
#include "platform/UserServices.h"
#include "storage/TextFile.h"
#include "tuning/ImportRefit.h"
#include "ui/CChannelTabCtrl.h"
#include "ui/ChannelNameDialog.h"
#include "ui/FilterExportDialog.h"
#include "ui/FilterImportDialog.h"
#include "ui/ImportBlockDialog.h"
#include "view/CSonaroView.h"
#include "view/Commands.h"

namespace {

constexpr const char* ExportTitle = "Filtereinstellungen exportieren";

FileDialogKind saveDialogOf(ExportFormat format) {
    switch (format) {
        case ExportFormat::Rew:
            return FileDialogKind::ExportRew;
        case ExportFormat::CamillaDsp:
            return FileDialogKind::ExportCamillaDsp;
        case ExportFormat::Apo:
            break;
    }
    return FileDialogKind::ExportApo;
}

}  // namespace

void onImportFilters(CSonaroView& view) {
    const ParameterImage& image = view.image();
    const std::optional<std::string> path = askFile(view, FileDialogKind::FilterText);
    if (!path) {
        return;
    }
    const std::optional<std::string> text = readTextFile(*path, FilterTextFileLimit);
    if (!text) {
        userServices().messageBox(FileOpenFailedText, ErrorTitle, MessageIcon::None);
        return;
    }
    const int preset = image.activePreset();
    const int channel = view.channelTabs()->m_nCurrent;
    QString source = QString::fromStdString(baseNameOfPath(*path));
    FilterImport result = importFilterText(*text, image.record(preset, channel), channel);
    if (result.status == FilterImportStatus::ChooseBlock) {
        ImportBlockDialog choose(result.blocks, view.window());
        if (runModal(choose) != QDialog::Accepted) {
            return;
        }
        const std::string block = choose.chosenBlock();
        result = importFilterText(*text, image.record(preset, channel), channel, block);
        source += QStringLiteral(" (Channel: %1)").arg(QString::fromStdString(block));
    }
    if (result.status != FilterImportStatus::Ready) {
        return;  // only a block the text does not have, which the list never offers
    }
    // The bands fitted to the text as a whole, for the user to choose.
    std::optional<ImportRefit> refit;
    if (result.report.setsEq) {
        const WaitCursor wait;
        refit = refitImport(result.report);
    }
    FilterImportDialog review(
        result.report, source,
        channelDisplayName(view, channel) + QStringLiteral(", Preset %1").arg(preset + 1),
        refit ? &*refit : nullptr, view.window());
    if (runModal(review) != QDialog::Accepted || !result.report.changesSomething()) {
        return;
    }
    const ChannelRecord chosen = review.chosenRecord();
    view.document().apply(
        "Filter importieren Kanal " + std::to_string(channel + 1),
        [&](ParameterImage& settings) { settings.setRecord(preset, channel, chosen); });
}

void onExportFilterSettings(CSonaroView& view) {
    const ParameterImage& image = view.image();
    const int preset = image.activePreset();
    const int channel = view.channelTabs()->m_nCurrent;
    FilterExportDialog dialog(preset, channel, view.channelName(channel), view.window());
    if (runModal(dialog) != QDialog::Accepted) {
        return;
    }
    const FilterExportChoice choice = dialog.choice();
    const std::optional<std::string> path = askFile(view, saveDialogOf(choice.format));
    if (!path) {
        return;
    }
    const ExportText text =
        exportSettings(choice.format, image, preset,
                       choice.wholePreset ? std::nullopt : std::optional<int>(channel),
                       view.sideFile().channelNames, choice.sampleRate);
    if (!writeTextFile(*path, text.text)) {
        userServices().messageBox(FileSaveFailedText, ErrorTitle, MessageIcon::Stop);
        return;
    }
    // Always said: how far what the other program plays is from the device.
    std::string message = "Die Datei ist gespeichert.";
    if (!text.warnings.empty()) {
        message += " Nicht alles lässt sich in diesem Format ausdrücken:";
        for (const std::string& warning : text.warnings) message += "\n• " + warning;
        message += "\n";
    }
    const char* program = choice.format == ExportFormat::Rew          ? "REW"
                          : choice.format == ExportFormat::CamillaDsp ? "CamillaDSP"
                                                                      : "Equalizer APO";
    message += std::string("\nWas ") + program +
               " spielt, gegen das Modell des Geräts (20 Hz bis 20 kHz):";
    for (const std::string& line : text.fidelity) message += "\n• " + line;
    userServices().messageBox(message, ExportTitle, MessageIcon::Information);
}

void onNameShownChannel(CSonaroView& view) {
    nameChannel(view, view.channelTabs()->m_nCurrent);
}

void nameChannel(CSonaroView& view, int channel) {
    if (channel < 0 || channel >= ChannelCount) {
        return;
    }
    ChannelNameDialog dialog(channel, view.channelName(channel), view.window());
    if (runModal(dialog) == QDialog::Accepted) {
        view.document().nameChannel(channel, dialog.name().toStdString());
    }
}
