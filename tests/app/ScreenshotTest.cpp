#include <gtest/gtest.h>

#include <QImage>

#include "app/Screenshot.h"
#include "plot/CResponsePlot.h"
#include "support/ProgramRun.h"

namespace {

TEST(Screenshot, WritesTheMainWindowAfterTheFirstRedraw) {
    ProgramRun run;
    ASSERT_EQ(run.start(), CSonaroApp::Startup::Running);
    const int before = run.view().redrawCount();
    QString error;
    const QString file = QString::fromStdString(run.dir.file("fenster.png"));
    ASSERT_EQ(writeScreenshot(*run.app, file, error), 0) << error.toStdString();
    EXPECT_GT(run.view().redrawCount(), before);
    EXPECT_EQ(run.image().redrawPending(), 0);
    const QImage shot(file);
    ASSERT_FALSE(shot.isNull());
    ASSERT_EQ(shot.size(), run.frame().size());
    // The plot's area is its last whole frame.
    CResponsePlot& plot = *run.view().plot();
    const QRect area(plot.mapTo(&run.frame(), QPoint(0, 0)), plot.backBufferSize());
    EXPECT_EQ(shot.copy(area).convertToFormat(QImage::Format_RGB32),
              plot.backBuffer().convertToFormat(QImage::Format_RGB32));
}

TEST(Screenshot, AnUnwritableFileIsReportedNotIgnored) {
    ProgramRun run;
    ASSERT_EQ(run.start(), CSonaroApp::Startup::Running);
    QString error;
    const QString file = QString::fromStdString(run.dir.file("fehlt/fenster.png"));
    EXPECT_EQ(writeScreenshot(*run.app, file, error), 1);
    EXPECT_TRUE(error.contains(QStringLiteral("fenster.png"))) << error.toStdString();
}

}  // namespace
