#include <gtest/gtest.h>

#include <filesystem>

#include "device/DevicePort.h"
#include "device/SerialPort.h"
#include "storage/ParameterFile.h"
#include "support/ProgramRun.h"

namespace {

namespace fs = std::filesystem;

TEST(ProgramEnd, SavesToTheRecordedDirectoryUnderTheCurrentFileName) {
    ProgramRun run;
    ScratchDir elsewhere;
    ASSERT_EQ(run.start(), CSonaroApp::Startup::Running);
    run.image().setWorkingDirectory(elsewhere.path().string());
    run.session().fileName = "Anlage.dat";
    run.image().setActivePreset(2);
    run.image().setTabMarker(1);
    run.image().setField(3, 4, ChannelField::delayTaps, 2801);
    run.end();

    EXPECT_TRUE(run.services.messages.size() == 1u) << "only the start-up's port message";
    ParameterImage saved;
    ASSERT_EQ(loadParameterFile(saved, elsewhere.file("Anlage.dat")), 1);
    EXPECT_EQ(saved.activePreset(), 0);
    EXPECT_EQ(saved.tabMarker(), 0);
    EXPECT_EQ(saved.field(3, 4, ChannelField::delayTaps), 2801);
    EXPECT_EQ(saved.workingDirectory(), elsewhere.path().string());
}

TEST(ProgramEnd, AFailedSaveIsReportedInsteadOfLosingTheDataSilently) {
    ProgramRun run;
    ASSERT_EQ(run.start(), CSonaroApp::Startup::Running);
    // A directory recorded on another machine.
    run.image().setWorkingDirectory("C:\\Programme\\Filtaro");
    const std::size_t before = run.services.messages.size();
    run.end();
    ASSERT_EQ(run.services.messages.size(), before + 1);
    EXPECT_EQ(run.services.messages.back().text, "Datei konnte nicht gespeichert werden.");
    EXPECT_EQ(run.services.messages.back().title, "Fehler");
}

TEST(ProgramEnd, AnEmptyRecordedDirectorySavesIntoTheCurrentDirectory) {
    ProgramRun run;
    ASSERT_EQ(run.start(), CSonaroApp::Startup::Running);
    run.image().setWorkingDirectory("");
    run.session().fileName = "Leer.dat";
    run.end();
    EXPECT_EQ(fs::file_size("Leer.dat"), ParameterFileSize);
}

// The program's own serial port on a pty: it holds the line exclusively.
TEST(ProgramEnd, ThePortIsClosedOnceTheApplicationObjectIsGone) {
    ProgramRun run;
    run.attachPtyDevice();
    ASSERT_EQ(run.start(), CSonaroApp::Startup::Running);
    ASSERT_TRUE(run.session().port.isOpen());

    SerialPort other;
    EXPECT_EQ(other.open(devicePathForPort("COM1"), 9600), -1) << "held by the program";
    run.end();
    EXPECT_EQ(other.open(devicePathForPort("COM1"), 9600), 0) << "released at the end";
}

}  // namespace
