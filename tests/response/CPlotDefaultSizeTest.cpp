// filtaro-cli plot and the drawing benchmark use DefaultPlotWidth x
// DefaultPlotHeight as "the plot in the main window at its start-up size";
// this keeps that constant honest against the running program.

#include <gtest/gtest.h>

#include <QApplication>

#include "response/CResponsePlot.h"
#include "response/PlotGeometry.h"
#include "support/ProgramRun.h"

namespace {

TEST(CPlotDefaultSize, IsThePlotOfTheStartedMainWindow) {
    ProgramRun run;
    ASSERT_EQ(run.start(), CSonaroApp::Startup::Running);
    QApplication::processEvents();
    const CResponsePlot* plot = run.view().plot();
    ASSERT_NE(plot, nullptr);
    EXPECT_EQ(plot->backBufferSize(), QSize(DefaultPlotWidth, DefaultPlotHeight));
}

}  // namespace
