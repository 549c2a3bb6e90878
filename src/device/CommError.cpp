#include "device/CommError.h"

#include "platform/UserServices.h"

namespace {

struct CommErrorTexts {
    const char* english;
    const char* german;
};

// Index -code - 1 for the codes -1..-10; the last entry is any other code.
constexpr CommErrorTexts texts[] = {
    {"Port busy", "Schnittstelle antwortet nicht"},
    {"Port not initialized", "Schnittstelle nicht initialisiert"},
    {"Timeout", "Timeout"},
    {"Transmission error", "Sendefehler"},
    {"Receive error", "Empfangsfehler"},
    {"Handshake error. Controller not responding.",
     "Handshake-Fehler. Controller antwortet nicht."},
    {"Checksum error", "Prüfsummenfehler"},
    {"Port not responding!", "Schnittstelle antwortet nicht!"},
    {"Checksum not correct!", "Prüfsumme nicht korrekt!"},
    {"Wrong password!", "Falsches Paßwort!"},
    {"Unknown Error", "Unbekannter Fehler"},
};
constexpr int unknownIndex = 10;

}  // namespace

const char* commErrorText(int code, int language) {
    const int index = code <= -1 && code >= -10 ? -code - 1 : unknownIndex;
    switch (language) {
        case LanguageEnglish:
            return texts[index].english;
        case LanguageGerman:
            return texts[index].german;
        default:
            return "";
    }
}

const char* commErrorTitle(int language) {
    switch (language) {
        case LanguageEnglish:
            return "Communication Error";
        case LanguageGerman:
            return "Übertragungsfehler";
        default:
            return "";
    }
}

void showCommError(int code, int language) {
    if (language != LanguageEnglish && language != LanguageGerman) return;
    userServices().messageBox(commErrorText(code, language), commErrorTitle(language),
                              MessageIcon::Stop);
}
