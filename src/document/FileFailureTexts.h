#pragma once
// The window's fixed texts for a file it could not read or write, the same
// in every command that opens, saves or exports a file.

constexpr const char* FileOpenFailedText = "Datei konnte nicht geöffnet werden.";
constexpr const char* FileSaveFailedText = "Datei konnte nicht gespeichert werden.";
constexpr const char* ErrorTitle = "Fehler";
