#pragma once
// The command line and the console of a console program, in UTF-8.
//
// Under Windows, main's argv holds the arguments in the ANSI code page,
// which cannot hold every file name ("Ω-Test.dat" arrives as "O-Test.dat"),
// and the console shows output bytes in its OEM code page. The arguments are
// therefore taken from the UTF-16 command line, and the console is switched
// to UTF-8 output. Elsewhere argv already is the user's text and the
// terminal's encoding is the user's business.

#include <string>
#include <vector>

// The program's arguments, argv[0] included, as UTF-8 text.
std::vector<std::string> programArguments(int argc, char** argv);

// Makes the console show the program's UTF-8 output as text (German
// messages, file names) until the program ends; then the console has its
// own code page again, also after Ctrl+C. Standard output keeps the
// console's line endings.
void useUtf8Console();
