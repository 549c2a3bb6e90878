// A side file the user may not read: reported, never written over, set
// aside whole once there is something to keep.

#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>

#include "storage/SideFile.h"
#include "support/ChildProcess.h"
#include "support/ScratchDir.h"

namespace {

namespace fs = std::filesystem;

TEST(SideFile, OneTheUserMayNotReadIsReportedAndSetAsideWhole) {
    const std::optional<OrdinaryUser> user = ordinaryUser();
    if (!user)
        GTEST_SKIP() << "needs an ordinary user: running as root without a way to become one";
    ScratchDir dir;
    fs::permissions(dir.path(), fs::perms::others_exec, fs::perm_options::add);
    const std::string folder = dir.file("presets");
    fs::create_directory(folder);
    ASSERT_EQ(chown(folder.c_str(), user->uid, user->gid), 0);
    const std::string dat = folder + "/Boxen.dat";
    const std::string side = sideFilePath(dat);
    writeFileBytes(side, R"({"channels": [{"name": "Bass"}]})");
    ASSERT_EQ(chown(side.c_str(), user->uid, user->gid), 0);
    fs::permissions(side, fs::perms::owner_write);

    const int status = runAsUser(*user, [&] {
        const SideFileLoad load = loadSideFile(dat);
        if (load.state != SideFileState::Broken ||
            load.message !=
                "Die Zusatzdatei \"Boxen.filtaro.json\" kann nicht gelesen werden "
                "(keine Leserechte); Kanalnamen und Messungen fehlen.") {
            return 2;
        }
        if (!saveSideFile(dat, load.data) || fs::exists(side + ".defekt")) return 3;
        SideFile named = load.data;
        named.channelNames[0] = "Tief";
        return saveSideFile(dat, named) && loadSideFile(dat).data.channelNames[0] == "Tief" ? 0 : 4;
    });
    EXPECT_EQ(status, 0);
    EXPECT_EQ(readFileBytes(side + ".defekt"), R"({"channels": [{"name": "Bass"}]})");
}

}  // namespace
