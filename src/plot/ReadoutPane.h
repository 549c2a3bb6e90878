#pragma once
// The status-bar pane of the plot's cursor readout: the frequency, then each
// drawn curve's value behind a swatch of its colour (the box on the plot
// names them). Empty while the cursor is hidden. It takes the width the bar
// gives it and never widens the window: where the values with their units do
// not fit, the unit stands once after the frequency ("7431 Hz [dB]") and the
// values follow as bare numbers; entries that still do not fit are left off
// at the end.

#include <QColor>
#include <QStaticText>
#include <QWidget>
#include <vector>

#include "plot/StaticTextCache.h"

class CResponsePlot;

class ReadoutPane : public QWidget {
    Q_OBJECT

public:
    ReadoutPane(const CResponsePlot& plot, QWidget* parent = nullptr);

    QSize sizeHint() const override;
    QSize minimumSizeHint() const override;
    // How many curve entries the last paint showed (for tests).
    int entriesShown() const { return m_entriesShown; }

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    struct Entry {
        int x;  // of the swatch
        QStaticText value;
        QColor colour;
    };
    struct Line {
        QStaticText frequency;
        std::vector<Entry> entries;
        int width = 0;
    };

    const CResponsePlot& m_plot;
    int m_entriesShown = 0;
    StaticTextCache m_texts;
    StaticTextCache m_boldTexts;
};
