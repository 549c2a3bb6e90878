#pragma once
// The system's own words for a failed call. The platform routines report a
// failure through errno, which under Windows cannot name every cause: a lock
// of a virus scanner, a network share that went away or a file system that
// refuses a rename all end as EIO. There the routine notes the Windows error
// code beside the errno it sets, and a message can show Windows' own text for
// it instead of a bare number. Elsewhere errno is the system's own code and
// nothing is noted.

#include <string>

// Records that the calling thread's failure that set errno to `errnoValue`
// was the Windows error `code` (a no-op on other systems).
void noteSystemError(int errnoValue, unsigned long code);

// The system's text for the failure last noted on this thread, provided it
// set `errnoValue`: Windows' message for the code, in German where the
// system has it, and the code ("Netzwerkname gelöscht, Windows-Fehler 64").
// "" when no such failure was noted.
std::string systemErrorText(int errnoValue);
