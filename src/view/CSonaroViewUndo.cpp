// The main view's undo history: the state an undo step keeps and how it is
// shown again, the steps of the panels' edits and of whole commands, and the
// commands "Rückgängig" and "Wiederholen".

#include <QAction>
#include <QVariant>

#include "model/ParameterImage.h"
#include "view/CSonaroView.h"

namespace {

// The menu item as the menu table gives it ("&Rückgängig\tStrg+Z"); kept on
// the action when it is first named.
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

SettingsState CSonaroView::currentState() const {
    return {*m_session.image, m_session.fileName, window()->windowTitle(), m_session.side};
}

void CSonaroView::showState(const SettingsState& state) {
    ParameterImage* image = this->image();
    if (!image) {
        return;
    }
    *image = state.image;
    image->setRedrawPending(1);
    setPresetStates(image->activePreset());
    writeControls();
    refreshPanels();
    m_session.fileName = state.fileName;
    if (m_session.side != state.side) {
        m_session.side = state.side;
        showChannelNames();
        followMeasurements();
    }
    if (state.title != window()->windowTitle()) {
        emit titleChanged(state.title);
    }
}

void CSonaroView::commitEdits() {
    if (m_nChangeScopes == 0 && image()) {
        m_pHistory->commitEdits();
    }
}

void CSonaroView::applyChange(const QString& name, const ParameterImage& image) {
    if (!this->image()) {
        return;
    }
    ChangeScope change(*this);
    SettingsState state = currentState();
    state.image = image;
    showState(state);
    change.record(name);
}

CSonaroView::ChangeScope::ChangeScope(CSonaroView& view) : m_view(view) {
    m_view.commitEdits();
    m_before = m_view.currentState();
    ++m_view.m_nChangeScopes;
}

CSonaroView::ChangeScope::~ChangeScope() {
    --m_view.m_nChangeScopes;
}

bool CSonaroView::ChangeScope::record(const QString& name) {
    const bool recorded = m_view.m_pHistory->record(m_before, name);
    m_before = m_view.currentState();
    return recorded;
}

void CSonaroView::onEditUndo(int) {
    if (image()) {
        m_pHistory->undo();
    }
}

void CSonaroView::onEditRedo(int) {
    if (image()) {
        m_pHistory->redo();
    }
}

void CSonaroView::onUpdateEditUndo(int, QAction& action) {
    const QUndoStack& stack = m_pHistory->stack();
    nameStep(action, image() && stack.canUndo(), stack.undoText());
}

void CSonaroView::onUpdateEditRedo(int, QAction& action) {
    const QUndoStack& stack = m_pHistory->stack();
    nameStep(action, image() && stack.canRedo(), stack.redoText());
}
