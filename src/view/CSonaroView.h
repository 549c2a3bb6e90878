#pragma once
// The main view: the form of template 101 that fills the main window, with
// the response plot on the left and, on the right, the channel tabs with their
// panels, the four preset buttons and the send and receive buttons.
//
// The view shows the document the application object hands it. Its 10 ms
// timer is the only place that makes the panels' edits an undo step,
// recomputes the channel responses and redraws the plot, and only when
// `redrawPending` is 1.
//
// Commands arrive by id (onCommand) from the main frame; the form's own
// buttons run theirs the same way. Each command is a row of
// view/CommandTable.cpp with a handler in view/*Commands.cpp, which asks the
// document and shows the result. The view knows nothing of the window
// around it: it reports through its signals (title, status text, command
// states) and sizes the top-level window it sits in.

#include <QString>
#include <QWidget>
#include <array>
#include <memory>
#include <string>

#include "document/Document.h"
#include "plotmodel/PlotView.h"
#include "plotmodel/PreviewCurves.h"
#include "response/ChannelResponse.h"
#include "response/ComplexResponse.h"

class QAction;
class QGroupBox;
class QRadioButton;
class CChannelTabCtrl;
class CResponsePlot;
class CShadeButton;
class CWelcomeDlg;
struct ViewLayoutInput;

class CSonaroView : public QWidget, private DocumentObserver {
    Q_OBJECT

public:
    // `document` must outlive the view.
    explicit CSonaroView(Document& document, QWidget* parent = nullptr);
    // Program end: the document saves the settings to the current file.
    ~CSonaroView() override;

    // The start-up sequence. False when the program must end at once (the
    // freshly written "Filtaro.dat" could not be read back); nothing will be
    // saved then.
    bool onInitialUpdate();

    // Runs the command `id` (the panels' edits first become a step of their
    // own); false when the view has no handler for it.
    bool onCommand(int id);
    // Brings `action`'s state up to date; false when the view has no
    // handler for `id`.
    bool onUpdateCommand(int id, QAction& action);

    Document& document() const { return m_document; }
    ParameterImage& image() const { return m_document.image(); }
    const SideFile& sideFile() const { return m_document.side(); }

    // --- What the commands show ---------------------------------------------
    // Back to channel 1 (New, Open): tab 0 selected, panel 1 shown with the
    // keyboard focus.
    void switchToFirstChannel();
    // Preset states: 0 = that preset button selected, 1 = not.
    void setPresetStates(int selected);
    // Writes the preset states to the buttons.
    void writeControls();
    // Refreshes all six channel panels from the image.
    void refreshPanels();
    // The user's name of `channel` (0..5), empty when it has none.
    QString channelName(int channel) const;
    // What the plot shows from the next redraw on.
    void setPlotView(const PlotViewChoice& view);
    // The curves an open dialog shows in the plot (PreviewCurves.h), from the
    // next redraw on; an empty preview takes them away.
    void setPlotPreview(PlotPreview preview);
    const PlotPreview& plotPreview() const { return m_nextPreview; }
    // The sums the measurements predict, as the last redraw drew them (empty
    // while the sums are not shown).
    const MeasuredSumCurves& measuredSums() const { return m_measuredSums; }

    // The redraw step of the timer: when `redrawPending` is 1, makes the
    // panels' edits a step, recomputes the six responses, draws and shows the
    // plot, clears the flag. Returns whether it drew.
    bool redrawStep();
    // Places the controls for a view of cx x cy pixels and redraws the plot.
    void layoutControls(int cx, int cy);

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
    // The complex responses while the view uses them, else null.
    const ComplexResponses* complexResponsesInUse() const;
    // The plot's view and whether it shows the sums.
    const PlotViewChoice& plotView() const { return m_plotView; }
    // How many times the timer has redrawn the plot (for tests and the
    // screenshot run, which waits for the first one).
    int redrawCount() const { return m_nRedrawCount; }

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
    // What the document reports.
    void onSettingsReplaced() override;
    void onTitleChanged() override;
    void onChannelNamesChanged() override;
    void onHistoryChanged() override;
    void onNotice(const std::string& text) override;

    // Steps of the start-up sequence.
    void openConfiguredPort();
    void placeMainWindow();
    void createChannelPanels();

    // The client size and the sizes of the fixed controls, for the layout.
    ViewLayoutInput layoutInput(int cx, int cy) const;
    void onTabSelChange(int index);
    // Draws the plot into its back buffer and copies it to the screen.
    void drawPlot();

    Document& m_document;
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
    PlotPreview m_nextPreview;         // as set, drawn from the next redraw on
    PlotPreview m_preview;             // as drawn: the plot's readout borrows from it
    MeasuredSumCurves m_measuredSums;  // as drawn, borrowed like the preview
    int m_nRedrawCount = 0;
};
