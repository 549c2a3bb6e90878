#pragma once
// Command line of filtaro-devsim and the misbehaviours it can play.

#include <optional>
#include <string>
#include <vector>

struct DevsimFaults {
    bool silent = false;      // answers nothing at all
    bool wrongAck = false;    // echoes 0xAA / 0xBB instead of acknowledging
    int shortReply = -1;      // >= 0: the 0xBB reply carries only this many bytes
    bool noIdent = false;     // echoes 0xCC but leaves 0x00 unanswered
    bool wrongIdent = false;  // answers 0x00 with 0x02
    int staleBytes = 0;       // reply-like bytes queued at start and after each answer
    int corruptByte = -1;     // >= 0: every block is stored with this byte one higher than sent
};

struct DevsimOptions {
    std::string linkPath;    // symlink to the pty, "" for none
    std::string memoryFile;  // where the 624-byte block persists, "" for none
    int baud = 0;            // paces the output at this rate; 0 = as fast as possible
    DevsimFaults faults;
    bool printVersion = false;  // --version: print it and serve nothing
};

// Parses the arguments after the program name. On failure returns nullopt and
// sets `error` to a one-line message; "--help" returns nullopt with an empty
// `error`.
std::optional<DevsimOptions> parseDevsimArgs(const std::vector<std::string>& args,
                                             std::string& error);

extern const char* const DevsimUsage;
