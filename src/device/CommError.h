#pragma once
// The results of the communication layer: 0 is success, every failure a
// negative code. Several codes are never produced but keep their texts, since
// the numbers are part of the program's vocabulary.

enum CommErrorCode : int {
    CommOk = 0,
    ErrPortBusy = -1,            // the port did not open
    ErrPortNotInitialized = -2,  // read or write on a closed port
    ErrTimeout = -3,
    ErrTransmit = -4,   // the write failed or was cut short
    ErrReceive = -5,    // the read failed or the reply was short
    ErrHandshake = -6,  // wrong or missing acknowledge or probe reply
    ErrChecksum = -7,
    ErrPortNotResponding = -8,  // what the callers report for every failed transfer
    ErrChecksumMismatch = -9,
    ErrWrongPassword = -10,
};

// Message languages of showCommError.
enum MessageLanguage : int {
    LanguageEnglish = 0,
    LanguageGerman = 1,
};

// The text of a code in a language (0 English, 1 German); a code outside
// -10..-1 gives "Unknown Error" / "Unbekannter Fehler". Empty for any other
// language.
const char* commErrorText(int code, int language);
// "Communication Error" / "Übertragungsfehler"; empty for any other language.
const char* commErrorTitle(int language);

// A modal stop box with the code's text and the language's title; shows
// nothing for a language other than 0 or 1.
void showCommError(int code, int language);
