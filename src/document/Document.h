#pragma once
// The session without a window: the settings image (always there), the
// current file and its side file, the measurements it names, what the device
// holds as far as this run knows, the backups kept before settings are
// overwritten, and the undo history.
//
// Every change of the settings is one named undo step by construction: each
// operation below records its own step, and apply() is the way in for any
// other change (an import, a fit). The panels write the image directly; the
// window's timer calls commitEdits(), which makes what they changed a step,
// merged per field. While an operation runs (a transfer may take seconds
// and the window's event loop goes on meanwhile) commitEdits() records
// nothing.
//
// Messages go through the platform's user services, as in the core. What the
// window must follow is reported to one observer, without Qt.

#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "device/BytePort.h"
#include "device/CommError.h"
#include "device/SettingsCompare.h"
#include "device/WireImage.h"
#include "document/DocumentHistory.h"
#include "document/MeasurementOverlay.h"
#include "document/SettingsBackups.h"
#include "document/StartupFile.h"
#include "model/ParameterImage.h"
#include "storage/SideFile.h"

// The main window's titles.
constexpr const char* TitleNewFile = "Filtaro - Neue Datei";
constexpr const char* TitleFilePrefix = "Klarwelle Filtaro - ";
constexpr const char* TitleStarted = "Klarwelle Filtaro";

// The file the start-up writes and the program end saves while no other is
// the current file, in the start-up directory.
constexpr const char* DefaultFileName = "Filtaro.dat";

class DocumentObserver {
public:
    virtual ~DocumentObserver() = default;
    // The channel records or the preset shown were replaced: the panels and
    // the preset buttons show the image anew.
    virtual void onSettingsReplaced() {}
    virtual void onTitleChanged() {}
    virtual void onChannelNamesChanged() {}
    // The step that undo or redo would take (or whether there is one).
    virtual void onHistoryChanged() {}
    // A note that outlasts the status texts (a backup that failed).
    virtual void onNotice(const std::string& /*text*/) {}
};

class Document {
public:
    // `port` (the way to the device) must outlive the document.
    explicit Document(BytePort& port);
    Document(const Document&) = delete;
    Document& operator=(const Document&) = delete;

    void setObserver(DocumentObserver* observer) { m_observer = observer; }

    // --- What it holds ------------------------------------------------------
    // The settings; the panels write them directly.
    ParameterImage& image() { return m_state.image; }
    const ParameterImage& image() const { return m_state.image; }
    // The full path of the current file: the one opened or saved last, or
    // "Filtaro.dat" in the start-up directory. The save at program end goes
    // there.
    const std::string& fileName() const { return m_state.fileName; }
    // The main window's title, which follows the file.
    const std::string& title() const { return m_state.title; }
    // What the parameter file cannot hold: channel names, measurements, the
    // overlay's options. Read with the current file, written beside it,
    // reset by New.
    const SideFile& side() const { return m_state.side; }
    // The current directory when the program started, where "FILTARO.INI"
    // and "Filtaro.dat" live.
    const std::string& startupDirectory() const { return m_startupDirectory; }
    // "Filtaro.dat" in the start-up directory.
    std::string defaultFilePath() const;
    // What the device holds as far as this run knows (received, compared or
    // sent since the port was opened).
    const std::optional<ParameterImage>& deviceSettings() const { return m_deviceSettings; }
    BytePort& port() { return m_port; }
    // The measurement files the side file names, as read.
    MeasurementOverlay& overlay() { return m_overlay; }
    const DocumentHistory& history() const { return m_history; }

    // Makes `path` (taken as given) the current file, without reading or
    // writing it and without a step; the title stays. The operations set the
    // file themselves: this is for restoring a session (and for tests).
    void setCurrentFile(const std::string& path) { m_state.fileName = path; }

    // --- Start-up and end ---------------------------------------------------
    // The defaults, written to "Filtaro.dat" and read back (the settings of
    // the last run are kept as a backup first, see StartupFile); the title
    // "Filtaro - Neue Datei". False when the file cannot be read back (the
    // message has been shown): the program ends, and nothing is saved then.
    bool startUp();
    // The device's presets at start-up; a failure has shown its message.
    bool receiveAtStartUp();
    // The side file of the current file, once the window can show its names.
    void loadSideFileAtStartUp();
    // The settings of the start are on screen: the history begins here.
    void startHistory();
    // Start-up is over: the title "Klarwelle Filtaro" (no undo step).
    void showStarted() { setTitle(TitleStarted); }
    // Saves the settings to the current file (and its side file) once; a
    // failure is reported.
    void saveAtProgramEnd();

    // --- Operations: each one named undo step -------------------------------
    // New: the defaults, channel 1's side file and file gone; "Filtaro.dat"
    // the current file again.
    void newFile();
    // Open: the settings of the file at `path`, preset 1 shown; the file is
    // the current one from now on. False (and nothing changed) when it
    // cannot be read.
    bool open(const std::string& path);
    // "Sicherung laden": like open(), but the current file stays.
    bool loadBackup(const std::string& path);
    // Save as: the settings to `path`, which becomes the current file; a
    // failure is reported and changes nothing. Not an undo step of its own,
    // but later undo steps keep the new file.
    bool saveAs(const std::string& path);
    // Any change of the settings, named `name` ("Filter importieren Kanal 2",
    // "Automatisch anpassen Kanal 2"): one step, shown at once. False when
    // it changed nothing.
    bool apply(const std::string& name, const std::function<void(ParameterImage&)>& change);
    // Receives the device's presets into the settings ("Empfangen").
    CommErrorCode receive();
    // The device's settings of a comparison replace those of the program
    // (kept as a backup first).
    void takeDeviceSettings(const ParameterImage& device);
    // Copies in the active preset, and whole presets (0-based indices).
    void copyChannel(int source, int target);
    void copyPreset(int source, int target);
    // The plot's frequency range ("Grafikoptionen").
    void setPlotRange(int startHz, int endHz);
    // The user's name of `channel` (0..5); "" takes it away.
    void nameChannel(int channel, const std::string& name);
    // A measurement file for `channel`: the only one, or with `add` one more
    // (another listening position). A file that cannot be read, or that the
    // channel has already, changes nothing (its message is shown); false
    // then.
    bool loadMeasurement(int channel, const std::string& path, bool add = false);
    // Takes all of the channel's measurement files away.
    void removeMeasurement(int channel);
    enum class OverlayOption { Normalise, SharedOffset, Predicted };
    void toggleOverlayOption(OverlayOption option);
    // How the channels' measurements are averaged and smoothed, for the
    // overlay and the fit.
    void setAveraging(Averaging averaging);
    void setSmoothing(int perOctave);
    // A fit taken over ("Automatisch anpassen Kanal 2"): the channel's new
    // record, and the averaging and smoothing it worked with for the
    // overlay. One step; false when it changed nothing.
    bool applyFit(int preset, int channel, const ChannelRecord& fitted, Averaging averaging,
                  int smoothing);

    // --- The device ----------------------------------------------------------
    // Sends all presets (the settings encoded once, see lastSent()), keeping
    // the device's known settings as a backup first when they differ.
    CommErrorCode send();
    // What the last send put on the wire.
    const WireImage& lastSent() const { return m_lastSent; }
    // Reads the block back after a send; `differences` where the device does
    // not hold what was sent.
    CommErrorCode verifySend(std::vector<FieldDifference>& differences);
    void rememberDeviceSettings(const ParameterImage& device) { m_deviceSettings = device; }
    // Perhaps another device from now on (another port, a search).
    void forgetDeviceSettings() { m_deviceSettings.reset(); }

    // --- The panels' edits and the history ----------------------------------
    // Makes the panels' edits since the last step one step (merged with the
    // step before when both changed the same one field).
    void commitEdits();
    void undo();
    void redo();

    // Sets the redraw flag: the window's timer recomputes and draws.
    void redraw() { m_state.image.setRedrawPending(1); }

private:
    // Runs `change` as the operation named `name`: the edits before it are
    // a step of their own, and what it changed is one step.
    bool step(const std::string& name, const std::function<void()>& change);
    // One step named `name` from `before` to now, if anything changed.
    bool record(const DocumentState& before, const std::string& name);
    void push(DocumentState before, const std::string& name, int mergeKey);
    void replay(const DocumentState& from, const DocumentState& to);
    void show(const DocumentState& state);
    bool openSettingsFile(const std::string& path, bool backup);
    // New's settings: the defaults, preset 1, the title, "Filtaro.dat".
    void newRoutine();
    void setFileName(const std::string& path);
    void setTitle(const std::string& title);
    void loadSideFileOf(const std::string& parameterFile);
    bool saveSideFileOf(const std::string& parameterFile);
    // Reads the measurement files the side file names anew, drops those it
    // no longer names, reports each that cannot be read once.
    void followMeasurements();
    void settingsReplaced();

    BytePort& m_port;
    DocumentObserver* m_observer = nullptr;
    DocumentState m_state;
    std::string m_startupDirectory;
    std::optional<ParameterImage> m_deviceSettings;
    WireImage m_lastSent{};
    SettingsBackups m_backups;
    StartupFile m_startupFile;  // "Filtaro.dat" in the start-up directory
    MeasurementOverlay m_overlay;
    DocumentHistory m_history;
    // The settings as of the last step, undo or redo.
    ParameterImage m_base;
    bool m_recording = false;  // the history runs (from the end of start-up)
    int m_busy = 0;            // operations running
    bool m_ended = false;      // nothing more to save
};
