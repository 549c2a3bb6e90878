#pragma once
// The --help text of Filtaro's programs, read back into its parts, so that
// the manual pages and the shell completion are made from what the programs
// say of themselves.
//
// The house format:
//   Aufruf: PROGRAM ARGUMENTS          the synopsis (first line)
//     A line of description.           indented by two, before any heading
//
//   Heading:                           a section (column 0, ends in ':')
//     TERM  text                       an entry: term, two blanks, text
//           more text                  deeper indented: continues the text
//     TERM                             or the term alone on its line ...
//         text                         ... and its text below, deeper
//
// A blank line ends an entry.

#include <string>
#include <string_view>
#include <vector>

struct HelpEntry {
    std::string term;  // "--link PFAD", "send DATEI [--port NAME]", "0"
    std::string text;  // its lines joined by single blanks
};

struct HelpSection {
    std::string heading;  // "Befehle", without the colon
    std::vector<HelpEntry> entries;
};

struct HelpText {
    std::string synopsis;                  // "filtaro-cli BEFEHL [ARGUMENTE]"
    std::vector<std::string> description;  // one line each
    std::vector<HelpSection> sections;
};

// Empty synopsis when the text does not begin with "Aufruf: ".
HelpText parseHelpText(std::string_view text);

// The section of that heading; null when there is none.
const HelpSection* findSection(const HelpText& help, std::string_view heading);
