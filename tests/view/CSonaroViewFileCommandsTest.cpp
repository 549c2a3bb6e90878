// New, Open and Save of the main view, on the whole program without a device.

#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <filesystem>

#include "storage/ParameterFile.h"
#include "view/CommandIds.h"
#include "view/ViewCommandFixture.h"

namespace {

namespace fs = std::filesystem;

constexpr const char* OpenFailed =
    "Datei konnte nicht ge\xC3\xB6"
    "ffnet werden.";
constexpr const char* SaveFailed = "Datei konnte nicht gespeichert werden.";

QString editText(CChannelPanel& panel, int id) {
    return dynamic_cast<QLineEdit*>(panel.control(id))->text();
}

// A parameter file unlike the defaults in every header field the Open
// command must keep or reset.
ParameterImage storedImage(const std::string& workingDirectory) {
    ParameterImage stored;
    applyDefaults(stored);
    stored.setActivePreset(2);
    stored.setTabMarker(1);
    stored.setPlotStartHz(50);
    stored.setPlotEndHz(5000);
    stored.setWorkingDirectory(workingDirectory);
    stored.setSixChannels(0);
    stored.setChannelShown(4, 0);
    for (int p = 0; p < PresetCount; ++p) {
        stored.setField(p, 0, ChannelField::hpFrequency, 100 + p);  // tells the presets apart
    }
    stored.setField(0, 3, ChannelField::reserved, 77);
    stored.setRedrawPending(0);
    return stored;
}

class FileCommands : public ViewCommandTest {};

TEST_F(FileCommands, NewResetsImageViewAndFiltaroDatAndMakesItTheCurrentFile) {
    start();
    // Leave the program in a state far from New: another preset, another
    // channel tab, a stored file name, edits everywhere.
    ASSERT_TRUE(command(CmdPreset1 + 2));
    clickTab(tabs(), 3);
    ASSERT_EQ(shownPanel(tabs()), 3);
    image().setField(2, 3, ChannelField::delayTaps, 99);
    image().setField(0, 0, eqLevelField(1), 5);
    image().setField(1, 2, ChannelField::reserved, 1234);
    image().setPlotEndHz(8000);
    image().setChannelShown(1, 0);
    image().setWorkingDirectory(run.dir.path().string());
    document().setCurrentFile(run.dir.file("Bass.dat"));

    ASSERT_TRUE(command(CmdFileNew));

    ParameterImage expected;
    applyDefaults(expected);
    expected.setField(1, 2, ChannelField::reserved, 1234);  // kept
    expected.setWorkingDirectory(run.dir.path().string());  // kept
    expected.setRedrawPending(1);
    EXPECT_TRUE(sameImage(image(), expected));
    EXPECT_EQ(fs::path(document().fileName()), fs::current_path() / "Filtaro.dat");
    EXPECT_EQ(title(), "Filtaro - Neue Datei");
    EXPECT_EQ(checkedPresetButton(), 0);
    EXPECT_EQ(view().presetStates(), (std::array<int, 4>{0, 1, 1, 1}));
    EXPECT_EQ(tabs().curSel(), 0);
    EXPECT_EQ(tabs().m_nCurrent, 0);
    EXPECT_EQ(shownPanel(tabs()), 0);
    EXPECT_EQ(editText(panel(3), IdDelay), "0");
    EXPECT_EQ(dynamic_cast<QLabel*>(panel(0).control(IdDelayText))->text(), "");

    // "Filtaro.dat" got the defaults at once (the redraw flag aside, which
    // is of no meaning in a file).
    ParameterImage onDisk;
    ASSERT_EQ(loadParameterFile(onDisk, "Filtaro.dat"), 1);
    expected.setRedrawPending(onDisk.redrawPending());
    EXPECT_TRUE(sameImage(onDisk, expected));
    EXPECT_TRUE(ui.messages.empty());

    // The save at program end goes to "Filtaro.dat", not over the file the
    // program worked on before New.
    run.end();
    EXPECT_FALSE(fs::exists(run.dir.file("Bass.dat")));
    ParameterImage atEnd;
    ASSERT_EQ(loadParameterFile(atEnd, run.dir.file("Filtaro.dat")), 1);
    EXPECT_EQ(atEnd.field(0, 0, eqLevelField(1)), 0);
    EXPECT_EQ(atEnd.field(1, 2, ChannelField::reserved), 1234);
}

TEST_F(FileCommands, OpenShowsPresetOneOfTheFileAndKeepsItsHeader) {
    start();
    ScratchDir elsewhere;
    const std::string path = elsewhere.file("Wohnzimmer.dat");
    ASSERT_EQ(saveParameterFile(storedImage(elsewhere.path().string()), path), 0);
    ASSERT_TRUE(command(CmdPreset1 + 2));  // preset 3 selected
    clickTab(tabs(), 4);
    image().setRedrawPending(0);

    filePaths.push_back(path);
    ASSERT_TRUE(command(CmdFileOpen));

    EXPECT_EQ(fileDialogsShown, std::vector<FileDialogKind>{FileDialogKind::Open});
    EXPECT_TRUE(ui.messages.empty());
    EXPECT_EQ(image().activePreset(), 0);
    EXPECT_EQ(image().tabMarker(), 0);
    EXPECT_EQ(image().redrawPending(), 1);
    EXPECT_EQ(checkedPresetButton(), 0);
    EXPECT_EQ(shownPanel(tabs()), 0);
    EXPECT_EQ(tabs().curSel(), 0);
    EXPECT_EQ(editText(panel(0), IdHpFrequency), "100");  // preset 1 of the file
    // The rest of the header as stored.
    EXPECT_EQ(image().plotStartHz(), 50);
    EXPECT_EQ(image().plotEndHz(), 5000);
    EXPECT_EQ(image().workingDirectory(), elsewhere.path().string());
    EXPECT_EQ(image().sixChannels(), 0);
    EXPECT_EQ(image().channelShown(4), 0);
    EXPECT_EQ(image().field(0, 3, ChannelField::reserved), 77);
    EXPECT_EQ(document().fileName(), path);
    EXPECT_EQ(title(), "Klarwelle Filtaro - Wohnzimmer.dat");

    // The program-end save goes to the opened file.
    ASSERT_TRUE(command(CmdPreset1 + 1));
    run.end();
    ParameterImage atEnd;
    ASSERT_EQ(loadParameterFile(atEnd, path), 1);
    EXPECT_EQ(atEnd.activePreset(), 0);
    EXPECT_EQ(atEnd.field(1, 0, ChannelField::hpFrequency), 101);
}

TEST_F(FileCommands, OpenRefusesBadFilesAndChangesNothing) {
    start();
    document().setCurrentFile("Alt.dat");
    run.frame().setWindowTitle("Klarwelle Filtaro - Alt.dat");
    image().setField(0, 1, ChannelField::level, 3);
    panel(1).refreshFromImage();
    image().setRedrawPending(0);
    const ParameterImage before = image();

    const std::string tooShort = run.dir.file("kurz.dat");
    writeFileBytes(tooShort, std::string(ParameterFileSize - 1, '\x01'));
    const std::string tooLong = run.dir.file("lang.dat");
    writeFileBytes(tooLong, std::string(ParameterFileSize + 1, '\x01'));
    for (const std::string& path :
         {tooShort, tooLong, run.dir.file("fehlt.dat"), run.dir.path().string()}) {
        SCOPED_TRACE(path);
        ui.messages.clear();
        filePaths.push_back(path);
        ASSERT_TRUE(command(CmdFileOpen));
        ASSERT_EQ(ui.messages.size(), 1u);
        EXPECT_EQ(ui.messages[0].text, OpenFailed);
        EXPECT_EQ(ui.messages[0].title, "Fehler");
        EXPECT_TRUE(sameImage(image(), before));
        EXPECT_EQ(document().fileName(), "Alt.dat");
        EXPECT_EQ(title(), "Klarwelle Filtaro - Alt.dat");
    }
    EXPECT_EQ(dynamic_cast<QComboBox*>(panel(1).control(IdLevel))->currentText(), "3");

    // Cancel: no box, not even a redraw.
    ui.messages.clear();
    filePaths.push_back(std::nullopt);
    ASSERT_TRUE(command(CmdFileOpen));
    EXPECT_TRUE(ui.messages.empty());
    EXPECT_TRUE(sameImage(image(), before));
    EXPECT_EQ(image().redrawPending(), 0);
}

TEST_F(FileCommands, SaveWritesTheImageAndNamesTheWindow) {
    start();
    image().setField(3, 5, eqLevelField(5), -7);
    image().setRedrawPending(0);
    const std::string path = run.dir.file("Kino.dat");

    filePaths.push_back(path);
    ASSERT_TRUE(command(CmdFileSave));
    EXPECT_EQ(fileDialogsShown, std::vector<FileDialogKind>{FileDialogKind::Save});
    EXPECT_TRUE(ui.messages.empty());
    EXPECT_EQ(document().fileName(), path);
    EXPECT_EQ(title(), "Klarwelle Filtaro - Kino.dat");
    EXPECT_EQ(image().redrawPending(), 1);
    ParameterImage onDisk;
    ASSERT_EQ(loadParameterFile(onDisk, path), 1);
    EXPECT_EQ(onDisk.field(3, 5, eqLevelField(5)), -7);

    // A path without any "." names the file "None" in the title.
    filePaths.push_back(run.dir.file("Kino2"));
    ASSERT_TRUE(command(CmdFileSave));
    EXPECT_EQ(document().fileName(), run.dir.file("Kino2"));
    EXPECT_EQ(title(), "Klarwelle Filtaro - None");
    EXPECT_TRUE(std::filesystem::exists(run.dir.file("Kino2")));

    // Cancel still asks for a redraw, and changes nothing else.
    image().setRedrawPending(0);
    filePaths.push_back(std::nullopt);
    ASSERT_TRUE(command(CmdFileSave));
    EXPECT_EQ(image().redrawPending(), 1);
    EXPECT_EQ(document().fileName(), run.dir.file("Kino2"));
    EXPECT_TRUE(ui.messages.empty());
}

TEST_F(FileCommands, SaveThatCannotWriteSaysSoAndKeepsNameAndTitle) {
    start();
    document().setCurrentFile("Alt.dat");
    run.frame().setWindowTitle("Klarwelle Filtaro - Alt.dat");
    writeFileBytes(run.dir.file("keinVerzeichnis"), "x");
    image().setRedrawPending(0);

    filePaths.push_back(run.dir.file("keinVerzeichnis") + "/Neu.dat");
    ASSERT_TRUE(command(CmdFileSave));
    ASSERT_EQ(ui.messages.size(), 1u);
    EXPECT_EQ(ui.messages[0].text, SaveFailed);
    EXPECT_EQ(ui.messages[0].title, "Fehler");
    EXPECT_EQ(document().fileName(), "Alt.dat");
    EXPECT_EQ(title(), "Klarwelle Filtaro - Alt.dat");
    EXPECT_EQ(image().redrawPending(), 1);
}

}  // namespace
