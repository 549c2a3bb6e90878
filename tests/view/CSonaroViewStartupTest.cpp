#include <gtest/gtest.h>

#include <QApplication>
#include <QGroupBox>
#include <QLineEdit>
#include <QSignalSpy>
#include <filesystem>

#include "device/WireImage.h"
#include "plot/CResponsePlot.h"
#include "plotmodel/PlotGeometry.h"
#include "storage/Backups.h"
#include "storage/ParameterFile.h"
#include "support/ProgramRun.h"
#include "ui/CChannelPanel.h"
#include "ui/CChannelTabCtrl.h"
#include "ui/CShadeButton.h"
#include "view/ViewLayout.h"

namespace {

namespace fs = std::filesystem;

ParameterImage defaults() {
    ParameterImage image;
    applyDefaults(image);
    return image;
}

// Presets a factory-fresh device would not hold, so that their arrival shows.
ParameterImage devicePresets() {
    ParameterImage image = defaults();
    image.setField(0, 0, ChannelField::hpFrequency, 100);
    image.setField(0, 0, ChannelField::level, 3);
    image.setField(0, 5, ChannelField::lpFrequency, 19500);
    image.setField(2, 1, eqLevelField(3), -7);
    return image;
}

QString hpFrequencyShown(CSonaroView& view, int channel) {
    CChannelPanel* panel = view.channelTabs()->m_apPanels[static_cast<std::size_t>(channel)];
    auto* edit = qobject_cast<QLineEdit*>(panel->control(IdHpFrequency));
    return edit ? edit->text() : QString();
}

// Over the program's own serial port and a pseudo-terminal: the real line.
TEST(Startup, WithTheDeviceTheWelcomeBoxIsEmptyAndThePanelsShowTheDevicesPresets) {
    ProgramRun run;
    const ParameterImage presets = devicePresets();
    run.attachPtyDevice(&presets);
    ASSERT_EQ(run.start(), CSonaroApp::Startup::Running);

    EXPECT_TRUE(run.services.messages.empty());
    ASSERT_EQ(run.dialogs.size(), 1u);
    EXPECT_EQ(run.dialogs[0].className, "CWelcomeDlg");
    EXPECT_EQ(run.dialogs[0].message, "");
    // The welcome box stands on its own: the main window is not shown yet.
    EXPECT_FALSE(run.dialogs[0].mainVisible);

    ParameterImage& image = run.image();
    EXPECT_EQ(image.field(0, 0, ChannelField::hpFrequency), 100);
    EXPECT_EQ(image.field(0, 0, ChannelField::level), 3);
    EXPECT_EQ(image.field(2, 1, eqLevelField(3)), -7);
    EXPECT_EQ(image.sixChannels(), 1);
    EXPECT_EQ(image.activePreset(), 0);
    EXPECT_EQ(hpFrequencyShown(run.view(), 0), "100");
    EXPECT_EQ(hpFrequencyShown(run.view(), 1), "20");
    EXPECT_TRUE(run.document().port().isOpen());
    // The settling wait after the port opened went through the services.
    EXPECT_EQ(run.services.sleeps, (std::vector<unsigned>{500}));
}

TEST(Startup, WithoutADeviceTheErrorComesFirstThenTheWelcomeBoxAsksForHardware) {
    ProgramRun run;  // no device: COM1 does not exist
    ASSERT_EQ(run.start(), CSonaroApp::Startup::Running);

    ASSERT_EQ(run.services.messages.size(), 1u);
    EXPECT_EQ(run.services.messages[0].text, "Schnittstelle antwortet nicht!");
    EXPECT_EQ(run.services.messages[0].title, "Übertragungsfehler");
    EXPECT_EQ(run.services.messages[0].icon, MessageIcon::Stop);
    ASSERT_EQ(run.dialogs.size(), 1u);
    EXPECT_EQ(run.dialogs[0].boxesBefore, 1u) << "the error precedes the welcome box";
    EXPECT_EQ(run.dialogs[0].message, "Bitte erst Hardware anschließen und Programm neu starten.");
    EXPECT_TRUE(run.services.sleeps.empty()) << "no settling wait for a port that did not open";

    // The panels show the defaults, which the image still holds.
    EXPECT_EQ(hpFrequencyShown(run.view(), 0), "20");
    ParameterImage expected = defaults();
    expected.setWorkingDirectory(run.image().workingDirectory());
    expected.setRedrawPending(run.image().redrawPending());
    EXPECT_EQ(run.image(), expected);
    EXPECT_TRUE(run.frame().isVisible());
}

// A second window, say, while the first holds the port: the message says
// what is the matter.
TEST(Startup, APortAnotherProgramHoldsIsNamedAsInUse) {
    ProgramRun run;
    run.line.holdPort(1);
    ASSERT_EQ(run.start(), CSonaroApp::Startup::Running);
    ASSERT_EQ(run.services.messages.size(), 1u);
    EXPECT_EQ(run.services.messages[0].text,
              "Die Schnittstelle COM1 wird schon von einem anderen Programm benutzt, vielleicht "
              "von einem zweiten Filtaro-Fenster. Sobald sie frei ist, unter Kommunikation > "
              "Schnittstelle... neu wählen oder Filtaro neu starten.");
    EXPECT_EQ(run.services.messages[0].title, "Übertragungsfehler");
    EXPECT_EQ(run.services.messages[0].icon, MessageIcon::Stop);
}

TEST(Startup, TitleIsNewFileDuringStartupAndTheProgramsNameAfterwards) {
    ProgramRun run;
    ASSERT_EQ(run.start(), CSonaroApp::Startup::Running);
    ASSERT_EQ(run.dialogs.size(), 1u);
    EXPECT_EQ(run.dialogs[0].mainTitle, "Filtaro - Neue Datei");
    EXPECT_EQ(run.frame().windowTitle(), "Klarwelle Filtaro");
    EXPECT_EQ(run.frame().pos(), QPoint(100, 0));
    EXPECT_EQ(run.frame().size(), QSize(1200, 700));
    // filtaro-cli plot and the drawing benchmark take DefaultPlotWidth x
    // DefaultPlotHeight for the plot of the main window at this size.
    QApplication::processEvents();
    EXPECT_EQ(run.view().plot()->backBufferSize(), QSize(DefaultPlotWidth, DefaultPlotHeight));
}

TEST(Startup, FiltaroDatIsKeptAsABackupThenOverwrittenWithTheDefaults) {
    ProgramRun run;
    ParameterImage previous = devicePresets();
    previous.setActivePreset(2);
    previous.setPlotStartHz(100);
    previous.setChannelShown(3, 0);
    ASSERT_EQ(saveParameterFile(previous, "Filtaro.dat"), 0);

    ASSERT_EQ(run.start(), CSonaroApp::Startup::Running);
    ParameterImage onDisk;
    ASSERT_EQ(loadParameterFile(onDisk, "Filtaro.dat"), 1);
    EXPECT_EQ(onDisk, defaults()) << "the defaults are saved before the directory is recorded";
    EXPECT_EQ(run.image().plotStartHz(), 20);
    EXPECT_EQ(run.image().channelShown(3), 1);
    EXPECT_EQ(fs::path(run.image().workingDirectory()), fs::current_path());
    EXPECT_EQ(fs::path(run.document().fileName()), fs::current_path() / "Filtaro.dat");

    // The work of the last run is not lost: the previous file is a backup.
    const std::vector<std::string> backups = BackupStore(run.backupDir()).list();
    ASSERT_EQ(backups.size(), 1u);
    EXPECT_TRUE(backups[0].ends_with("_Programmstart.dat"));
    ParameterImage kept;
    ASSERT_EQ(loadParameterFile(kept, backups[0]), 1);
    EXPECT_EQ(kept, previous);

    // A Filtaro.dat with nothing but the defaults is not worth a backup.
    run.end();
    ProgramRun second;
    ASSERT_EQ(saveParameterFile(defaults(), "Filtaro.dat"), 0);
    ASSERT_EQ(second.start(), CSonaroApp::Startup::Running);
    EXPECT_FALSE(fs::exists(second.backupDir()));
}

TEST(Startup, AFiltaroDatThatCannotBeWrittenEndsTheProgramWithoutSavingAnything) {
    ProgramRun run;
    fs::create_directory("Filtaro.dat");  // neither writable nor readable as a file
    EXPECT_EQ(run.start(), CSonaroApp::Startup::Ended);
    ASSERT_EQ(run.services.messages.size(), 1u);
    EXPECT_EQ(run.services.messages[0].text,
              "Datei Filtaro.dat konnte nicht geöffnet werden!\nProgramm wird beendet.");
    EXPECT_EQ(run.services.messages[0].title, "Fehler");
    EXPECT_TRUE(run.dialogs.empty()) << "no welcome box";
    EXPECT_EQ(run.app->mainFrame(), nullptr) << "no window";
    run.end();
    EXPECT_EQ(run.services.messages.size(), 1u) << "no save at the end";
}

TEST(Startup, ARunningProgramRedrawsOnceAfterAResize) {
    ProgramRun run;
    ASSERT_EQ(run.start(), CSonaroApp::Startup::Running);
    CSonaroView& view = run.view();
    // Let the start-up's pending redraws happen.
    while (view.redrawStep()) {
    }
    ASSERT_EQ(run.image().redrawPending(), 0);

    view.resize(900, 520);
    EXPECT_EQ(run.image().redrawPending(), 1);
    const QSize plotSize = view.plot()->size();
    EXPECT_EQ(view.plot()->backBufferSize(), plotSize) << "the back buffer follows the plot";
    EXPECT_EQ(view.plot()->geometry().right() + 1 + 2 * 5, view.channelTabs()->x());

    const int before = view.redrawCount();
    EXPECT_TRUE(view.redrawStep());
    EXPECT_FALSE(view.redrawStep()) << "nothing changed since: no second drawing";
    EXPECT_EQ(view.redrawCount(), before + 1);
    EXPECT_EQ(run.image().redrawPending(), 0);
}

TEST(Startup, ASmallWindowStopsWhereTheControlsWouldCoverEachOther) {
    ProgramRun run;
    ASSERT_EQ(run.start(), CSonaroApp::Startup::Running);
    CSonaroView& view = run.view();
    run.frame().resize(640, 420);
    QCoreApplication::processEvents();
    EXPECT_GT(run.frame().width(), 640);
    EXPECT_GT(run.frame().height(), 420);
    EXPECT_GE(view.width(), view.plot()->x() + ViewMinimumPlotWidth);

    const QRect inside = view.rect();
    const QRect preset = view.findChild<QGroupBox*>()->geometry();
    for (const CShadeButton* button : {view.sendButton(), view.receiveButton()}) {
        EXPECT_TRUE(inside.contains(button->geometry()));
        EXPECT_FALSE(button->geometry().intersects(view.channelTabs()->geometry()));
        EXPECT_FALSE(button->geometry().intersects(preset));
        EXPECT_FALSE(button->geometry().intersects(view.plot()->geometry()));
    }
    EXPECT_TRUE(inside.contains(preset)) << "the preset group stays in sight";
    EXPECT_FALSE(view.plot()->geometry().intersects(view.channelTabs()->geometry()));

    run.frame().resize(1200, 700);  // back to the start-up size: as before
    QCoreApplication::processEvents();
    EXPECT_EQ(view.plot()->size(), QSize(DefaultPlotWidth, DefaultPlotHeight));
}

TEST(Startup, TheTimerRedrawsWhenAChangeIsPending) {
    ProgramRun run;
    ASSERT_EQ(run.start(), CSonaroApp::Startup::Running);
    CSonaroView& view = run.view();
    QSignalSpy redrawn(&view, &CSonaroView::redrawn);
    run.image().setRedrawPending(1);
    const int before = view.redrawCount();
    ASSERT_TRUE(redrawn.wait());  // the tick comes every 10 ms
    EXPECT_EQ(run.image().redrawPending(), 0);
    EXPECT_GT(view.redrawCount(), before);
}

}  // namespace
