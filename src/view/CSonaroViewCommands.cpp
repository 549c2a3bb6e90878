// The main view's editing commands: the preset buttons, the channel toggles,
// the two copy dialogs and the plot's frequency range. Each copy and each new
// range is an undo step; choosing the preset or the curves shown is a view,
// not a change of the settings.

#include <QAction>
#include <QVariant>

#include "forms/ModalRunner.h"
#include "model/ParameterImage.h"
#include "ui/CCopyChannelDlg.h"
#include "ui/CCopyPresetDlg.h"
#include "ui/CGraphOptionsDlg.h"
#include "view/CSonaroView.h"
#include "view/CommandIds.h"

namespace {

// The pressed state a channel toggle was last given by its rule. A click on
// a checkable action flips it before the command runs; where the rule says
// "leave as it was" the button goes back to this.
constexpr const char* RuleStateProperty = "filtaroRuleState";

}  // namespace

void CSonaroView::onPreset(int id) {
    ParameterImage* image = this->image();
    const int preset = id - CmdPreset1;
    if (!image || !ParameterImage::isPreset(preset)) {
        return;
    }
    // Only chooses which of the four stored presets the panels, the plot and
    // the headroom check use; nothing is copied.
    image->setActivePreset(preset);
    setPresetStates(preset);
    writeControls();
    refreshPanels();
    image->setRedrawPending(1);
}

void CSonaroView::onShowChannel(int id) {
    ParameterImage* image = this->image();
    const int channel = channelOfShowCommand(id);
    if (!image || channel < 0) {
        return;
    }
    // A file may bring any byte here; like the plot, the toggle takes
    // anything but 0 for shown.
    image->setChannelShown(channel, image->channelShown(channel) == 0 ? 1 : 0);
    image->setRedrawPending(1);
}

void CSonaroView::onUpdateShowChannel(int id, QAction& action) {
    const ParameterImage* image = this->image();
    const int channel = channelOfShowCommand(id);
    if (!image || channel < 0) {
        return;
    }
    action.setCheckable(true);
    // Channels 4 to 6 follow their curve only on a six-channel device.
    if (channel < 3 || image->sixChannels() == 1) {
        const bool pressed = image->channelShown(channel) != 0;  // as the plot sees it
        action.setChecked(pressed);
        action.setProperty(RuleStateProperty, pressed);
    } else {
        const QVariant kept = action.property(RuleStateProperty);
        action.setChecked(kept.isValid() && kept.toBool());
    }
}

// A copy is on screen at once, as an undo is: a panel still showing the
// values from before would write only the field the user edits next into a
// channel that holds something else.
void CSonaroView::showCopy() {
    refreshPanels();
    image()->setRedrawPending(1);
}

void CSonaroView::onCopyChannel(int) {
    if (!image()) {
        return;
    }
    // The dialog copies on each "Kopieren" and stays open.
    ChangeScope change(*this);
    CCopyChannelDlg dialog(image(), window());
    connect(&dialog, &CopyDialogBase::copied, this, [this, &change](int source, int target) {
        showCopy();
        change.record(
            QStringLiteral("Kanal %1 nach Kanal %2 kopieren").arg(source + 1).arg(target + 1));
    });
    runModal(dialog);
}

void CSonaroView::onCopyPreset(int) {
    if (!image()) {
        return;
    }
    ChangeScope change(*this);
    CCopyPresetDlg dialog(image(), window());
    connect(&dialog, &CopyDialogBase::copied, this, [this, &change](int source, int target) {
        showCopy();
        change.record(
            QStringLiteral("Preset %1 nach Preset %2 kopieren").arg(source + 1).arg(target + 1));
    });
    runModal(dialog);
}

void CSonaroView::onGraphOptions(int) {
    ParameterImage* image = this->image();
    if (!image) {
        return;
    }
    ChangeScope change(*this);
    CGraphOptionsDlg dlg(image, window());
    dlg.m_nStart = image->plotStartHz();
    dlg.m_nEnd = image->plotEndHz();
    if (runModal(dlg) == QDialog::Accepted) {
        image->setPlotStartHz(dlg.m_nStart);
        image->setPlotEndHz(dlg.m_nEnd);
        image->setRedrawPending(1);
        change.record(QStringLiteral("Grafikoptionen"));
    }
}
