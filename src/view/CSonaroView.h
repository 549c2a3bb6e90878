#pragma once
// The main view: the form of template 101 that fills the main window, with
// the response plot on the left and, on the right, the channel tabs with their
// panels, the four preset buttons and the send and receive buttons.
//
// The view allocates the ParameterImage at start-up and saves and frees it
// when it is destroyed. Its 10 ms timer is the only place that recomputes the
// channel responses and redraws the plot, and only when `redrawPending` is 1.
//
// Commands arrive by id (onCommand) from the main frame and from the form's
// own buttons; the handlers live in CSonaroView*Commands.cpp files and are
// listed in commandTable() (CSonaroViewCommandTable.cpp).

#include <QWidget>
#include <array>
#include <memory>
#include <string>
#include <vector>

#include "response/ChannelResponse.h"

class QAction;
class QGroupBox;
class QRadioButton;
class QTabWidget;
class CChannelTabCtrl;
class CMainFrame;
class CResponsePlot;
class CShadeButton;
class CSonaroApp;
class ParameterImage;

class CSonaroView : public QWidget {
    Q_OBJECT

public:
    CSonaroView(CSonaroApp& app, CMainFrame& frame, QWidget* parent = nullptr);
    // Program end: saves the image to `workingDirectory` + "/" + the current
    // file name and frees it. A failed save is reported, not swallowed.
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

    // Runs the view's handler of `id`; false when the view has none.
    bool onCommand(int id);
    bool hasCommand(int id) const;
    // Brings `action`'s state up to date; false when the view has no
    // handler for `id`.
    bool onUpdateCommand(int id, QAction& action);

    // --- The New routine ---------------------------------------------------
    enum class NewVariant {
        Startup,  // panels are not refreshed; the tabs are not switched
        User,     // the New command: panels refreshed, tabs back to channel 1
    };
    // Defaults into the image, preset 1 selected, title "Filtaro - Neue
    // Datei", the defaults saved to "Filtaro.dat" in the current directory.
    // The file name of the application is not changed.
    void newRoutine(NewVariant variant);

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

    ParameterImage* image() const;
    CSonaroApp& app() const { return m_app; }
    CMainFrame& frame() const { return m_frame; }
    CResponsePlot* plot() const { return m_pPlot; }
    CChannelTabCtrl* channelTabs() const { return m_pTabs; }
    CShadeButton* sendButton() const { return m_pSend; }
    CShadeButton* receiveButton() const { return m_pReceive; }
    QRadioButton* presetButton(int i) const { return m_presetButtons.at(i); }
    const std::array<int, 4>& presetStates() const { return m_anPresetState; }
    ChannelResponses& responses() { return *m_pResponses; }
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
    static constexpr int PlotId = 1123;
    static constexpr int SendId = 1000;
    static constexpr int ReceiveId = 1001;
    static constexpr int TabId = 1023;
    static constexpr int PresetFrameId = 1049;

    // --- Commands (CSonaroView*Commands.cpp) ---------------------------------
    void OnFileNew(int id);
    void OnFileOpen(int id);
    void OnFileSave(int id);
    void OnSend(int id);
    void OnReceive(int id);
    void OnComPort(int id);
    void OnDeviceSearch(int id);
    void OnPreset(int id);  // 1025..1028
    void OnShowChannel(int id);
    void OnUpdateShowChannel(int id, QAction& action);
    void OnCopyChannel(int id);
    void OnCopyPreset(int id);
    // The application's file name and the title after Open and Save.
    void setFileName(const std::string& path);

signals:
    // After each drawing of the plot by the timer.
    void redrawn();

protected:
    void timerEvent(QTimerEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;

private:
    void onTabSelChange(int index);
    // Draws the plot into its back buffer and copies it to the screen.
    void drawPlot();
    void saveAtProgramEnd();

    CSonaroApp& m_app;
    CMainFrame& m_frame;
    std::array<QRadioButton*, 4> m_presetButtons{};  // presets 1..4 (ids 1025..1028)
    QGroupBox* m_pPresetFrame = nullptr;
    CShadeButton* m_pReceive = nullptr;
    CShadeButton* m_pSend = nullptr;
    CChannelTabCtrl* m_pTabs = nullptr;
    std::array<int, 4> m_anPresetState{0, 1, 1, 1};
    CResponsePlot* m_pPlot = nullptr;
    int m_nTimer = 0;
    std::unique_ptr<ChannelResponses> m_pResponses;
    std::unique_ptr<ParameterImage> m_pImage;  // m_app.m_pImage points here
    int m_nRedrawCount = 0;
};
