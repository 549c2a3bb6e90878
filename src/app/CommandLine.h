#pragma once
// The program's own command line (Qt takes its options, such as -platform,
// before this sees the rest). Without arguments the program starts with a new
// document.

#include <QString>
#include <QStringList>

struct CommandLine {
    enum class Action { Run, Screenshot, Help, Version, Error };
    Action action = Action::Run;
    QString screenshotFile;  // Screenshot: where the PNG goes
    QString error;           // Error: one German line
};

// `arguments` without the program name.
CommandLine parseCommandLine(const QStringList& arguments);

extern const char* const CommandLineUsage;
