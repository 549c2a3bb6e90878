#pragma once
// Qt's own German texts for the standard dialogs and buttons the program
// shows (the file dialogs, the question before a file is overwritten, Yes, No,
// Cancel). The program's own texts are German already; Qt's come from its
// translation catalogue, which Debian ships in qt6-translations-l10n.

#include <QString>
#include <QTranslator>

class QtTranslations {
public:
    // Installs the catalogue in the running application for as long as the
    // object lives. Without it the standard dialogs stay English.
    QtTranslations();
    ~QtTranslations();
    QtTranslations(const QtTranslations&) = delete;
    QtTranslations& operator=(const QtTranslations&) = delete;

    bool installed() const { return m_bInstalled; }
    // The file the texts are read from, found or not.
    static QString catalogueFile();

private:
    QTranslator m_translator;
    bool m_bInstalled = false;
};
