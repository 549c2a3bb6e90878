#pragma once
// The status-bar pane of the plot's cursor readout: the frequency, then each
// drawn curve's value behind a swatch of its colour (the box on the plot
// names them). Empty while the cursor is hidden. It takes the width the bar
// gives it and never widens the window: entries that do not fit are left off
// at the end.

#include <QWidget>

#include "plot/StaticTextCache.h"

class CResponsePlot;

class CReadoutPane : public QWidget {
    Q_OBJECT

public:
    CReadoutPane(const CResponsePlot& plot, QWidget* parent = nullptr);

    QSize sizeHint() const override;
    QSize minimumSizeHint() const override;
    // How many curve entries the last paint showed (for tests).
    int entriesShown() const { return m_entriesShown; }

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    const CResponsePlot& m_plot;
    int m_entriesShown = 0;
    StaticTextCache m_texts;
    StaticTextCache m_boldTexts;
};
