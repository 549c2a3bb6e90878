#include "document/Document.h"

#include <algorithm>
#include <filesystem>
#include <utility>

#include "device/DeviceCompare.h"
#include "device/PresetTransfer.h"
#include "document/CopyRecords.h"
#include "document/FileFailureTexts.h"
#include "document/FileNameOfPath.h"
#include "model/SettingsEdit.h"
#include "platform/CurrentDirectory.h"
#include "platform/UserServices.h"
#include "platform/Utf8Path.h"
#include "storage/ParameterFile.h"

namespace {

constexpr const char* StartupLoadFailed =
    "Datei Filtaro.dat konnte nicht geöffnet werden!\nProgramm wird beendet.";
constexpr const char* StartupFileTitle = "Achtung";
constexpr const char* MeasurementTitle = "Messung laden";

std::string fullPath(const std::string& path) {
    std::error_code error;
    const std::filesystem::path full = std::filesystem::absolute(pathFromUtf8(path), error);
    return error ? path : utf8FromPath(full.lexically_normal());
}

std::string numbered(const char* pattern, int a, int b) {
    std::string text = pattern;
    text.replace(text.find("%1"), 2, std::to_string(a));
    if (const std::size_t at = text.find("%2"); at != std::string::npos) {
        text.replace(at, 2, std::to_string(b));
    }
    return text;
}

// Like replayStep for the image: what the step changed takes its value in
// `to`, the rest stays as it is now.
SideFile replaySide(SideFile current, const SideFile& from, const SideFile& to) {
    for (int c = 0; c < ChannelCount; ++c) {
        if (from.channelNames[c] != to.channelNames[c]) {
            current.channelNames[c] = to.channelNames[c];
        }
        if (from.measurements[c] != to.measurements[c]) {
            current.measurements[c] = to.measurements[c];
        }
    }
    if (from.overlay != to.overlay) current.overlay = to.overlay;
    if (from.original != to.original) current.original = to.original;
    return current;
}

}  // namespace

Document::Document(BytePort& port)
    : m_port(port), m_backups([this](const std::string& message) {
          if (m_observer) m_observer->onNotice(message);
      }) {}

std::string Document::defaultFilePath() const {
    if (m_startupDirectory.empty()) {
        return DefaultFileName;
    }
    return utf8FromPath(pathFromUtf8(m_startupDirectory) / DefaultFileName);
}

// --- Start-up and end --------------------------------------------------------

bool Document::startUp() {
    m_startupDirectory = currentDirectory();
    m_state.fileName = defaultFilePath();
    const std::string notice = m_startupFile.prepare(defaultFilePath(), m_backups);
    if (!notice.empty()) {
        userServices().messageBox(notice, StartupFileTitle, MessageIcon::Warning);
    }
    newRoutine();
    if (!m_startupFile.kept() && loadParameterFile(m_state.image, defaultFilePath()) != 1) {
        userServices().messageBox(StartupLoadFailed, ErrorTitle, MessageIcon::None);
        m_ended = true;
        return false;
    }
    // Files record the directory the program started in; the save at
    // program end goes to the current file, wherever that is.
    m_state.image.setWorkingDirectory(m_startupDirectory);
    return true;
}

bool Document::receiveAtStartUp() {
    if (receiveAllPresets(m_state.image, m_port) != CommOk) {
        return false;
    }
    rememberDeviceSettings(m_state.image);
    return true;
}

void Document::loadSideFileAtStartUp() {
    loadSideFileOf(m_state.fileName);
}

void Document::startHistory() {
    m_history.clear();
    m_base = m_state.image;
    m_recording = true;
    if (m_observer) m_observer->onHistoryChanged();
}

void Document::saveAtProgramEnd() {
    if (std::exchange(m_ended, true)) {
        return;  // start-up ended early, or saved already
    }
    ParameterImage& image = m_state.image;
    image.setTabMarker(0);
    image.setActivePreset(0);
    // The current file, which the user opened or saved (or "Filtaro.dat" in
    // the start-up directory); never the directory a file brought along,
    // which another run, perhaps on another machine, recorded.
    const std::string path = m_state.fileName.empty() ? defaultFilePath() : m_state.fileName;
    // Filtaro.dat is the program's own: never written through a link, and
    // not over what the start-up kept unless the user says so.
    const bool own = path == defaultFilePath();
    if (own && !m_startupFile.mayWriteAtProgramEnd(path, image, m_backups)) {
        return;
    }
    if ((own ? saveOwnParameterFile(image, path) : saveParameterFile(image, path)) != 0) {
        userServices().messageBox(FileSaveFailedText, ErrorTitle, MessageIcon::Stop);
    } else {
        saveSideFileOf(path);
    }
}

// --- Operations ----------------------------------------------------------------

void Document::newRoutine() {
    applyDefaults(m_state.image);
    setTitle(TitleNewFile);
    m_startupFile.write(defaultFilePath(), m_state.image);
}

void Document::newFile() {
    step("Neu", [this] {
        m_backups.keepImage(m_state.image, BackupOccasion::BeforeNew);
        newRoutine();
        settingsReplaced();
        m_state.side = {};
        if (m_observer) m_observer->onChannelNamesChanged();
        followMeasurements();
        // "Filtaro.dat" in the start-up directory, which has the defaults
        // now, is the current file again: the save at program end must not
        // write the defaults over the file opened or saved before.
        m_state.fileName = defaultFilePath();
        redraw();
    });
}

bool Document::open(const std::string& path) {
    return openSettingsFile(path, false);
}

bool Document::loadBackup(const std::string& path) {
    return openSettingsFile(path, true);
}

bool Document::openSettingsFile(const std::string& path, bool backup) {
    bool opened = false;
    step((backup ? "Laden der Sicherung " : "Öffnen von ") + fileNameOfPath(path), [&] {
        ParameterImage& image = m_state.image;
        const ParameterImage before = image;
        // A file that is missing, unreadable or not exactly one image long is
        // refused whole; the image, the title and the file name stay.
        if (loadParameterFile(image, path) != 1) {
            userServices().messageBox(FileOpenFailedText, ErrorTitle, MessageIcon::None);
            return;
        }
        // The file's header comes along as stored (plot range, working
        // directory, channel count, shown curves); which preset and tab were
        // selected when it was saved does not.
        image.setTabMarker(0);
        image.setActivePreset(0);
        settingsReplaced();
        redraw();
        m_backups.keepImage(before, BackupOccasion::BeforeOpen);
        // A backup's settings replace those on screen, but the current file
        // stays: the save at program end never writes into the backups.
        if (!backup) {
            setFileName(path);
            loadSideFileOf(path);
        }
        opened = true;
    });
    return opened;
}

bool Document::saveAs(const std::string& path) {
    ParameterImage& image = m_state.image;
    m_backups.keepFile(path, BackupOccasion::BeforeSave, image);
    // The name and the title change only once the file really holds the
    // image: a title naming a file that was never written would be a lie,
    // and the save at program end would go to that name. The previous file
    // of that name is never destroyed by a failed save.
    bool saved = false;
    if (saveParameterFile(image, path) == 0) {
        setFileName(path);
        // The names and measurements go with the file; a failure to write
        // them is reported and leaves the settings saved.
        saveSideFileOf(path);
        saved = true;
    } else {
        userServices().messageBox(FileSaveFailedText, ErrorTitle, MessageIcon::Stop);
    }
    redraw();
    return saved;
}

bool Document::apply(const std::string& name, const std::function<void(ParameterImage&)>& change) {
    return step(name, [&] {
        ParameterImage next = m_state.image;
        change(next);
        m_state.image = next;
        redraw();
        settingsReplaced();
    });
}

CommErrorCode Document::receive() {
    CommErrorCode result = CommOk;
    step("Empfangen", [&] {
        const ParameterImage before = m_state.image;
        result = receiveAllPresets(m_state.image, m_port);
        if (result == CommOk) {
            m_backups.keepImage(before, BackupOccasion::BeforeReceive);
            rememberDeviceSettings(m_state.image);
        }
        // After a failure the image is unchanged; the refresh then only
        // brings back what a copy dialog may have changed meanwhile.
        settingsReplaced();
    });
    return result;
}

void Document::takeDeviceSettings(const ParameterImage& device) {
    m_backups.keepImage(m_state.image, BackupOccasion::BeforeReceive);
    apply(TakeDeviceSettingsText, [&device](ParameterImage& image) { image = device; });
}

void Document::copyChannel(int source, int target) {
    step(numbered("Kanal %1 nach Kanal %2 kopieren", source + 1, target + 1), [&] {
        copyChannelInActivePreset(m_state.image, source, target);
        // On screen at once, as an undo is: a panel still showing the values
        // from before would write only the field the user edits next into a
        // channel that holds something else.
        settingsReplaced();
        redraw();
    });
}

void Document::copyPreset(int source, int target) {
    step(numbered("Preset %1 nach Preset %2 kopieren", source + 1, target + 1), [&] {
        ::copyPreset(m_state.image, source, target);
        settingsReplaced();
        redraw();
    });
}

void Document::setPlotRange(int startHz, int endHz) {
    step("Grafikoptionen", [&] {
        m_state.image.setPlotStartHz(startHz);
        m_state.image.setPlotEndHz(endHz);
        redraw();
    });
}

void Document::nameChannel(int channel, const std::string& name) {
    if (channel < 0 || channel >= ChannelCount) return;
    step(numbered("Kanal %1 benennen", channel + 1, 0), [&] {
        m_state.side.channelNames[static_cast<std::size_t>(channel)] = name;
        if (m_observer) m_observer->onChannelNamesChanged();
        redraw();  // the readout names the channel
    });
}

bool Document::loadMeasurement(int channel, const std::string& path, bool add) {
    if (channel < 0 || channel >= ChannelCount) return false;
    // A file that cannot be read changes nothing: the channel keeps what it
    // showed.
    const MeasurementFileRead read = readMeasurementFile(path);
    if (!read.measurement) {
        userServices().messageBox(read.message, ErrorTitle, MessageIcon::Stop);
        return false;
    }
    const std::string full = fullPath(path);
    MeasurementList& files = m_state.side.measurements[static_cast<std::size_t>(channel)];
    if (add && std::find(files.begin(), files.end(), full) != files.end()) {
        userServices().messageBox(
            "Die Messung \"" + baseNameOfPath(full) + "\" gehört schon zu diesem Kanal.",
            MeasurementTitle, MessageIcon::Information);
        return false;
    }
    step("Messung " + baseNameOfPath(full) + (add ? " hinzufügen" : " laden"), [&] {
        m_overlay.take(full, *read.measurement);
        if (!add) files.clear();
        files.push_back(full);
        followMeasurements();
    });
    if (!read.notice.empty()) {
        userServices().messageBox(read.notice, MeasurementTitle, MessageIcon::Information);
    }
    return true;
}

void Document::removeMeasurement(int channel) {
    if (channel < 0 || channel >= ChannelCount) return;
    step("Messung entfernen", [&] {
        m_state.side.measurements[static_cast<std::size_t>(channel)].clear();
        followMeasurements();
    });
}

void Document::toggleOverlayOption(OverlayOption option) {
    static constexpr const char* Names[] = {"Messung normalisieren", "Gemeinsam normalisieren",
                                            "Vorhersage zeigen"};
    step(Names[static_cast<int>(option)], [&] {
        OverlayOptions& options = m_state.side.overlay;
        bool& value = option == OverlayOption::Normalise      ? options.normalise
                      : option == OverlayOption::SharedOffset ? options.sharedOffset
                                                              : options.predicted;
        value = !value;
        redraw();
    });
}

void Document::setAveraging(Averaging averaging) {
    static constexpr const char* Names[] = {"Mittelung der Leistung", "Mittelung in dB",
                                            "Vektorielle Mittelung"};
    step(Names[static_cast<int>(averaging)], [&] {
        m_state.side.overlay.averaging = averaging;
        redraw();
    });
}

void Document::setSmoothing(int perOctave) {
    step(perOctave > 0 ? "Glättung 1/" + std::to_string(perOctave) + " Oktave" : "Ohne Glättung",
         [&] {
             m_state.side.overlay.smoothing = perOctave;
             redraw();
         });
}

bool Document::applyFit(int preset, int channel, const ChannelRecord& fitted, Averaging averaging,
                        int smoothing) {
    if (preset < 0 || preset >= PresetCount || channel < 0 || channel >= ChannelCount) {
        return false;
    }
    return step(numbered("Automatisch anpassen Kanal %1", channel + 1, 0), [&] {
        m_state.image.setRecord(preset, channel, fitted);
        // The overlay shows the curve the fit worked on.
        m_state.side.overlay.averaging = averaging;
        m_state.side.overlay.smoothing = smoothing;
        redraw();
        settingsReplaced();
    });
}

// --- The device ----------------------------------------------------------------

CommErrorCode Document::send() {
    m_lastSent = encodeWireImage(m_state.image);
    if (m_deviceSettings && encodeWireImage(*m_deviceSettings) != m_lastSent) {
        m_backups.keepImage(*m_deviceSettings, BackupOccasion::BeforeSend);
    }
    const CommErrorCode result = sendAllPresets(m_lastSent, m_port);
    if (result == CommOk) {
        // The settings as the device holds them now: what the wire coding
        // makes of them.
        ParameterImage sent = m_state.image;
        decodeWireImage(m_lastSent, sent);
        rememberDeviceSettings(sent);
    }
    return result;
}

CommErrorCode Document::verifySend(std::vector<FieldDifference>& differences) {
    ParameterImage device;
    const CommErrorCode result =
        verifySentPresets(m_lastSent, m_state.image, m_port, differences, &device);
    if (result != CommOk) {
        forgetDeviceSettings();  // what the device holds is unknown now
    } else {
        // What the device really holds, also where it did not take what was
        // sent: the next send keeps it as a backup before it goes over it.
        rememberDeviceSettings(device);
    }
    return result;
}

// --- The panels' edits and the history ---------------------------------------

bool Document::step(const std::string& name, const std::function<void()>& change) {
    commitEdits();
    const DocumentState before = m_state;
    ++m_busy;
    struct Done {
        int& busy;
        ~Done() { --busy; }
    } done{m_busy};
    change();
    return record(before, name);
}

void Document::commitEdits() {
    if (!m_recording || m_busy != 0 || sameSettings(m_base, m_state.image)) return;
    // The state before the edits: their settings as of the last step, the
    // rest (preset shown, curves, file) as now, so that undoing them puts
    // back only what they changed.
    DocumentState before = m_state;
    before.image = withSettingsOf(m_state.image, m_base);
    const SettingsEdit edit = describeEdit(before.image, m_state.image);
    push(std::move(before), edit.name, edit.fieldKey);
}

bool Document::record(const DocumentState& before, const std::string& name) {
    if (!m_recording) return false;
    // Which preset and tab are shown and the redraw flag are no change; the
    // title follows the file.
    ParameterImage shown = m_state.image;
    shown.setActivePreset(before.image.activePreset());
    shown.setTabMarker(before.image.tabMarker());
    shown.setRedrawPending(before.image.redrawPending());
    if (shown == before.image && before.fileName == m_state.fileName &&
        before.side == m_state.side) {
        return false;
    }
    push(before, name, 0);
    return true;
}

void Document::push(DocumentState before, const std::string& name, int mergeKey) {
    m_base = m_state.image;
    m_history.push({name, std::move(before), m_state, mergeKey});
    if (m_observer) m_observer->onHistoryChanged();
}

void Document::undo() {
    commitEdits();
    if (const DocumentHistory::Step* step = m_history.undo()) {
        replay(step->after, step->before);
    }
}

void Document::redo() {
    commitEdits();
    if (const DocumentHistory::Step* step = m_history.redo()) {
        replay(step->before, step->after);
    }
}

void Document::replay(const DocumentState& from, const DocumentState& to) {
    DocumentState state = m_state;
    state.image = replayStep(state.image, from.image, to.image);
    if (from.fileName != to.fileName) state.fileName = to.fileName;
    if (from.title != to.title) state.title = to.title;
    state.side = replaySide(state.side, from.side, to.side);
    show(state);
    m_base = m_state.image;
    if (m_observer) m_observer->onHistoryChanged();
}

void Document::show(const DocumentState& state) {
    m_state.image = state.image;
    redraw();
    settingsReplaced();
    m_state.fileName = state.fileName;
    if (m_state.side != state.side) {
        m_state.side = state.side;
        if (m_observer) m_observer->onChannelNamesChanged();
        followMeasurements();
    }
    setTitle(state.title);
}

// --- The file and its side file ------------------------------------------------

void Document::setFileName(const std::string& path) {
    m_state.fileName = fullPath(path);
    setTitle(TitleFilePrefix + fileNameOfPath(path));
}

void Document::setTitle(const std::string& title) {
    if (m_state.title == title) return;
    m_state.title = title;
    if (m_observer) m_observer->onTitleChanged();
}

void Document::loadSideFileOf(const std::string& parameterFile) {
    SideFileLoad load = loadSideFile(parameterFile);
    m_state.side = std::move(load.data);
    // The measurement files are held as full paths.
    for (MeasurementList& files : m_state.side.measurements) {
        for (std::string& path : files) path = measurementFilePath(parameterFile, path);
    }
    followMeasurements();
    if (m_observer) m_observer->onChannelNamesChanged();
    if (load.state == SideFileState::Broken) {
        userServices().messageBox(load.message, ErrorTitle, MessageIcon::Warning);
    }
}

bool Document::saveSideFileOf(const std::string& parameterFile) {
    const std::string path = sideFilePath(parameterFile);
    std::error_code error;
    // A side file already there is brought up to date even when nothing is
    // left to keep, so that names taken away do not come back.
    if (!sideFileHasContent(m_state.side) && !std::filesystem::exists(pathFromUtf8(path), error)) {
        return true;
    }
    // Stored relative to the parameter file's folder when a measurement
    // lies in or below it.
    SideFile stored = m_state.side;
    for (MeasurementList& files : stored.measurements) {
        for (std::string& path : files) path = storedMeasurementPath(parameterFile, path);
    }
    if (saveSideFile(parameterFile, stored)) return true;
    userServices().messageBox("Die Zusatzdatei \"" + fileNameOfPath(path) +
                                  "\" konnte nicht gespeichert werden; Kanalnamen und Messungen "
                                  "sind dort nicht gesichert.",
                              ErrorTitle, MessageIcon::Stop);
    return false;
}

void Document::followMeasurements() {
    for (const std::string& message : m_overlay.follow(m_state.side.measurements)) {
        userServices().messageBox(message, ErrorTitle, MessageIcon::Warning);
    }
    redraw();
}

void Document::settingsReplaced() {
    if (m_observer) m_observer->onSettingsReplaced();
}
