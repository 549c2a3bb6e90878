#pragma once
// A program's manual page (roff, man macros) from a page template and the
// program's --help text.
//
// The template is the page with its own prose; it holds the lines
//   @SYNOPSIS@      becomes ".SH ÜBERSICHT" and the help's synopsis
//   @DESCRIPTION@   ".SH BESCHREIBUNG" and the help's description lines
//   @SECTIONS@      every section of the help, each entry a tagged paragraph
// and the words @VERSION@ and @DATE@ (of the release) anywhere.

#include <string>
#include <string_view>

#include "tools/docgen/HelpText.h"

std::string renderManPage(std::string_view page, const HelpText& help, std::string_view version,
                          std::string_view date);

// Text as roff sets it literally: a backslash stays one, every '-' is a
// hyphen-minus that can be copied into a shell ("\-"), and a line that
// begins with '.' or '\'' is no request.
std::string roffText(std::string_view text);
