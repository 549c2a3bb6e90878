// filtaro-cli as a Unix tool: every failure of every command is one line on
// the error stream, the same fault is worded the same in every command, and
// "--" ends the options.

#include <gtest/gtest.h>
#include <sys/wait.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>

#include "device/WireImage.h"
#include "model/ParameterImage.h"
#include "simulator/SimulatedPort.h"
#include "storage/ParameterFile.h"
#include "support/CliRun.h"
#include "support/RecordingUserServices.h"
#include "support/ScratchDir.h"

namespace fs = std::filesystem;

namespace {

const std::string ShortFile =
    "filtaro-cli: short.dat: Datei konnte nicht geöffnet werden (2783 Bytes statt 2784).\n";
const std::string TakenFile =
    "filtaro-cli: taken: Datei konnte nicht gespeichert werden (ein Ordner trägt den Namen).\n";

struct FailureCase {
    std::vector<std::string> args;
    int status;
    std::string err;  // the one line
};

const FailureCase FailureCases[] = {
    // A parameter file of the wrong size, wherever a command reads one.
    {{"show", "short.dat"}, 1, ShortFile},
    {{"response", "short.dat"}, 1, ShortFile},
    {{"response", "empty.dat"},
     1,
     "filtaro-cli: empty.dat: Datei konnte nicht geöffnet werden (0 Bytes statt 2784).\n"},
    {{"encode", "short.dat", "out.bin"}, 1, ShortFile},
    {{"decode", "wire.bin", "short.dat", "out.dat"}, 1, ShortFile},
    {{"export", "short.dat", "--format", "apo"}, 1, ShortFile},
    {{"import", "short.dat", "filter.txt", "--preset", "1", "--channel", "1"}, 1, ShortFile},
#ifdef FILTARO_CLI_PLOT
    {{"plot", "short.dat", "out.png"}, 1, ShortFile},
#endif
    {{"send", "short.dat", "--port", "COM1"}, 11, ShortFile},
    {{"compare", "short.dat", "--port", "COM1"}, 11, ShortFile},
    {{"receive", "out.dat", "--base", "short.dat", "--port", "COM1"}, 11, ShortFile},
    // Other files that are none.
    {{"show", "missing.dat"},
     1,
     "filtaro-cli: missing.dat: Datei konnte nicht geöffnet werden (nicht vorhanden).\n"},
    {{"show", "taken"},
     1,
     "filtaro-cli: taken: Datei konnte nicht geöffnet werden (keine Datei).\n"},
    {{"decode", "short.bin", "a.dat", "out.dat"},
     1,
     "filtaro-cli: short.bin: Datei konnte nicht geöffnet werden (623 Bytes statt 624).\n"},
    {{"import", "a.dat", "missing.txt", "--preset", "1", "--channel", "1"},
     1,
     "filtaro-cli: missing.txt: Datei konnte nicht geöffnet werden (nicht vorhanden).\n"},
    // A name taken by a folder, wherever a command saves.
    {{"new", "taken"}, 1, TakenFile},
    {{"encode", "a.dat", "taken"}, 1, TakenFile},
    {{"decode", "wire.bin", "a.dat", "taken"}, 1, TakenFile},
    {{"export", "a.dat", "--format", "apo", "--out", "taken"}, 1, TakenFile},
    {{"import", "a.dat", "filter.txt", "--preset", "1", "--channel", "1", "--out", "taken"},
     1,
     TakenFile},
#ifdef FILTARO_CLI_PLOT
    {{"plot", "a.dat", "taken"}, 1, TakenFile},
#endif
    {{"receive", "taken", "--port", "COM1"},
     11,
     "filtaro-cli: taken: Datei konnte nicht gespeichert werden (ein Ordner trägt den Namen). "
     "Die empfangenen Rohdaten stehen in Son_Receive.bin (filtaro-cli decode).\n"},
    // The device: the command's line names the real code, and the window's
    // message box is not printed as well.
    {{"send", "a.dat", "--port", "COM2", "--no-pause"},
     6,
     "filtaro-cli: Senden an COM2: Handshake-Fehler. Controller antwortet nicht. (Code -6)\n"},
    {{"receive", "out.dat", "--port", "COM3"},
     5,
     "filtaro-cli: Empfangen von COM3: Empfangsfehler (Code -5)\n"},
    {{"compare", "a.dat", "--port", "COM2"},
     6,
     "filtaro-cli: Empfangen von COM2: Handshake-Fehler. Controller antwortet nicht. (Code -6)\n"},
    {{"send", "a.dat", "--port", "COM9"},
     1,
     "filtaro-cli: Port COM9 mit 9600 Baud (nicht vorhanden, belegt, keine Rechte, Baudrate oder "
     "Zeitlimits nicht einstellbar): Schnittstelle antwortet nicht (Code -1)\n"},
    {{"receive", "out.dat", "--port", "COM4"},
     1,
     "filtaro-cli: Port COM4 wird schon von einem anderen Programm benutzt (vielleicht von "
     "Filtaro): Schnittstelle antwortet nicht (Code -1)\n"},
    // Arguments.
    {{"show", "--bogus", "a.dat"}, 2, "filtaro-cli: Unbekannte Option --bogus.\n"},
    {{"new"}, 2, "filtaro-cli: Aufruf: filtaro-cli new DATEI\n"},
    {{"frobnicate"},
     2,
     "filtaro-cli: Unbekannter Befehl \"frobnicate\" (filtaro-cli --help zeigt die Befehle).\n"},
    // A name that would break the line or the terminal is escaped.
    {{"show", "a\nb\xff.dat"},
     1,
     "filtaro-cli: a\\x0Ab\\xFF.dat: Datei konnte nicht geöffnet werden (nicht vorhanden).\n"},
};

class CliFailure : public ::testing::Test {
protected:
    void SetUp() override {
        ParameterImage image;
        applyDefaults(image);
        ASSERT_EQ(saveParameterFile(image, "a.dat"), 0);
        writeFileBytes("short.dat", std::string(ParameterFileSize - 1, '\0'));
        const WireImage wire = defaultWireImage();
        writeFileBytes("wire.bin", std::string(wire.begin(), wire.end()));
        writeFileBytes("empty.dat", "");
        writeFileBytes("short.bin", std::string(WireImageSize - 1, '\0'));
        writeFileBytes("filter.txt", "Filter 1: ON PK Fc 1000 Hz Gain -3 dB Q 2\n");
        fs::create_directory("taken");
    }

    ScratchDir cwd{true};
    RecordingUserServices ui;
};

TEST_F(CliFailure, EveryFailureIsOneLineWordedAlikeForTheSameFault) {
    for (const FailureCase& c : FailureCases) {
        SCOPED_TRACE(c.args.front() + " " + (c.args.size() > 1 ? c.args[1] : ""));
        SimulatedPort line;
        line.attachDevice(1);
        line.attachDevice(2, {.wrongAck = true});
        line.attachDevice(3, {.shortReply = 0});
        line.holdPort(4);
        const CliResult r = runCliCommand(c.args, line);
        EXPECT_EQ(r.status, c.status);
        EXPECT_EQ(r.err, c.err);
        EXPECT_TRUE(ui.messages.empty());
        EXPECT_FALSE(fs::exists("out.dat") || fs::exists("out.bin") || fs::exists("out.png"));
    }
    EXPECT_EQ(readFileBytes("short.dat"), std::string(ParameterFileSize - 1, '\0'));
}

TEST_F(CliFailure, SearchWithoutADeviceSaysSoOnce) {
    SimulatedPort noDevice;
    const CliResult r = runCliCommand({"search"}, noDevice);
    EXPECT_EQ(r.status, 1);
    EXPECT_EQ(r.err, "filtaro-cli: Ger\xC3\xA4t wurde an keiner Schnittestelle gefunden!\n");
    EXPECT_TRUE(ui.messages.empty());
}

TEST_F(CliFailure, DoubleDashEndsTheOptions) {
    fs::copy_file("a.dat", "-x.dat");
    fs::copy_file("a.dat", "--x.dat");
    EXPECT_EQ(runCliCommand({"show", "--", "-x.dat"}).status, 0);
    EXPECT_EQ(runCliCommand({"show", "--", "--x.dat"}).status, 0);
    EXPECT_EQ(runCliCommand({"show", "--x.dat"}).status, 2) << "an option without --";
    const CliResult r = runCliCommand({"new", "--", "--help"});
    EXPECT_EQ(r.status, 0) << r.err;
    ParameterImage image;
    EXPECT_EQ(loadParameterFile(image, "--help"), 1);

    const CliResult help = runCliCommand({"encode", "--help"});
    EXPECT_EQ(help.status, 0);
    EXPECT_EQ(help.out.rfind("Aufruf: filtaro-cli encode DATEI AUSGABE\n", 0), 0u) << help.out;
}

// Output that cannot be written is a failure of its own, as a process.
TEST(CliFailureProcess, OutputThatCannotBeWrittenFailsInOneLine) {
    const char* cli = std::getenv("FILTARO_CLI");
    ASSERT_TRUE(cli != nullptr && *cli != '\0');
    if (!fs::exists("/dev/full")) GTEST_SKIP() << "no /dev/full on this system";
    ScratchDir dir(true);
    ParameterImage image;
    applyDefaults(image);
    ASSERT_EQ(saveParameterFile(image, "a.dat"), 0);
    const int status =
        std::system(("'" + std::string(cli) + "' show a.dat >/dev/full 2>err.txt").c_str());
    ASSERT_TRUE(WIFEXITED(status));
    EXPECT_EQ(WEXITSTATUS(status), 1);
    EXPECT_EQ(readFileBytes("err.txt"),
              "filtaro-cli: Die Ausgabe konnte nicht geschrieben werden.\n");
}

}  // namespace
