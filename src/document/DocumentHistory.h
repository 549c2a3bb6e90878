#pragma once
// The undo history of the document: every change of the settings is one
// step that keeps the state before and after it whole (the image is small).
// Steps are recorded after the change has happened; undoing or redoing one
// hands back the step, which the document plays on the state in force.
//
// A step with a merge key (the panels' edits of one field) merges into the
// step before it when that has the same key: a spin held down is one step,
// and one that comes back to where it started is no step at all.

#include <cstddef>
#include <deque>
#include <string>

#include "model/ParameterImage.h"
#include "storage/SideFile.h"

// What an undo step puts back: the settings with what the side file keeps of
// them (channel names, measurements, overlay options), and the file they
// belong to with the title that goes with it (undoing an Open must not leave
// the old settings headed for the opened file).
struct DocumentState {
    ParameterImage image;
    std::string fileName;  // full path
    std::string title;
    SideFile side;
};

class DocumentHistory {
public:
    // Steps kept; the oldest go first.
    static constexpr std::size_t StepsKept = 500;

    struct Step {
        std::string name;  // "EQ3 Pegel Kanal 2", "Öffnen von a.dat"
        DocumentState before;
        DocumentState after;
        int mergeKey = 0;  // 0: merges with nothing
    };

    void clear();
    // Adds `step` after the current one; the steps that could have been
    // redone go.
    void push(Step step);

    bool canUndo() const { return m_index > 0; }
    bool canRedo() const { return m_index < m_steps.size(); }
    // The name of the step undo or redo would take; "" when there is none.
    std::string undoName() const;
    std::string redoName() const;
    // Moves back (or on) one step and returns it; nullptr when there is none.
    const Step* undo();
    const Step* redo();

    std::size_t size() const { return m_steps.size(); }

private:
    std::deque<Step> m_steps;
    std::size_t m_index = 0;  // steps before it are done
};
