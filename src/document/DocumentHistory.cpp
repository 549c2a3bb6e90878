#include "document/DocumentHistory.h"

#include <utility>

#include "model/SettingsEdit.h"

void DocumentHistory::clear() {
    m_steps.clear();
    m_index = 0;
}

void DocumentHistory::push(Step step) {
    m_steps.erase(m_steps.begin() + static_cast<std::ptrdiff_t>(m_index), m_steps.end());
    if (m_index > 0 && step.mergeKey != 0 && m_steps.back().mergeKey == step.mergeKey) {
        Step& last = m_steps.back();
        last.after = std::move(step.after);
        // Back where it started: no step.
        if (sameSettings(last.before.image, last.after.image)) {
            m_steps.pop_back();
            --m_index;
        }
        return;
    }
    m_steps.push_back(std::move(step));
    ++m_index;
    while (m_steps.size() > StepsKept) {
        m_steps.pop_front();
        --m_index;
    }
}

std::string DocumentHistory::undoName() const {
    return canUndo() ? m_steps[m_index - 1].name : std::string();
}

std::string DocumentHistory::redoName() const {
    return canRedo() ? m_steps[m_index].name : std::string();
}

const DocumentHistory::Step* DocumentHistory::undo() {
    if (!canUndo()) return nullptr;
    return &m_steps[--m_index];
}

const DocumentHistory::Step* DocumentHistory::redo() {
    if (!canRedo()) return nullptr;
    return &m_steps[m_index++];
}
