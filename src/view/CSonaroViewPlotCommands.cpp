// The main view's commands for what the plot shows: the magnitude, phase or
// group-delay view (kept in FILTARO.INI), and the sums L and R.

#include <QAction>

#include "model/ParameterImage.h"
#include "storage/PlotOptions.h"
#include "view/CSonaroView.h"
#include "view/CommandIds.h"

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

void CSonaroView::onPlotView(int id) {
    ParameterImage* image = this->image();
    if (!image) {
        return;
    }
    m_plotView.quantity = quantityOfCommand(id);
    // The choice stays for the next run; a file that cannot be written only
    // costs that.
    setPlotViewName(std::string(quantityName(m_plotView.quantity)));
    image->setRedrawPending(1);
}

void CSonaroView::onUpdatePlotView(int id, QAction& action) {
    action.setCheckable(true);
    action.setChecked(m_plotView.quantity == quantityOfCommand(id));
}

void CSonaroView::onShowSums(int) {
    ParameterImage* image = this->image();
    if (!image) {
        return;
    }
    m_plotView.sums = !m_plotView.sums;
    image->setRedrawPending(1);
}

void CSonaroView::onUpdateShowSums(int, QAction& action) {
    action.setCheckable(true);
    action.setChecked(m_plotView.sums);
}
