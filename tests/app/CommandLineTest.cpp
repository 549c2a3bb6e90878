#include <gtest/gtest.h>

#include "app/CommandLine.h"

namespace {

TEST(CommandLine, NoArgumentsRunsScreenshotTakesAFileAnythingElseIsRefused) {
    EXPECT_EQ(parseCommandLine({}).action, CommandLine::Action::Run);

    const CommandLine shot = parseCommandLine({"--screenshot", "/tmp/a b.png"});
    EXPECT_EQ(shot.action, CommandLine::Action::Screenshot);
    EXPECT_EQ(shot.screenshotFile, "/tmp/a b.png");

    EXPECT_EQ(parseCommandLine({"--help"}).action, CommandLine::Action::Help);
    EXPECT_EQ(parseCommandLine({"--version"}).action, CommandLine::Action::Version);
    EXPECT_EQ(parseCommandLine({"--screenshot", "x.png", "-h"}).action, CommandLine::Action::Help);

    for (const QStringList& bad :
         {QStringList{"--screenshot"}, QStringList{"--screenshot", ""}, QStringList{"datei.dat"},
          QStringList{"--screenshot", "a.png", "--screenshot", "b.png"}}) {
        const CommandLine r = parseCommandLine(bad);
        EXPECT_EQ(r.action, CommandLine::Action::Error) << bad.join(' ').toStdString();
        EXPECT_FALSE(r.error.isEmpty());
    }
}

}  // namespace
