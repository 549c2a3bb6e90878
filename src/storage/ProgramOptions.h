#pragma once
// The program's own options in "FILTARO.INI", in a section of their own
// beside [COMMUNICATION]:
//
//   [FILTARO]
//   VerifyAfterSend=1
//
// Like every INI value they are read from the file each time.

constexpr char IniSectionFiltaro[] = "FILTARO";
constexpr char IniKeyVerifyAfterSend[] = "VerifyAfterSend";  // 1 = on (default), 0 = off

// "Nach dem Senden prüfen": whether a send is followed by reading the block
// back. On when the key is missing or not a number; off only for 0.
bool verifyAfterSend();
// Stores the choice; false when the file could not be written.
bool setVerifyAfterSend(bool on);
