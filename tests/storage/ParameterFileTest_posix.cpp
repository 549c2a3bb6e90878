#include <gtest/gtest.h>
#include <sys/resource.h>

#include <csignal>

#include "storage/ParameterFile.h"
#include "support/ChildProcess.h"
#include "support/ScratchDir.h"

namespace {

// A write that fails part-way, as on a full disk: under a file-size limit,
// in a child that keeps the signal's default action.
TEST(ParameterFile, WriteFailingPartWayKeepsThePreviousFile) {
    ScratchDir dir;
    const std::string previous(ParameterFileSize, '\x5A');
    writeFileBytes(dir.file("old.dat"), previous);

    const int status = runInChild([&] {
        std::signal(SIGXFSZ, SIG_DFL);
        rlimit limit{};
        getrlimit(RLIMIT_FSIZE, &limit);
        limit.rlim_cur = 1000;
        return setrlimit(RLIMIT_FSIZE, &limit) == 0 &&
                       saveParameterFile(ParameterImage(), dir.file("old.dat")) ==
                           ParameterFileSaveFailed
                   ? 0
                   : 1;
    });
    EXPECT_EQ(status, 0);
    EXPECT_EQ(readFileBytes(dir.file("old.dat")), previous);
    EXPECT_EQ(entriesIn(dir.path()), 1u);
}

}  // namespace
