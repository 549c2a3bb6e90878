// Filtaro.dat, which every start-up writes over with the defaults: the work
// of the last run is never lost on the way, and nothing is written through a
// link someone put in its place.

#include <gtest/gtest.h>

#include <filesystem>

#include "model/SettingsEdit.h"
#include "storage/ParameterFile.h"
#include "support/ProgramRun.h"
#include "view/CommandIds.h"

namespace {

namespace fs = std::filesystem;

// The last run's settings in a parameter file: channel 3 of preset 2 at -4 dB.
std::string lastRunsSettings() {
    ParameterImage image;
    applyDefaults(image);
    image.setField(1, 2, ChannelField::level, -4);
    return std::string(image.bytes().begin(), image.bytes().end());
}

// With no backup possible the start-up does not go ahead: Filtaro.dat keeps
// the last run's settings, the user is told, and the save at program end
// asks before it writes over them (nothing of the run to keep: no question).
TEST(StartupFile, WithoutABackupFiltaroDatIsKeptAndTheEndAsksFirst) {
    const struct {
        bool changed;
        Answer answer;
    } cases[] = {{true, Answer::No}, {true, Answer::Yes}, {false, Answer::Yes}};
    for (const auto& c : cases) {
        SCOPED_TRACE(std::string(c.changed ? "changed, " : "unchanged, ") +
                     (c.answer == Answer::Yes ? "Ja" : "Nein"));
        ProgramRun run;
        const std::string previous = lastRunsSettings();
        writeFileBytes("Filtaro.dat", previous);
        writeFileBytes(run.dir.file("data"), "a file where the data folder should be");
        ASSERT_EQ(run.start(), CSonaroApp::Startup::Running);

        ASSERT_EQ(run.services.messages.size(), 2u);
        EXPECT_EQ(run.services.messages[0].title, "Achtung");
        EXPECT_EQ(run.services.messages[0].text,
                  "Die Einstellungen des letzten Laufs in Filtaro.dat ließen sich nicht sichern: "
                  "Sicherung konnte nicht in " +
                      run.backupDir() +
                      " angelegt werden.\nFiltaro.dat bleibt deshalb unverändert, und das "
                      "Programm beginnt mit den Grundeinstellungen, ohne sie dort zu speichern.");
        EXPECT_EQ(run.services.messages[1].text, "Schnittstelle antwortet nicht!");
        EXPECT_TRUE(holdsDefaultSettings(run.image()));
        ASSERT_TRUE(run.frame().onCommand(CmdFileNew));
        EXPECT_EQ(readFileBytes("Filtaro.dat"), previous) << "neither start-up nor New wrote it";

        if (c.changed) run.image().setField(0, 0, ChannelField::level, 5);
        run.services.answers = {c.answer};
        run.end();
        ASSERT_EQ(run.services.questions.size(), c.changed ? 1u : 0u);
        const bool written = c.changed && c.answer == Answer::Yes;
        EXPECT_EQ(readFileBytes("Filtaro.dat") == previous, !written);
        if (!c.changed) continue;
        EXPECT_EQ(run.services.questions[0].title, "Achtung");
        EXPECT_EQ(run.services.questions[0].defaultAnswer, Answer::No);
        EXPECT_EQ(run.services.questions[0].text,
                  "Filtaro.dat blieb in diesem Lauf unverändert: die Einstellungen darin ließen "
                  "sich nicht sichern.\nSollen die Einstellungen dieses Laufs trotzdem dort "
                  "gespeichert werden? Was bisher darin steht, geht dann verloren.");
    }
}

// What is no parameter file is set aside under a name of its own, a link
// as the link: what it names is never written.
TEST(StartupFile, WhatIsNoParameterFileIsSetAsideAndNeverWrittenThrough) {
    const std::string profile = "export PATH=/usr/bin\n";
    const struct {
        const char* what;
        void (*plant)();
        const char* aside;
        const char* text;
    } cases[] = {
        {"a link to a dot file", [] { fs::create_symlink(".profile", "Filtaro.dat"); },
         "Filtaro.dat.defekt",
         "Filtaro.dat ist ein symbolischer Link und wird nicht überschrieben. Es heißt jetzt "
         "Filtaro.dat.defekt; das Programm beginnt mit den Grundeinstellungen."},
        {"a link to no file", [] { fs::create_symlink("nirgends.dat", "Filtaro.dat"); },
         "Filtaro.dat.defekt", nullptr},
        {"a file of another size, beside an earlier one set aside",
         [] {
             writeFileBytes("Filtaro.dat", std::string(30, 'x'));
             writeFileBytes("Filtaro.dat.defekt", "earlier");
         },
         "Filtaro.dat.2.defekt",
         "Filtaro.dat ist keine Parameterdatei (30 Bytes statt 2784) und wird nicht "
         "überschrieben. Es heißt jetzt Filtaro.dat.2.defekt; das Programm beginnt mit den "
         "Grundeinstellungen."},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        ProgramRun run;
        writeFileBytes(".profile", profile);
        c.plant();
        ASSERT_EQ(run.start(), CSonaroApp::Startup::Running);
        ASSERT_EQ(run.services.messages.size(), 2u);
        EXPECT_EQ(run.services.messages[0].title, "Achtung");
        if (c.text) {
            EXPECT_EQ(run.services.messages[0].text, c.text);
        }
        EXPECT_TRUE(fs::exists(fs::symlink_status(c.aside)));
        EXPECT_FALSE(fs::is_symlink("Filtaro.dat"));
        EXPECT_EQ(parameterFileEntry("Filtaro.dat"), ParameterFileEntry::ParameterFile);

        // A link put there during the run is replaced by New and at the end.
        fs::remove("Filtaro.dat");
        fs::create_symlink(".profile", "Filtaro.dat");
        ASSERT_TRUE(run.frame().onCommand(CmdFileNew));
        EXPECT_FALSE(fs::is_symlink("Filtaro.dat"));
        fs::remove("Filtaro.dat");
        fs::create_symlink(".profile", "Filtaro.dat");
        run.end();
        EXPECT_FALSE(fs::is_symlink("Filtaro.dat"));
        EXPECT_EQ(readFileBytes(".profile"), profile);
        EXPECT_FALSE(fs::exists("nirgends.dat"));
    }
}

}  // namespace
