#pragma once
// The version the programs report. It is set once, as the project's VERSION
// in the top CMakeLists.txt; a build from a git checkout adds where in the
// history it was built (cmake/FiltaroVersion.cmake).

#include <string>

// The release this build belongs to, e.g. "2.1.0".
const char* programRelease();

// What a user quotes in a report: the release, or between releases e.g.
// "2.1.0~git20261207.486eeb2" (".dirty" with uncommitted changes). The
// packages carry the same version.
const char* programVersion();

// "filtaro-cli 2.1.0": what --version prints, with its line break.
std::string versionLine(const std::string& program);
