#include "view/SettingsHistory.h"

#include <QUndoCommand>
#include <utility>

#include "model/SettingsEdit.h"

namespace {

// Like replayStep for the image: what the step changed takes its value in
// `to`, the rest stays as it is now.
SideFile replaySide(SideFile current, const SideFile& from, const SideFile& to) {
    for (int c = 0; c < ChannelCount; ++c) {
        if (from.channelNames[c] != to.channelNames[c]) {
            current.channelNames[c] = to.channelNames[c];
        }
        if (from.measurements[c] != to.measurements[c]) {
            current.measurements[c] = to.measurements[c];
        }
    }
    if (from.overlay != to.overlay) current.overlay = to.overlay;
    if (from.original != to.original) current.original = to.original;
    return current;
}

}  // namespace

class SettingsStep final : public QUndoCommand {
public:
    SettingsStep(SettingsHistory& history, SettingsState before, SettingsState after,
                 const QString& name, int mergeKey)
        : QUndoCommand(name),
          m_history(history),
          m_before(std::move(before)),
          m_after(std::move(after)),
          m_mergeKey(mergeKey) {}

    // Steps with the same key change the same one field.
    int id() const override { return m_mergeKey != 0 ? m_mergeKey : -1; }

    bool mergeWith(const QUndoCommand* other) override {
        m_after = static_cast<const SettingsStep*>(other)->m_after;
        // Back where it started: the stack drops the step.
        setObsolete(sameSettings(m_before.image, m_after.image));
        return true;
    }

    void undo() override { m_history.replay(m_after, m_before); }

    void redo() override {
        // The stack redoes a step as it is pushed; the change has happened.
        if (std::exchange(m_bPushing, false)) return;
        m_history.replay(m_before, m_after);
    }

private:
    SettingsHistory& m_history;
    SettingsState m_before;
    SettingsState m_after;
    int m_mergeKey;
    bool m_bPushing = true;
};

SettingsHistory::SettingsHistory(Current current, Show show, QObject* parent)
    : QObject(parent), m_current(std::move(current)), m_show(std::move(show)) {
    m_stack.setUndoLimit(StepsKept);
    connect(&m_stack, &QUndoStack::indexChanged, this, &SettingsHistory::changed);
}

void SettingsHistory::reset() {
    m_stack.clear();
    m_base = m_current().image;
    emit changed();
}

bool SettingsHistory::commitEdits() {
    const SettingsState now = m_current();
    if (sameSettings(m_base, now.image)) return false;
    // The state before the edits: their settings as of the last step, the
    // rest (preset shown, curves, file) as now, so that undoing them puts
    // back only what they changed.
    SettingsState before = now;
    before.image = withSettingsOf(now.image, m_base);
    const SettingsEdit edit = describeEdit(before.image, now.image);
    push(std::move(before), QString::fromStdString(edit.name), edit.fieldKey);
    return true;
}

bool SettingsHistory::record(const SettingsState& before, const QString& name) {
    const SettingsState now = m_current();
    // Which preset and tab are shown and the redraw flag are no change.
    ParameterImage shown = now.image;
    shown.setActivePreset(before.image.activePreset());
    shown.setTabMarker(before.image.tabMarker());
    shown.setRedrawPending(before.image.redrawPending());
    // The title follows the file.
    if (shown == before.image && before.fileName == now.fileName && before.side == now.side) {
        return false;
    }
    push(before, name, 0);
    return true;
}

void SettingsHistory::push(SettingsState before, const QString& name, int mergeKey) {
    SettingsState after = m_current();
    m_base = after.image;
    m_stack.push(new SettingsStep(*this, std::move(before), std::move(after), name, mergeKey));
}

void SettingsHistory::undo() {
    commitEdits();
    m_stack.undo();
}

void SettingsHistory::redo() {
    commitEdits();
    m_stack.redo();
}

void SettingsHistory::replay(const SettingsState& from, const SettingsState& to) {
    SettingsState state = m_current();
    state.image = replayStep(state.image, from.image, to.image);
    if (from.fileName != to.fileName) state.fileName = to.fileName;
    if (from.title != to.title) state.title = to.title;
    state.side = replaySide(state.side, from.side, to.side);
    m_show(state);
    m_base = m_current().image;
}
