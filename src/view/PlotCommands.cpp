// The commands for what the plot shows: the magnitude, phase or group-delay
// view (kept in FILTARO.INI), and the sums L and R.

#include <QAction>
#include <string>

#include "storage/PlotOptions.h"
#include "view/CSonaroView.h"
#include "view/CommandIds.h"
#include "view/Commands.h"

namespace {

ResponseQuantity quantityOfCommand(int id) {
    switch (id) {
        case CmdViewPhase:
            return ResponseQuantity::Phase;
        case CmdViewGroupDelay:
            return ResponseQuantity::GroupDelay;
        default:
            return ResponseQuantity::Magnitude;
    }
}

}  // namespace

void onPlotView(CSonaroView& view, int id) {
    PlotViewChoice choice = view.plotView();
    choice.quantity = quantityOfCommand(id);
    view.setPlotView(choice);
    // The choice stays for the next run; a file that cannot be written only
    // costs that.
    setPlotViewName(std::string(quantityName(choice.quantity)));
}

void rulePlotView(CSonaroView& view, int id, QAction& action) {
    action.setCheckable(true);
    action.setChecked(view.plotView().quantity == quantityOfCommand(id));
}

void onShowSums(CSonaroView& view) {
    PlotViewChoice choice = view.plotView();
    choice.sums = !choice.sums;
    view.setPlotView(choice);
}

void ruleShowSums(CSonaroView& view, QAction& action) {
    action.setCheckable(true);
    action.setChecked(view.plotView().sums);
}
