#include <gtest/gtest.h>

#include "device/CommError.h"
#include "support/RecordingUserServices.h"

namespace {

TEST(CommError, EveryCodeHasItsTextInBothLanguages) {
    struct Row {
        int code;
        const char* english;
        const char* german;
    };
    const Row rows[] = {
        {ErrPortBusy, "Port busy", "Schnittstelle antwortet nicht"},
        {ErrPortNotInitialized, "Port not initialized", "Schnittstelle nicht initialisiert"},
        {ErrTimeout, "Timeout", "Timeout"},
        {ErrTransmit, "Transmission error", "Sendefehler"},
        {ErrReceive, "Receive error", "Empfangsfehler"},
        {ErrHandshake, "Handshake error. Controller not responding.",
         "Handshake-Fehler. Controller antwortet nicht."},
        {ErrChecksum, "Checksum error",
         "Pr\xC3\xBC"
         "fsummenfehler"},
        {ErrPortNotResponding, "Port not responding!", "Schnittstelle antwortet nicht!"},
        {ErrChecksumMismatch, "Checksum not correct!",
         "Pr\xC3\xBC"
         "fsumme nicht korrekt!"},
        {ErrWrongPassword, "Wrong password!", "Falsches Pa\xC3\x9Fwort!"},
        {0, "Unknown Error", "Unbekannter Fehler"},
        {-11, "Unknown Error", "Unbekannter Fehler"},
        {-42, "Unknown Error", "Unbekannter Fehler"},
        {5, "Unknown Error", "Unbekannter Fehler"},
    };
    for (const Row& row : rows) {
        EXPECT_STREQ(commErrorText(row.code, LanguageEnglish), row.english) << row.code;
        EXPECT_STREQ(commErrorText(row.code, LanguageGerman), row.german) << row.code;
    }
}

TEST(CommError, ShowsOneStopBoxTitledInItsLanguageAndNothingForOtherLanguages) {
    RecordingUserServices ui;
    showCommError(ErrTimeout, LanguageEnglish);
    showCommError(-42, LanguageGerman);
    showCommError(ErrPortNotResponding, LanguageGerman);
    showCommError(ErrPortNotResponding, 2);
    showCommError(ErrPortNotResponding, -1);
    ASSERT_EQ(ui.messages.size(), 3u);
    EXPECT_EQ(ui.messages[0].text, "Timeout");
    EXPECT_EQ(ui.messages[0].title, "Communication Error");
    EXPECT_EQ(ui.messages[1].text, "Unbekannter Fehler");
    EXPECT_EQ(ui.messages[1].title,
              "\xC3\x9C"
              "bertragungsfehler");
    EXPECT_EQ(ui.messages[2].text, "Schnittstelle antwortet nicht!");
    for (const auto& m : ui.messages) EXPECT_EQ(m.icon, MessageIcon::Stop);
}

}  // namespace
