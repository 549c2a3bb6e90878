// The manual pages and the bash completion are made from the programs'
// --help texts: reading such a text back, and what roff and bash get.

#include <gtest/gtest.h>

#include "tools/docgen/BashCompletion.h"
#include "tools/docgen/HelpText.h"
#include "tools/docgen/ManPage.h"

namespace {

// The shapes of the three programs' help texts.
constexpr const char* Help =
    "Aufruf: prog BEFEHL [ARGUMENTE]\n"
    "  Eine Zeile Beschreibung.\n"
    "  Noch eine.\n"
    "\n"
    "Befehle:\n"
    "  send DATEI [--port NAME] [--force]\n"
    "      Sendet alles.\n"
    "  show DATEI\n"
    "      Zeigt eine Datei\n"
    "      auf zwei Zeilen.\n"
    "\n"
    "Optionen:\n"
    "  --fault ART     silent | short=N |\n"
    "                  corrupt=N\n"
    "  --help          zeigt diese Übersicht\n"
    "\n"
    "Exit-Status:\n"
    "  0      Erfolg\n";

TEST(HelpText, ReadsSynopsisDescriptionAndEveryKindOfEntry) {
    const HelpText help = parseHelpText(Help);
    EXPECT_EQ(help.synopsis, "prog BEFEHL [ARGUMENTE]");
    EXPECT_EQ(help.description,
              (std::vector<std::string>{"Eine Zeile Beschreibung.", "Noch eine."}));
    ASSERT_EQ(help.sections.size(), 3u);
    const struct {
        std::size_t section, entry;
        const char* term;
        const char* text;
    } cases[] = {
        {0, 0, "send DATEI [--port NAME] [--force]", "Sendet alles."},
        {0, 1, "show DATEI", "Zeigt eine Datei auf zwei Zeilen."},
        {1, 0, "--fault ART", "silent | short=N | corrupt=N"},
        {1, 1, "--help", "zeigt diese Übersicht"},
        {2, 0, "0", "Erfolg"},
    };
    for (const auto& c : cases) {
        const HelpEntry& e = help.sections[c.section].entries.at(c.entry);
        EXPECT_EQ(e.term, c.term);
        EXPECT_EQ(e.text, c.text) << c.term;
    }
    EXPECT_EQ(help.sections[2].heading, "Exit-Status");
    EXPECT_EQ(findSection(help, "Optionen"), &help.sections[1]);
    EXPECT_EQ(findSection(help, "Dateien"), nullptr);
    EXPECT_TRUE(parseHelpText("Usage: prog\n").synopsis.empty());
}

TEST(ManPage, RoffTakesTheTextLiterally) {
    const struct {
        const char* text;
        const char* roff;
    } cases[] = {
        {"--port NAME", "\\-\\-port NAME"},       // a minus one can copy into a shell
        {"C:\\Pfad", "C:\\ePfad"},                // a backslash prints as one
        {".../COM3 liegt", "\\&.../COM3 liegt"},  // a leading dot is no request
        {"'x' gilt", "\\&'x' gilt"},
        {"Übersicht", "Übersicht"},
    };
    for (const auto& c : cases) EXPECT_EQ(roffText(c.text), c.roff) << c.text;
}

TEST(ManPage, TheTemplateTakesTheHelpTextWhereItsMarkersStand) {
    const std::string page = renderManPage(
        ".TH PROG 1 \"@DATE@\" \"@VERSION@\"\n@SYNOPSIS@\n@DESCRIPTION@\nProsa.\n@SECTIONS@\n.SH "
        "SIEHE AUCH\n",
        parseHelpText(Help), "prog 2.1.0~git", "2026-12-07");
    EXPECT_EQ(page,
              ".TH PROG 1 \"2026\\-12\\-07\" \"prog 2.1.0~git\"\n"
              ".SH ÜBERSICHT\n\\fBprog\\fR BEFEHL [ARGUMENTE]\n"
              ".SH BESCHREIBUNG\nEine Zeile Beschreibung.\nNoch eine.\n"
              "Prosa.\n"
              ".SH BEFEHLE\n"
              ".TP\n\\fBsend\\fR DATEI [\\-\\-port NAME] [\\-\\-force]\nSendet alles.\n"
              ".TP\n\\fBshow\\fR DATEI\nZeigt eine Datei auf zwei Zeilen.\n"
              ".SH OPTIONEN\n"
              ".TP\n\\fB\\-\\-fault\\fR ART\nsilent | short=N | corrupt=N\n"
              ".TP\n\\fB\\-\\-help\\fR\nzeigt diese Übersicht\n"
              ".SH EXIT\\-STATUS\n.TP\n\\fB0\\fR\nErfolg\n"
              ".SH SIEHE AUCH\n");
}

TEST(BashCompletion, ReadsEachOptionOfAUsageLineAndTheValuesItNames) {
    const CommandSyntax fit = parseUsage(
        "fit DATEI --channel K [--measurement M2 ...] [--smooth none|1/24|1/3] "
        "[--target flat|tilt:DB|house:F1:DB1:F2:DB2|ZIELDATEI] [--no-level] [--out A.dat] "
        "[--json]");
    EXPECT_EQ(fit.name, "fit");
    const struct {
        const char* name;
        bool takesValue;
        std::vector<std::string> choices;
        bool file;
    } expected[] = {
        {"--channel", true, {}, false},
        {"--measurement", true, {}, false},
        {"--smooth", true, {"none", "1/24", "1/3"}, false},
        {"--target", true, {"flat", "tilt:", "house:"}, true},
        {"--no-level", false, {}, false},
        {"--out", true, {}, false},
        {"--json", false, {}, false},
        {"--help", false, {}, false},
    };
    ASSERT_EQ(fit.options.size(), std::size(expected));
    for (std::size_t i = 0; i < fit.options.size(); ++i) {
        const OptionSyntax& o = fit.options[i];
        EXPECT_EQ(o.name, expected[i].name);
        EXPECT_EQ(o.takesValue, expected[i].takesValue) << o.name;
        EXPECT_EQ(o.choices, expected[i].choices) << o.name;
        EXPECT_EQ(o.valueMayBeFile, expected[i].file) << o.name;
    }
    // Named twice, offered once; --help only once.
    EXPECT_EQ(parseUsage("x [--a N] [--a N] [--help]").options.size(), 2u);
}

TEST(BashCompletion, NothingAShellWouldReadAsMoreThanAWordGetsIntoTheScript) {
    const HelpText help = parseHelpText(
        "Aufruf: prog BEFEHL\n\nBefehle:\n  ok [--view a|b$(rm)|c] [--x;y]\n      t\n"
        "  $(boom) DATEI\n      t\n");
    const std::string script = bashCompletion("prog", help, "prog 1");
    EXPECT_EQ(script.find("rm"), std::string::npos);
    EXPECT_EQ(script.find("boom"), std::string::npos);
    EXPECT_EQ(script.find("--x;y"), std::string::npos);
    EXPECT_NE(script.find("complete -o default -F _prog prog"), std::string::npos);
}

}  // namespace
