// The editing commands: the preset buttons, the channel toggles, the two
// copy dialogs, the plot's frequency range, and "Rückgängig" and
// "Wiederholen". Each copy and each new range is an undo step of the
// document; choosing the preset or the curves shown is a view, not a change
// of the settings.

#include <QAction>
#include <QVariant>

#include "forms/ModalRunner.h"
#include "ui/CCopyChannelDlg.h"
#include "ui/CCopyPresetDlg.h"
#include "ui/CGraphOptionsDlg.h"
#include "view/CSonaroView.h"
#include "view/CommandIds.h"
#include "view/Commands.h"

namespace {

// The pressed state a channel toggle was last given by its rule. A click on
// a checkable action flips it before the command runs; where the rule says
// "leave as it was" the button goes back to this.
constexpr const char* RuleStateProperty = "filtaroRuleState";

// The menu item as the command table gives it ("&Rückgängig\tStrg+Z"); kept
// on the action when it is first named.
constexpr const char* MenuTextProperty = "filtaroMenuText";

// The items name the step they would take: "&Rückgängig: EQ3 Pegel Kanal
// 2\tStrg+Z", and so do their toolbar buttons' tips.
void nameStep(QAction& action, bool possible, const QString& step) {
    if (!action.property(MenuTextProperty).isValid()) {
        action.setProperty(MenuTextProperty, action.text());
    }
    const QString menuText = action.property(MenuTextProperty).toString();
    const QString verb = menuText.section(QLatin1Char('\t'), 0, 0);
    const QString shortcut = menuText.section(QLatin1Char('\t'), 1);
    const QString plainVerb = QString(verb).remove(QLatin1Char('&'));
    const bool named = possible && !step.isEmpty();
    const QString menuStep = QString(step).replace(QLatin1Char('&'), QStringLiteral("&&"));
    action.setEnabled(possible);
    action.setText((named ? verb + QStringLiteral(": ") + menuStep : verb) +
                   (shortcut.isEmpty() ? QString() : QLatin1Char('\t') + shortcut));
    action.setToolTip(named ? plainVerb + QStringLiteral(": ") + step : plainVerb);
}

}  // namespace

void onPreset(CSonaroView& view, int id) {
    const int preset = id - CmdPreset1;
    if (!ParameterImage::isPreset(preset)) {
        return;
    }
    // Only chooses which of the four stored presets the panels, the plot and
    // the headroom check use; nothing is copied.
    view.image().setActivePreset(preset);
    view.setPresetStates(preset);
    view.writeControls();
    view.refreshPanels();
    view.document().redraw();
}

void onShowChannel(CSonaroView& view, int id) {
    const int channel = channelOfShowCommand(id);
    if (channel < 0) {
        return;
    }
    // A file may bring any byte here; like the plot, the toggle takes
    // anything but 0 for shown.
    ParameterImage& image = view.image();
    image.setChannelShown(channel, image.channelShown(channel) == 0 ? 1 : 0);
    view.document().redraw();
}

void ruleShowChannel(CSonaroView& view, int id, QAction& action) {
    const ParameterImage& image = view.image();
    const int channel = channelOfShowCommand(id);
    if (channel < 0) {
        return;
    }
    action.setCheckable(true);
    // Channels 4 to 6 follow their curve only on a six-channel device.
    if (channel < 3 || image.sixChannels() == 1) {
        const bool pressed = image.channelShown(channel) != 0;  // as the plot sees it
        action.setChecked(pressed);
        action.setProperty(RuleStateProperty, pressed);
    } else {
        const QVariant kept = action.property(RuleStateProperty);
        action.setChecked(kept.isValid() && kept.toBool());
    }
}

// The dialogs copy on each "Kopieren" and stay open; each copy is a step.
void onCopyChannel(CSonaroView& view) {
    CCopyChannelDlg dialog(
        [&view](int source, int target) { view.document().copyChannel(source, target); },
        view.window());
    runModal(dialog);
}

void onCopyPreset(CSonaroView& view) {
    CCopyPresetDlg dialog(
        [&view](int source, int target) { view.document().copyPreset(source, target); },
        view.window());
    runModal(dialog);
}

void onGraphOptions(CSonaroView& view) {
    ParameterImage& image = view.image();
    CGraphOptionsDlg dlg(&image, view.window());
    dlg.m_nStart = image.plotStartHz();
    dlg.m_nEnd = image.plotEndHz();
    if (runModal(dlg) == QDialog::Accepted) {
        view.document().setPlotRange(dlg.m_nStart, dlg.m_nEnd);
    }
}

void onEditUndo(CSonaroView& view) {
    view.document().undo();
}

void onEditRedo(CSonaroView& view) {
    view.document().redo();
}

void ruleEditUndo(CSonaroView& view, QAction& action) {
    const DocumentHistory& history = view.document().history();
    nameStep(action, history.canUndo(), QString::fromStdString(history.undoName()));
}

void ruleEditRedo(CSonaroView& view, QAction& action) {
    const DocumentHistory& history = view.document().history();
    nameStep(action, history.canRedo(), QString::fromStdString(history.redoName()));
}
