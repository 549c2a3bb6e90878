// filtaro: the control program's window.

#include <QApplication>
#include <iostream>
#include <optional>

#include "app/CSonaroApp.h"
#include "app/CommandLine.h"
#include "app/QtTranslations.h"
#include "app/QtUserServices.h"
#include "app/Screenshot.h"
#include "buildinfo/ProgramVersion.h"
#include "forms/ModalRunner.h"
#include "res/Icons.h"
#include "res/ResourceIds.h"

namespace {

// --help and --version: printed, and the program ends with 0.
bool printsInformation(const CommandLine& command) {
    if (command.action == CommandLine::Action::Help) {
        std::cout << CommandLineUsage;
        return true;
    }
    if (command.action == CommandLine::Action::Version) {
        std::cout << versionLine("filtaro");
        return true;
    }
    return false;
}

}  // namespace

int main(int argc, char** argv) {
    // Answered before Qt starts, so that they need no display. (With Qt's
    // own options among them, they are answered once Qt has taken those.)
    QStringList early;
    for (int i = 1; i < argc; ++i) early << QString::fromLocal8Bit(argv[i]);
    if (printsInformation(parseCommandLine(early))) return 0;

    QApplication qapp(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Filtaro"));
    QApplication::setApplicationVersion(QString::fromUtf8(programVersion()));
    QApplication::setWindowIcon(resourceIcon(ProgramIconId));
    const QtTranslations translations;
    if (!translations.installed()) {
        std::cerr << "filtaro: " << QtTranslations::catalogueFile().toStdString()
                  << " fehlt; die Standarddialoge bleiben englisch.\n";
    }

    QStringList arguments = QApplication::arguments();
    arguments.removeFirst();
    const CommandLine command = parseCommandLine(arguments);
    if (printsInformation(command)) return 0;
    if (command.action == CommandLine::Action::Error) {
        std::cerr << "filtaro: " << command.error.toStdString() << '\n' << CommandLineUsage;
        return 2;
    }
    const bool screenshot = command.action == CommandLine::Action::Screenshot;

    // Declared before the application object, so that the boxes of its
    // shutdown (a failed save) still have somewhere to go.
    QtUserServices services;
    std::optional<ScopedModalAnswer> answer;
    if (screenshot) {
        services.setAutoAnswer(true);
        answer.emplace(acceptDialog);
    }

    CSonaroApp app(&services);
    if (app.initInstance() == CSonaroApp::Startup::Ended) {
        return 0;
    }
    if (screenshot) {
        QString error;
        const int status = writeScreenshot(app, command.screenshotFile, error);
        if (status != 0) {
            std::cerr << "filtaro: " << error.toStdString() << '\n';
        }
        return status;
    }
    return QApplication::exec();
}
