// The current file, with real files in scratch directories: the save at
// program end goes to the file the user opened or saved, whatever directory
// that file recorded, and after New to "Filtaro.dat" again.

#include <filesystem>

#include "storage/ParameterFile.h"
#include "view/CommandIds.h"
#include "view/ViewCommandFixture.h"

namespace {

namespace fs = std::filesystem;

class CurrentFile : public ViewCommandTest {
protected:
    ScratchDir folder;    // where the user keeps the file
    ScratchDir recorded;  // the directory the file recorded, another run's
    std::string path = folder.file("Anlage.dat");

    void SetUp() override {
        ParameterImage stored;
        applyDefaults(stored);
        stored.setWorkingDirectory(recorded.path().string());
        stored.setField(0, 1, ChannelField::level, -4);
        ASSERT_EQ(saveParameterFile(stored, path), 0);
    }
};

TEST_F(CurrentFile, TheSaveAtProgramEndGoesToTheOpenedFileNotToTheDirectoryItRecords) {
    start();
    filePaths.push_back(path);
    ASSERT_TRUE(command(CmdFileOpen));
    pick(panel(1), IdLevel, QStringLiteral("2"));
    run.end();

    EXPECT_TRUE(ui.messages.empty());
    EXPECT_TRUE(fs::is_empty(recorded.path()));
    ParameterImage saved;
    ASSERT_EQ(loadParameterFile(saved, path), 1);
    EXPECT_EQ(saved.field(0, 1, ChannelField::level), 2);
    EXPECT_EQ(saved.workingDirectory(), recorded.path().string()) << "the field is kept";
}

TEST_F(CurrentFile, NewAfterOpenLeavesTheOpenedFileAlone) {
    const std::string before = readFileBytes(path);
    start();
    filePaths.push_back(path);
    ASSERT_TRUE(command(CmdFileOpen));
    ASSERT_TRUE(command(CmdFileNew));
    pick(panel(0), IdLevel, QStringLiteral("-1"));
    run.end();

    EXPECT_EQ(readFileBytes(path), before);
    ParameterImage saved;
    ASSERT_EQ(loadParameterFile(saved, run.dir.file("Filtaro.dat")), 1);
    EXPECT_EQ(saved.field(0, 0, ChannelField::level), -1);
    EXPECT_EQ(saved.field(0, 1, ChannelField::level), 0);
}

}  // namespace
