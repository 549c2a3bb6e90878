#include <gtest/gtest.h>

#include <sstream>

#include "tools/cli/ConsoleUserServices.h"

TEST(ConsoleUserServices, BoxesAreOneLineQuestionsTakeTheDefaultStatusOnlyWhenVerbose) {
    std::ostringstream quietErr;
    ConsoleUserServices quiet(quietErr);
    quiet.messageBox("Datei Filtaro.dat konnte nicht geöffnet werden!\nProgramm wird beendet.",
                     "Fehler", MessageIcon::Stop);
    quiet.messageBox("a\r\nb\rc\n", "Achtung", MessageIcon::Warning);
    quiet.setStatusText("Daten werden übertragen");
    quiet.beginWaitCursor();
    quiet.endWaitCursor();
    quiet.progress(ProgressUnit::Bytes, 48, 624);  // nothing
    // Nobody is asked: the question is shown and takes its default.
    EXPECT_EQ(
        quiet.askYesNo("Werte\nTrotzdem senden?", "Achtung", MessageIcon::Warning, Answer::No),
        Answer::No);
    EXPECT_EQ(quietErr.str(),
              "Fehler: Datei Filtaro.dat konnte nicht geöffnet werden! Programm wird beendet.\n"
              "Achtung: a b c \n"
              "Achtung: Werte Trotzdem senden?\n");

    std::ostringstream verboseErr;
    ConsoleUserServices verbose(verboseErr, true);
    verbose.setStatusText("Daten werden übertragen");
    verbose.setStatusText("");  // clearing the status shows nothing
    EXPECT_EQ(verboseErr.str(), "Daten werden übertragen\n");
}
