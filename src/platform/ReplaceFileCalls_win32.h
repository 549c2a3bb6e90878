#pragma once
// The two calls by which the save routine under Windows puts a new file in
// the old one's place. Network shares, virus scanners and sync clients make
// them fail half way (ReplaceFileW's errors 1175, 1176 and 1177), which a
// local disk, and Wine, never do; a test installs calls of its own to play
// those failures through the routine.

#include <windows.h>

struct ReplaceFileCalls {
    BOOL(WINAPI* replaceFile)
    (LPCWSTR replaced, LPCWSTR replacement, LPCWSTR backup, DWORD flags, LPVOID exclude,
     LPVOID reserved);
    BOOL(WINAPI* moveFile)(LPCWSTR from, LPCWSTR to, DWORD flags);
};

// For tests only: the calls every later save makes; nullptr gives back the
// system's own. `calls` must outlive its use.
void setReplaceFileCallsForTest(const ReplaceFileCalls* calls);
