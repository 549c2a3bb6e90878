// filtaro-cli send, receive, search, encode and decode: in-process against
// devices simulated in memory, and once as real processes against
// filtaro-devsim.

#include <gtest/gtest.h>
#include <sys/wait.h>

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <thread>

#include "device/DevicePort.h"
#include "device/PresetTransfer.h"
#include "device/SerialPort.h"
#include "device/SettingsCompare.h"
#include "device/WireImage.h"
#include "model/ParameterImage.h"
#include "simulator/SimulatedPort.h"
#include "storage/Ini.h"
#include "storage/ParameterFile.h"
#include "support/CliRun.h"
#include "support/DevsimProcess.h"
#include "support/RecordingUserServices.h"
#include "support/ScopedEnv.h"
#include "support/ScratchDir.h"
#include "tools/cli/CliDevice.h"

namespace fs = std::filesystem;

namespace {

bool contains(const std::string& text, const std::string& part) {
    return text.find(part) != std::string::npos;
}

// An image whose records differ from the defaults everywhere.
ParameterImage sampleImage() {
    ParameterImage image;
    applyDefaults(image);
    image.setActivePreset(1);
    image.setWorkingDirectory("/home/user/filtaro");
    for (int p = 0; p < PresetCount; ++p) {
        for (int c = 0; c < ChannelCount; ++c) {
            image.setField(p, c, ChannelField::level, p - c);
            image.setField(p, c, ChannelField::lpFrequency, 2000 + 500 * p);
            image.setField(p, c, ChannelField::delayTaps, 11 * p + c);
            image.setField(p, c, ChannelField::reserved, 0x5A5A);
        }
    }
    return image;
}

ParameterImage loaded(const std::string& path) {
    ParameterImage image;
    EXPECT_EQ(loadParameterFile(image, path), 1) << path;
    return image;
}

// `base` with the device's records decoded into it, as a receive leaves it.
ParameterImage received(ParameterImage base, const WireImage& wire) {
    decodeWireImage(wire, base);
    base.setSixChannels(1);
    base.setRedrawPending(1);
    return base;
}

class CliDevice : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_EQ(saveParameterFile(sampleImage(), "a.dat"), 0); }

    CliResult run(std::vector<std::string> args) { return runCliCommand(std::move(args), line); }

    ScratchDir cwd{true};
    SimulatedPort line;
    RecordingUserServices ui;
};

TEST_F(CliDevice, SendAndReceiveUseTheIniPortAndRoundTrip) {
    writeFileBytes(IniFileName, "[COMMUNICATION]\nPort=COM2\n");
    line.attachDevice(2);

    CliResult r = run({"send", "a.dat"});
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(r.out, "Alle Presets an COM2 gesendet.\n");
    EXPECT_EQ(ui.sleeps, (std::vector<unsigned>{PortSettleMs, SendSettleMs}));
    EXPECT_EQ(line.memory(2), encodeWireImage(sampleImage()));

    r = run({"receive", "fresh.dat"});
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(r.out, "Alle Presets von COM2 empfangen und in fresh.dat gespeichert.\n");
    ParameterImage defaults;
    applyDefaults(defaults);
    EXPECT_EQ(loaded("fresh.dat"), received(defaults, line.memory(2)));

    r = run({"receive", "based.dat", "--base", "a.dat"});
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(loaded("based.dat"), received(sampleImage(), line.memory(2)));
    EXPECT_TRUE(ui.messages.empty());
}

TEST_F(CliDevice, OptionsOverrideTheIni) {
    writeFileBytes(IniFileName, "[COMMUNICATION]\nPort=COM1\nBaudrate=oops\n");
    line.attachDevice(7);
    CliResult r = run({"send", "a.dat", "--port", "com7", "--baud", "115200", "--no-pause"});
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(ui.sleeps, std::vector<unsigned>{PortSettleMs}) << "no pause after the send";
    EXPECT_EQ(line.openPort(), 7);
    EXPECT_EQ(line.baudRate(), 115200);
    EXPECT_EQ(line.blocksStored(7), 1);
}

TEST_F(CliDevice, TransferFailuresExitWithTheCodeAndWriteNothing) {
    line.attachDevice(1, {.wrongAck = true});
    line.attachDevice(2, {.shortReply = 623});

    CliResult r = run({"send", "a.dat", "--port", "COM1"});
    EXPECT_EQ(r.status, 6);
    EXPECT_TRUE(contains(r.err, "Handshake-Fehler. Controller antwortet nicht. (Code -6)"))
        << r.err;
    EXPECT_TRUE(ui.sleeps.size() == 1) << "no pause after a failed send";

    r = run({"receive", "out.dat", "--port", "COM1"});
    EXPECT_EQ(r.status, 6);
    r = run({"receive", "out.dat", "--port", "COM2"});
    EXPECT_EQ(r.status, 5);
    EXPECT_TRUE(contains(r.err, "Empfangsfehler (Code -5)")) << r.err;
    EXPECT_FALSE(fs::exists("out.dat"));
    EXPECT_FALSE(fs::exists("Son_Receive.bin"));
    EXPECT_TRUE(ui.messages.empty()) << "the command's own line is the one report";
}

TEST_F(CliDevice, SendRefusesValuesTheDeviceWouldNotHoldUnlessForced) {
    line.attachDevice(1);
    ParameterImage odd = sampleImage();
    odd.setField(1, 0, ChannelField::level, 7);
    odd.setField(0, 0, ChannelField::delayTaps, 2801);
    odd.setField(3, 2, ChannelField::lpFrequency, 30);
    odd.setField(2, 5, ChannelField::hpType, 12);
    odd.setField(2, 5, ChannelField::input, 3);
    odd.setField(0, 1, eqQField(1), 0);
    // Loud, but within what the device takes: a warning, no refusal.
    odd.setField(3, 1, ChannelField::level, 6);
    odd.setField(3, 1, eqLevelField(3), 6);
    odd.setField(3, 1, eqLevelField(4), 6);
    odd.setField(3, 1, eqFrequencyField(3), 2000);
    ASSERT_EQ(saveParameterFile(odd, "odd.dat"), 0);

    CliResult r = run({"send", "odd.dat", "--port", "COM1"});
    EXPECT_EQ(r.status, CliSendRefused);
    EXPECT_EQ(r.err,
              "filtaro-cli: odd.dat: Diese 6 Werte kann das Gerät nicht so übernehmen, wie sie "
              "eingestellt sind. Nichts gesendet (--force sendet trotzdem).\n");
    EXPECT_EQ(r.out,
              "odd.dat: Diese 6 Werte kann das Gerät nicht so übernehmen, wie sie eingestellt "
              "sind:\n"
              "  Preset 1, Kanal 1, Verzögerung: 2801 Taps, die Verzögerungsleitung fasst "
              "höchstens 420\n"
              "  Preset 1, Kanal 2, EQ2 Q: Code 0 → Code 256\n"
              "  Preset 2, Kanal 1, Pegel: 7 dB → -6 dB\n"
              "  Preset 3, Kanal 6, Hochpass-Typ: Code 12 → Code 12 (kennt das Gerät nicht)\n"
              "  Preset 3, Kanal 6, Eingang: Code 3 → Code 3 (kennt das Gerät nicht)\n"
              "  Preset 4, Kanal 3, Tiefpass-Frequenz: 30 Hz → 0 Hz\n");
    EXPECT_TRUE(line.received(1).empty());
    EXPECT_FALSE(fs::exists("Son_Send.bin"));
    EXPECT_TRUE(ui.messages.empty());

    r = run({"send", "odd.dat", "--port", "COM1", "--force", "--no-pause"});
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(line.memory(1), encodeWireImage(odd));
    ASSERT_EQ(ui.messages.size(), 1u);
    EXPECT_EQ(ui.messages[0].title, "Achtung");
    EXPECT_EQ(ui.messages[0].text,
              "Equalizer-Level zu hoch! Dies kann zu Verzerrungen führen.\n"
              "Zuerst über +12 dB: Preset 4, Kanal 2.");
}

TEST_F(CliDevice, SendVerifyReadsTheBlockBackAndExitsWith12OnADifference) {
    line.attachDevice(1);
    line.attachDevice(2, {.corruptByte = static_cast<int>(wireRecordOffset(2, 3)) + WireLevel});

    CliResult r = run({"send", "a.dat", "--port", "COM1", "--verify", "--no-pause"});
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(r.out,
              "Alle Presets an COM1 gesendet und geprüft: das Gerät hat sie unverändert "
              "übernommen.\n");

    r = run({"send", "a.dat", "--port", "COM2", "--verify", "--no-pause"});
    EXPECT_EQ(r.status, CliDeviceDiffers);
    EXPECT_EQ(r.out,
              "Prüfen nach dem Senden an COM2: Das Gerät hat nicht übernommen, was gesendet "
              "wurde. Diese Werte weichen ab:\n"
              "  Preset  Kanal  Einstellung  Gesendet  Im Gerät\n"
              "       3      4  Pegel        -1 dB     0 dB\n");
    EXPECT_EQ(r.err,
              "filtaro-cli: Prüfen nach dem Senden an COM2: Das Gerät hat nicht übernommen, was "
              "gesendet wurde (1 Wert weicht ab).\n");
}

TEST_F(CliDevice, CompareShowsWhereTheDeviceDiffersFromTheFile) {
    line.attachDevice(1, {}, encodeWireImage(sampleImage()));
    line.attachDevice(2);  // the default settings
    line.attachDevice(3, {.silent = true});

    CliResult r = run({"compare", "a.dat", "--port", "COM1"});
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(r.out, "Gerät und Programm stimmen überein.\n");

    r = run({"compare", "a.dat", "--port", "COM2"});
    EXPECT_EQ(r.status, CliDeviceDiffers) << r.err;
    ParameterImage defaults;
    applyDefaults(defaults);
    const auto expected = compareSettings(sampleImage(), received(defaults, defaultWireImage()));
    const std::string heads = "  Preset  Kanal  Einstellung        In der Datei        Im Gerät\n";
    EXPECT_EQ(r.out.rfind("a.dat und das Gerät an COM2 weichen in " +
                              std::to_string(expected.size()) + " Werten ab:\n" + heads,
                          0),
              0u)
        << r.out;
    EXPECT_TRUE(contains(r.out, "\n       1      2  Pegel              -1 dB               0 dB\n"))
        << r.out;
    EXPECT_EQ(std::count(r.out.begin(), r.out.end(), '\n'), 2 + std::ssize(expected));

    EXPECT_EQ(run({"compare", "a.dat", "--port", "COM3"}).status, 6);
    EXPECT_EQ(run({"compare", "a.dat", "--port", "COM9"}).status, 1);
    EXPECT_EQ(run({"compare", "missing.dat", "--port", "COM1"}).status, CliDeviceInputError);
    EXPECT_EQ(loaded("a.dat"), sampleImage()) << "compare writes nothing";
}

TEST_F(CliDevice, PortsThatDoNotOpenExitWithCodeOne) {
    line.attachDevice(3);
    line.holdPort(3);
    for (const char* name : {"COM3", "COM4"}) {  // held by another, not there
        const CliResult r = run({"receive", "out.dat", "--port", name});
        EXPECT_EQ(r.status, 1) << name;
        EXPECT_TRUE(contains(r.err, std::string("Port ") + name)) << r.err;
        EXPECT_TRUE(contains(r.err, "Schnittstelle antwortet nicht (Code -1)")) << r.err;
    }
    EXPECT_FALSE(fs::exists("out.dat"));
}

TEST_F(CliDevice, UnusableArgumentsAndFilesStopBeforeTheLine) {
    line.attachDevice(1);
    writeFileBytes("short.dat", std::string(ParameterFileSize - 1, '\0'));
    const std::vector<std::vector<std::string>> calls = {
        {"send", "short.dat", "--port", "COM1"},
        {"send", "missing.dat", "--port", "COM1"},
        {"send", "a.dat", "--port", "COM1", "--baud", "0"},
        {"send", "a.dat", "--port", "COM1", "--baud", "fast"},
        {"send", "a.dat", "--port", ""},
        {"send", "a.dat", "b.dat"},
        {"send", "a.dat", "--speed", "1"},
        {"receive", "out.dat", "--base", "short.dat", "--port", "COM1"},
        {"receive"},
        {"search", "COM1"},
    };
    for (const auto& call : calls) {
        const CliResult r = run(call);
        EXPECT_EQ(r.status, CliDeviceInputError) << call[1];
        EXPECT_TRUE(contains(r.err, "filtaro-cli: ")) << call[1];
    }
    EXPECT_FALSE(fs::exists("out.dat"));
    EXPECT_FALSE(fs::exists("Son_Send.bin")) << "nothing was attempted";
    EXPECT_TRUE(line.received(1).empty());
}

TEST_F(CliDevice, ReceiveIntoAnUnwritableFileKeepsTheDataInTheDump) {
    line.attachDevice(1);
    fs::create_directory("taken");
    const CliResult r = run({"receive", "taken", "--port", "COM1"});
    EXPECT_EQ(r.status, CliDeviceInputError);
    EXPECT_TRUE(contains(r.err, "taken: Datei konnte nicht gespeichert werden")) << r.err;
    EXPECT_TRUE(contains(r.err, "Son_Receive.bin")) << r.err;
    EXPECT_EQ(fs::file_size("Son_Receive.bin"), WireImageSize);
}

TEST_F(CliDevice, SearchPrintsTheOutcomeOnce) {
    CliResult r = run({"search"});
    EXPECT_EQ(r.status, 1);
    EXPECT_EQ(r.out, "");
    EXPECT_EQ(r.err, "filtaro-cli: Ger\xC3\xA4t wurde an keiner Schnittestelle gefunden!\n");
    EXPECT_FALSE(fs::exists(IniFileName));

    line.attachDevice(4);
    r = run({"search"});
    EXPECT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(r.out, "Ger\xC3\xA4t an Port COM4 gefunden!\n");
    EXPECT_EQ(r.err, "");
    EXPECT_EQ(loadIniSettings().portName, "COM4");
}

TEST_F(CliDevice, EncodeAndDecodeTheWireImage) {
    CliResult r = runCliCommand({"encode", "a.dat", "wire.bin"});
    ASSERT_EQ(r.status, 0) << r.err;
    const WireImage wire = encodeWireImage(sampleImage());
    EXPECT_EQ(readFileBytes("wire.bin"), std::string(wire.begin(), wire.end()));

    // Decoding a block gives the image a receive of the same block gives,
    // the six-channel flag included.
    ParameterImage base;
    applyDefaults(base);
    base.setSixChannels(0);
    base.setRedrawPending(0);
    ASSERT_EQ(saveParameterFile(base, "base.dat"), 0);
    r = runCliCommand({"decode", "wire.bin", "base.dat", "out.dat"});
    ASSERT_EQ(r.status, 0) << r.err;
    line.attachDevice(1, {}, wire);
    r = run({"receive", "in.dat", "--base", "base.dat", "--port", "COM1"});
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(loaded("out.dat"), loaded("in.dat"));
    EXPECT_EQ(loaded("out.dat").sixChannels(), 1);

    for (std::size_t size : {WireImageSize - 1, WireImageSize + 1, std::size_t{0}}) {
        writeFileBytes("bad.bin", std::string(size, '\x01'));
        r = runCliCommand({"decode", "bad.bin", "base.dat", "bad.dat"});
        EXPECT_EQ(r.status, 1) << size;
        EXPECT_EQ(r.err, "filtaro-cli: bad.bin: Datei konnte nicht geöffnet werden (" +
                             std::to_string(size) + " Bytes statt 624).\n");
    }
    EXPECT_EQ(runCliCommand({"decode", "wire.bin", "missing.dat", "bad.dat"}).status, 1);
    EXPECT_EQ(runCliCommand({"encode", "wire.bin", "bad.bin"}).status, 1);
    EXPECT_FALSE(fs::exists("bad.dat"));
}

// The executables as a user runs them: filtaro-cli against filtaro-devsim,
// which prints its pty, links it, keeps its memory in a file and cleans up
// when terminated.
int runProcess(const std::string& command) {
    const int status = std::system(command.c_str());
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

// The simulator process stores a block a moment after the write returns; the
// program leaves it seconds. Bounded so that a broken simulator fails the test.
bool eventuallyHolds(const std::string& path, const std::string& content) {
    for (int i = 0; i < 5000 && readFileBytes(path) != content; ++i) {
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
    }
    return readFileBytes(path) == content;
}

TEST(CliDeviceProcess, SendAndReceiveAgainstTheSimulatorProcess) {
    const char* cli = std::getenv("FILTARO_CLI");
    ASSERT_TRUE(cli != nullptr && *cli != '\0');
    ScratchDir cwd(true);
    ScratchDir ports;
    ScopedEnv portDir("FILTARO_PORT_DIR", ports.path().string());
    const std::string link = ports.file("COM1");
    DevsimProcess good({"--link", link, "--memory", cwd.file("memory.bin")});
    DevsimProcess bad({"--link", ports.file("COM2"), "--fault", "wrong-ack"});
    EXPECT_EQ(fs::read_symlink(link), good.ptyPath());
    ASSERT_EQ(saveParameterFile(sampleImage(), "a.dat"), 0);
    const std::string exe = std::string("'") + cli + "' ";
    const WireImage sent = encodeWireImage(sampleImage());
    const std::string sentBytes(sent.begin(), sent.end());

    EXPECT_EQ(runProcess(exe + "send a.dat --port COM1 --no-pause >out.txt 2>err.txt"), 0)
        << readFileBytes("err.txt");
    EXPECT_TRUE(eventuallyHolds("memory.bin", sentBytes));
    // A device path works as a port name too.
    EXPECT_EQ(
        runProcess(exe + "receive b.dat --port '" + link + "' --base a.dat >out.txt 2>err.txt"), 0)
        << readFileBytes("err.txt");
    EXPECT_EQ(loaded("b.dat"), received(sampleImage(), sent));
    EXPECT_EQ(runProcess(exe + "receive c.dat --port COM2 >out.txt 2>err.txt"), 6);
    EXPECT_TRUE(contains(readFileBytes("err.txt"), "Handshake-Fehler")) << readFileBytes("err.txt");
    EXPECT_FALSE(fs::exists("c.dat"));
    // A port another program holds, as a window of this one does: that is
    // what the line says, not that the device does not answer.
    {
        SerialPort window;
        ASSERT_EQ(window.open(devicePathForPort("COM1"), 9600), CommOk);
        EXPECT_EQ(runProcess(exe + "receive d.dat --port COM1 >out.txt 2>err.txt"), 1);
        EXPECT_EQ(readFileBytes("err.txt"),
                  "filtaro-cli: Port COM1 wird schon von einem anderen Programm benutzt "
                  "(vielleicht von Filtaro): Schnittstelle antwortet nicht (Code -1)\n");
    }

    EXPECT_EQ(good.stop(), 0);
    EXPECT_FALSE(fs::exists(fs::symlink_status(link)));
    EXPECT_EQ(readFileBytes("memory.bin"), sentBytes);
    EXPECT_THROW(DevsimProcess({"--fault", "loud"}), std::runtime_error);
}

}  // namespace
