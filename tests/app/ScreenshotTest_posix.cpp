#include <gtest/gtest.h>
#include <sys/resource.h>

#include <csignal>

#include "app/Screenshot.h"
#include "support/ProgramRun.h"
#include "support/ScratchDir.h"

namespace {

// The picture goes through the save routine: a write that fails half-way
// (here a file-size limit below the picture's size) leaves the old file
// whole instead of a truncated picture.
TEST(Screenshot, AFailedWriteKeepsTheOldFile) {
    ProgramRun run;
    ASSERT_EQ(run.start(), CSonaroApp::Startup::Running);
    const std::string path = run.dir.file("fenster.png");
    const std::string old(100, 'o');
    writeFileBytes(path, old);
    rlimit saved{};
    ASSERT_EQ(getrlimit(RLIMIT_FSIZE, &saved), 0);
    rlimit low = saved;
    low.rlim_cur = 2048;
    const auto previous = std::signal(SIGXFSZ, SIG_IGN);
    ASSERT_EQ(setrlimit(RLIMIT_FSIZE, &low), 0);
    QString error;
    const int status = writeScreenshot(*run.app, QString::fromStdString(path), error);
    setrlimit(RLIMIT_FSIZE, &saved);
    std::signal(SIGXFSZ, previous);
    EXPECT_EQ(status, 1);
    EXPECT_EQ(readFileBytes(path), old);
}

}  // namespace
