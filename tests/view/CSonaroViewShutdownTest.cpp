#include <gtest/gtest.h>

#include <filesystem>

#include "device/DevicePort.h"
#include "device/SerialPort.h"
#include "storage/ParameterFile.h"
#include "storage/SideFile.h"
#include "support/ProgramRun.h"
#include "support/ScratchDir.h"

namespace {

namespace fs = std::filesystem;

// The directory a file brought along (another run's, perhaps on another
// machine) does not decide where the save goes: the current file does.
TEST(ProgramEnd, SavesToTheCurrentFileWhateverDirectoryTheImageRecords) {
    ScratchDir elsewhere;
    for (const std::string& recorded :
         {std::string("C:\\Programme\\Filtaro"), std::string(), elsewhere.path().string()}) {
        SCOPED_TRACE(recorded);
        ProgramRun run;
        ASSERT_EQ(run.start(), CSonaroApp::Startup::Running);
        run.image().setWorkingDirectory(recorded);
        run.document().setCurrentFile(elsewhere.file("Anlage.dat"));
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
        EXPECT_EQ(saved.workingDirectory(), recorded) << "the field travels as it is";
    }
}

TEST(ProgramEnd, AFailedSaveIsReportedInsteadOfLosingTheDataSilently) {
    ProgramRun run;
    ASSERT_EQ(run.start(), CSonaroApp::Startup::Running);
    // The folder of the current file has gone meanwhile.
    run.document().setCurrentFile(run.dir.file("entfernt/Anlage.dat"));
    const std::size_t before = run.services.messages.size();
    run.end();
    ASSERT_EQ(run.services.messages.size(), before + 1);
    EXPECT_EQ(run.services.messages.back().text, "Datei konnte nicht gespeichert werden.");
    EXPECT_EQ(run.services.messages.back().title, "Fehler");
}

// A side file the start-up could not read is never rewritten empty at the
// end, and set aside whole before the names of this run are written; none
// of them stops the program.
TEST(ProgramEnd, ASideFileThatCouldNotBeReadIsNeverDestroyed) {
    const std::string texts[] = {
        "{\"notizen\": \"" + std::string(1 << 20, 'n') + "\"}",
        "{\"a\": 1e400}",
        "{\"a\": " + std::string(65000, '[') + std::string(65000, ']') + "}",
    };
    for (const std::string& text : texts) {
        for (const bool named : {false, true}) {
            SCOPED_TRACE(text.substr(0, 12) + (named ? ", named" : ""));
            ProgramRun run;
            writeFileBytes("Filtaro.filtaro.json", text);
            ASSERT_EQ(run.start(), CSonaroApp::Startup::Running);
            ASSERT_EQ(run.services.messages.size(), 2u);  // the port's, then the side file's
            EXPECT_EQ(
                run.services.messages[1].text.rfind("Die Zusatzdatei \"Filtaro.filtaro.json\"", 0),
                0u);
            if (named) run.document().nameChannel(0, "Bass");
            run.end();
            if (named) {
                EXPECT_EQ(readFileBytes("Filtaro.filtaro.json.defekt"), text);
                EXPECT_EQ(loadSideFile("Filtaro.dat").data.channelNames[0], "Bass");
            } else {
                EXPECT_EQ(readFileBytes("Filtaro.filtaro.json"), text);
                EXPECT_FALSE(fs::exists("Filtaro.filtaro.json.defekt"));
            }
        }
    }
}

// The program's own serial port on a pty: it holds the line exclusively.
TEST(ProgramEnd, ThePortIsClosedOnceTheApplicationObjectIsGone) {
    ProgramRun run;
    run.attachPtyDevice();
    ASSERT_EQ(run.start(), CSonaroApp::Startup::Running);
    ASSERT_TRUE(run.document().port().isOpen());

    SerialPort other;
    EXPECT_EQ(other.open(devicePathForPort("COM1"), 9600), -1) << "held by the program";
    run.end();
    EXPECT_EQ(other.open(devicePathForPort("COM1"), 9600), 0) << "released at the end";
}

}  // namespace
