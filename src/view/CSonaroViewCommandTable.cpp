#include "app/CommandIds.h"
#include "view/CSonaroView.h"

// The view's command map: one line per command or id range. Each handler
// lives in a CSonaroView*Commands.cpp file of its own group.
const std::vector<CSonaroView::CommandEntry>& CSonaroView::commandTable() {
    static const std::vector<CommandEntry> table = {
        // {firstId, lastId, &CSonaroView::OnX, &CSonaroView::OnUpdateX or nullptr},
    };
    return table;
}
