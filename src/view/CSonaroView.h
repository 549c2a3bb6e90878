#pragma once
// The main view: the form of template 101 that fills the main window, with
// the response plot on the left and, on the right, the channel tabs with their
// panels, the four preset buttons and the send and receive buttons.
//
// The view works on the session the application object hands it: it
// allocates the ParameterImage at start-up and saves and frees it when it is
// destroyed. Its 10 ms timer is the only place that recomputes the channel
// responses and redraws the plot, and only when `redrawPending` is 1.
//
// Every change of the settings is a step of the undo history: the timer
// makes the panels' edits steps before it redraws, commands that change the
// settings in one go record theirs through a ChangeScope, and applyChange()
// is the way in for a change made elsewhere.
//
// Commands arrive by id (onCommand) from the main frame; the form's own
// buttons run theirs directly. The handlers live in CSonaroView*Commands.cpp
// files and are listed in commandTable() (CSonaroViewCommandTable.cpp).
// The view knows nothing of the window around it: it reports through its
// signals (title, status text, command states) and sizes the top-level
// window it sits in.

#include <QString>
#include <QWidget>
#include <array>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "plotmodel/PlotView.h"
#include "response/ChannelResponse.h"
#include "response/ComplexResponse.h"
#include "storage/SideFile.h"
#include "view/FileDialogs.h"
#include "view/Session.h"
#include "view/SettingsBackups.h"
#include "view/SettingsHistory.h"
#include "view/StartupFile.h"

class QAction;
class QGroupBox;
class QRadioButton;
class CChannelTabCtrl;
class CResponsePlot;
class CShadeButton;
class CWelcomeDlg;
class MeasurementOverlay;
struct ViewLayoutInput;

// Main window titles the view sets.
constexpr const char* TitleNewFile = "Filtaro - Neue Datei";
constexpr const char* TitleFilePrefix = "Klarwelle Filtaro - ";

class CSonaroView : public QWidget {
    Q_OBJECT

public:
    // `session` must outlive the view.
    explicit CSonaroView(Session& session, QWidget* parent = nullptr);
    // Program end: saves the image to the current file and frees it. A
    // failed save is reported, not swallowed.
    ~CSonaroView() override;

    // The start-up sequence. False when the program must end at once (the
    // freshly written "Filtaro.dat" could not be read back); the image is
    // then already freed and nothing will be saved.
    bool onInitialUpdate();

    // --- Command routing -------------------------------------------------
    using CommandHandler = void (CSonaroView::*)(int id);
    using UpdateHandler = void (CSonaroView::*)(int id, QAction& action);
    struct CommandEntry {
        int firstId;
        int lastId;  // a range of ids sharing one handler
        CommandHandler handler;
        UpdateHandler update;  // nullptr: always enabled, state untouched
    };
    // The view's command map, in CSonaroViewCommandTable.cpp.
    static const std::vector<CommandEntry>& commandTable();
    // The entry that handles `id`, or nullptr.
    static const CommandEntry* findCommand(int id);

    // Runs the view's handler of `id`; false when the view has none.
    bool onCommand(int id);
    // Brings `action`'s state up to date; false when the view has no
    // handler for `id`.
    bool onUpdateCommand(int id, QAction& action);

    // --- The New routine ---------------------------------------------------
    enum class NewVariant {
        Startup,  // panels are not refreshed; the tabs are not switched
        User,     // the New command: panels refreshed, tabs back to channel 1
    };
    // Defaults into the image, preset 1 selected, title "Filtaro - Neue
    // Datei", the defaults saved to "Filtaro.dat" in the start-up directory.
    // The session's file name is not changed.
    void newRoutine(NewVariant variant);
    // "Filtaro.dat" in the start-up directory.
    std::string defaultFilePath() const;

    // --- Undo history --------------------------------------------------------
    // The settings and the file they belong to, as an undo step keeps them.
    SettingsState currentState() const;
    // Puts `state` on screen: image, preset buttons, panels, plot, file and
    // title.
    void showState(const SettingsState& state);
    // Makes the panels' edits since the last step one undo step (the timer
    // does this before each redraw, every command first of all).
    void commitEdits();
    // Replaces the settings by `image` as one undo step named `name`, and
    // shows them: the way in for a change made outside the view (an import).
    void applyChange(const QString& name, const ParameterImage& image);
    SettingsHistory& history() { return *m_pHistory; }

    // A command that changes the settings in one go: the edits before it
    // become a step of their own, the timer makes no steps meanwhile, and
    // record() makes what changed since the start (or the last record) one
    // step.
    class ChangeScope {
    public:
        explicit ChangeScope(CSonaroView& view);
        ~ChangeScope();
        ChangeScope(const ChangeScope&) = delete;
        ChangeScope& operator=(const ChangeScope&) = delete;
        bool record(const QString& name);

    private:
        CSonaroView& m_view;
        SettingsState m_before;
    };

    // --- Pieces the commands share ------------------------------------------
    // Back to channel 1 (New, Open): tab 0 selected, panel 1 shown with the
    // keyboard focus.
    void switchToFirstChannel();
    // Preset states: 0 = that preset button selected, 1 = not.
    void setPresetStates(int selected);
    // Writes the view's data (the preset states) to its controls.
    void writeControls();
    // Reads the preset states back from the buttons.
    void readControls();
    // Refreshes all six channel panels from the image (no-op before the
    // panels exist).
    void refreshPanels();
    // The redraw step of the timer: when `redrawPending` is 1, recomputes the
    // six responses, draws and shows the plot, clears the flag. Returns
    // whether it drew.
    bool redrawStep();
    // Places the controls for a view of cx x cy pixels and redraws the plot.
    void layoutControls(int cx, int cy);

    ParameterImage* image() const { return m_session.image.get(); }
    Session& session() const { return m_session; }
    CResponsePlot* plot() const { return m_pPlot; }
    CChannelTabCtrl* channelTabs() const { return m_pTabs; }
    CShadeButton* sendButton() const { return m_pSend; }
    CShadeButton* receiveButton() const { return m_pReceive; }
    QRadioButton* presetButton(int i) const { return m_presetButtons.at(i); }
    const std::array<int, 4>& presetStates() const { return m_anPresetState; }
    ChannelResponses& responses() { return *m_pResponses; }
    // The complex responses of the last redraw; computed only while the
    // plot's view needs them (phase, group delay, sums).
    const ComplexResponses& complexResponses() const { return *m_pComplex; }
    // The plot's view and whether it shows the sums.
    const PlotViewChoice& plotView() const { return m_plotView; }
    // How many times the timer has redrawn the plot (for tests and the
    // screenshot run, which waits for the first one).
    int redrawCount() const { return m_nRedrawCount; }

    // Constants of the view.
    static constexpr int RedrawTimerId = 1105;
    static constexpr int RedrawPeriodMs = 10;
    static constexpr int MainWindowX = 100;
    static constexpr int MainWindowY = 0;
    static constexpr int MainWindowWidth = 1200;
    static constexpr int MainWindowHeight = 700;
    static constexpr const char* DefaultFileName = "Filtaro.dat";
    // Controls of template 101 that are no command buttons.
    static constexpr int PlotId = 1123;
    static constexpr int TabId = 1023;
    static constexpr int PresetFrameId = 1049;

    // --- Commands (CSonaroView*Commands.cpp) ---------------------------------
    void onFileNew(int id);
    void onFileOpen(int id);
    void onFileSave(int id);
    void onSend(int id);
    void onReceive(int id);
    void onComPort(int id);
    void onDeviceSearch(int id);
    void onPreset(int id);  // 1025..1028
    void onShowChannel(int id);
    void onUpdateShowChannel(int id, QAction& action);
    void onCopyChannel(int id);
    void onCopyPreset(int id);
    void onGraphOptions(int id);
    void onEditUndo(int id);
    void onUpdateEditUndo(int id, QAction& action);
    void onEditRedo(int id);
    void onUpdateEditRedo(int id, QAction& action);
    void onCompareDevice(int id);
    void onVerifyAfterSend(int id);
    void onUpdateVerifyAfterSend(int id, QAction& action);
    void onLoadBackup(int id);
    void onPlotView(int id);  // CmdViewMagnitude..CmdViewGroupDelay
    void onUpdatePlotView(int id, QAction& action);
    void onShowSums(int id);
    void onUpdateShowSums(int id, QAction& action);
    void onExportPlot(int id);  // CmdExportPlotPng..CmdExportCurvesCsv
    void onLoadMeasurement(int id);
    void onRemoveMeasurement(int id);
    void onUpdateRemoveMeasurement(int id, QAction& action);
    void onOverlayOption(int id);  // CmdNormaliseMeasurements, CmdShowPrediction
    void onUpdateOverlayOption(int id, QAction& action);

    // --- The measurement overlay (CSonaroViewMeasurementCommands.cpp) --------
    // The channel of the selected tab, which "Messung laden..." loads for.
    int activeChannel() const;
    // The measurement files of the side file are held as full paths: the
    // side file of `parameterFile` as read turned into that (and the files
    // read), and back into the form it is stored in beside `parameterFile`,
    // relative to its folder when a measurement lies in or below it.
    void resolveMeasurementPaths(const std::string& parameterFile);
    SideFile storedSideFile(const std::string& parameterFile) const;
    void onImportFilters(int id);
    void onExportFilterSettings(int id);
    void onNameShownChannel(int id);
    // "Kanal benennen" for channel `channel` (0..5): one undo step.
    void nameChannel(int channel);

    // --- The side file (CSonaroViewSideFile.cpp) ------------------------------
    // Channel names, measurements and the overlay's options of the current
    // file. Whoever changes them does so in a ChangeScope, so that the
    // change is an undo step and is saved with the file.
    SideFile& sideFile() { return m_session.side; }
    // The user's name of `channel` (0..5), empty when it has none.
    QString channelName(int channel) const;
    // How texts name the channel: "Kanal 2 (Hochton links)", or "Kanal 2".
    QString channelDisplayName(int channel) const;
    // Reads the side file of `parameterFile` into the session (defaults when
    // there is none); a broken one is reported once, here, and ignored.
    void loadSideFileOf(const std::string& parameterFile);
    // Writes the side file beside `parameterFile` when it has anything to
    // keep, or a side file is there already. A failure is reported; false
    // then.
    bool saveSideFileOf(const std::string& parameterFile);
    // The names as the tabs' tooltips.
    void showChannelNames();
    // The session's file name (made a full path) and the title after Open
    // and Save.
    void setFileName(const std::string& path);

signals:
    // The main window's title is now `title`.
    void titleChanged(const QString& title);
    // The status bar's message pane should show `text` now, before the
    // caller blocks the event loop.
    void statusTextChanged(const QString& text);
    // Checked and enabled states of the commands may have changed.
    void commandStatesChanged();
    // After each drawing of the plot by the timer.
    void redrawn();
    // A note for the status bar that outlasts the status texts of the
    // command that caused it (a backup that could not be written).
    void noticeShown(const QString& text);
    // How a command ended, for the status bar's message pane, where it
    // stays a while unless another status text replaces it ("Gesendet und
    // geprüft: ...").
    void resultShown(const QString& text);

protected:
    void timerEvent(QTimerEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    // The steps of the start-up sequence, in order.
    void startRedrawing();
    bool startFromDefaults();
    void recordWorkingDirectory();
    void openConfiguredPort();
    void placeMainWindow();
    void drawFirstPlot();
    void shadeTransferButtons();
    bool receiveDevicePresets();
    void createChannelPanels();
    void arrangeTabOrder();
    void showDevicePresetsOrAskForHardware(bool deviceAnswered, CWelcomeDlg& welcome);

    // The client size and the sizes of the fixed controls, for the layout.
    ViewLayoutInput layoutInput(int cx, int cy) const;
    // A click on one of the form's own command buttons.
    void onButtonCommand(int id);
    void onTabSelChange(int index);
    // After each copy of a channel or preset: the panels and the plot show it.
    void showCopy();
    // Draws the plot into its back buffer and copies it to the screen.
    void drawPlot();
    // The complex responses while the view uses them, else null.
    const ComplexResponses* complexResponsesInUse() const;
    void saveAtProgramEnd();
    // Open and "Sicherung laden": the settings of the file at `path` on
    // screen, preset 1 and channel 1 shown, as one undo step; a backup's
    // leave the current file as it is.
    void openSettingsFile(const std::string& path, bool backup);
    // The file dialog of `kind`, starting in the current file's folder.
    std::optional<std::string> askFile(FileDialogKind kind);
    // After a send: reads the block back and shows where the device differs.
    // True when the device holds what was sent.
    bool verifySend();
    // What the device holds now, as far as this run knows.
    void rememberDeviceSettings(const ParameterImage& device);
    // Reads the measurement files the side file names anew, drops those it no
    // longer names, reports each that cannot be read once, and redraws.
    void followMeasurements();
    // The measurements and predictions of the shown channels in `content`.
    void addOverlayCurves(PlotContent& content);

    Session& m_session;
    std::array<QRadioButton*, 4> m_presetButtons{};  // presets 1..4 (ids 1025..1028)
    QGroupBox* m_pPresetFrame = nullptr;
    CShadeButton* m_pReceive = nullptr;
    CShadeButton* m_pSend = nullptr;
    CChannelTabCtrl* m_pTabs = nullptr;
    std::array<int, 4> m_anPresetState{0, 1, 1, 1};
    CResponsePlot* m_pPlot = nullptr;
    int m_nTimer = 0;
    std::unique_ptr<ChannelResponses> m_pResponses;
    std::unique_ptr<ComplexResponses> m_pComplex;
    PlotViewChoice m_plotView;
    int m_nRedrawCount = 0;
    std::unique_ptr<SettingsHistory> m_pHistory;
    int m_nChangeScopes = 0;  // commands changing the settings right now
    SettingsBackups m_backups;
    StartupFile m_startupFile;  // "Filtaro.dat" in the start-up directory
    std::unique_ptr<MeasurementOverlay> m_pOverlay;
};
