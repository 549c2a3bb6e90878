#pragma once
// The undo history of the settings, on Qt's undo framework. Every change of
// the settings is one step that keeps the state before and after it whole
// (the image is small). Steps are recorded after the change has happened;
// undoing or redoing one replays it on the state in force (replayStep) and
// hands the result to the owner, the main view, which shows it.
//
// Edits in the panels need no call of their own: commitEdits() compares the
// settings with the last step and names what changed (describeEdit), and
// successive edits of the same field merge into one step. Commands that
// change the settings in one go record their step themselves.

#include <QObject>
#include <QString>
#include <QUndoStack>
#include <functional>
#include <string>

#include "model/ParameterImage.h"
#include "storage/SideFile.h"

// What an undo step puts back: the settings with what the side file keeps of
// them (channel names, ...), and the file they belong to with the title that
// goes with it (undoing an Open must not leave the old settings headed for
// the opened file).
struct SettingsState {
    ParameterImage image;
    std::string fileName;  // full path
    QString title;
    SideFile side;
};

class SettingsHistory : public QObject {
    Q_OBJECT

public:
    using Current = std::function<SettingsState()>;
    using Show = std::function<void(const SettingsState&)>;
    // `current` tells the state in force, `show` puts a state on screen.
    SettingsHistory(Current current, Show show, QObject* parent = nullptr);

    // Steps kept; the oldest go first.
    static constexpr int StepsKept = 500;

    // Forgets every step; the state in force is where the history starts.
    void reset();

    // One step for the edits since the last step, if the settings changed
    // (merged with the step before when both changed the same one field).
    bool commitEdits();
    // One step named `name` from `before` to the state in force, if anything
    // changed.
    bool record(const SettingsState& before, const QString& name);

    void undo();
    void redo();

    const QUndoStack& stack() const { return m_stack; }

signals:
    // The step that undo or redo would take (or whether there is one) changed.
    void changed();

private:
    friend class SettingsStep;
    void push(SettingsState before, const QString& name, int mergeKey);
    // Plays a step on the state in force and shows the result.
    void replay(const SettingsState& from, const SettingsState& to);

    Current m_current;
    Show m_show;
    QUndoStack m_stack;
    // The settings as of the last step, undo or redo.
    ParameterImage m_base;
};
