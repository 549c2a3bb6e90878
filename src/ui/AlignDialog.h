#pragma once
// "Übergang ausrichten": chooses the delay, level and crossover of the
// channels that meet at a crossover from their drivers' measurements, in the
// device's own steps (tuning/CrossoverAlign.h). The user picks the channels
// (two or three on one input side), what may change, the channel that is
// held, the region and the target; every change starts a new search on a
// worker thread: the quick preview first, then the full search, which shows
// its progress when it takes longer than 0.2 s and can be stopped. The
// candidates are listed best first with their scores and what each changes;
// the checks of the measurements, the warnings and what cannot be checked
// are said below them. While the dialog is open the plot shows the sum as
// set and the chosen candidate's sum (previewChanged()). "Übernehmen"
// accepts the chosen candidate; the caller then applies chosen() as one
// step. "Abbrechen" changes nothing.

#include <QDialog>
#include <QString>
#include <array>
#include <functional>
#include <memory>
#include <optional>
#include <vector>

#include "plotmodel/PreviewCurves.h"
#include "tuning/CrossoverAlign.h"
#include "ui/LatestJobRunner.h"
#include "ui/TargetShapeEditor.h"
#include "ui/TuningFoot.h"

class QCheckBox;
class QComboBox;
class QLabel;
class QPlainTextEdit;
class QPushButton;
class QSpinBox;
class QTableWidget;

struct AlignDialogInput {
    QString preset;                                   // "Preset 1"
    std::array<ChannelRecord, ChannelCount> records;  // the preset's channels as they are
    std::array<QString, ChannelCount> names;          // "Kanal 2 (Hochton)"
    // Each channel's measurement of its driver (its first file); no points
    // where the channel has none.
    std::shared_ptr<const std::array<Measurement, ChannelCount>> measurements;
    std::vector<int> channels;  // chosen at first
    double offsetDb = 0.0;      // moves the sums onto the overlay's scale
    std::function<std::optional<TargetFile>()> askTargetFile;  // see TargetShapeEditor
};

class AlignDialog : public QDialog {
    Q_OBJECT

public:
    explicit AlignDialog(AlignDialogInput input, QWidget* parent = nullptr);

    // The chosen channels and their records as the chosen candidate sets
    // them; nothing while no full result is there.
    const std::vector<int>& channels() const { return m_used.channels; }
    std::optional<std::vector<ChannelRecord>> chosen() const;
    const AlignResult& alignResult() const { return m_result; }
    // Whether the result shown is the full search's.
    bool finished() const { return m_final; }
    // The curves to show in the plot: the sum as set and the candidate's.
    const PlotPreview& preview() const { return m_preview; }

    // For tests and the screenshot run.
    QCheckBox* channelBox(int channel) const { return m_channelBoxes[std::size_t(channel)]; }
    QCheckBox* varyCrossoverBox() const { return m_pVaryCrossover; }
    QTableWidget* table() const { return m_pTable; }
    QPlainTextEdit* notesBox() const { return m_pNotes; }
    QPushButton* applyButton() const { return m_pFoot->applyButton(); }

signals:
    void previewChanged();

protected:
    void done(int result) override;

private:
    QWidget* channelGroup();
    QWidget* optionsGroup();
    void channelsChanged();
    void optionsChanged();
    void startSearch();
    AlignInput input() const;
    void onResult(int job, const AlignResult& result, bool final);
    void onProgress(int job, double fraction);
    void onStopped(int job);
    void showResult();
    void showPreview();

    AlignDialogInput m_input;
    LatestJobRunner m_runner;
    int m_job = 0;
    AlignInput m_requested;  // the input of the latest search
    AlignInput m_used;       // the input of the result shown
    AlignResult m_result;
    bool m_final = false;
    bool m_stopped = false;
    bool m_searchPending = false;
    PlotPreview m_preview;

    std::array<QCheckBox*, ChannelCount> m_channelBoxes{};
    QComboBox* m_pHeld = nullptr;
    QCheckBox* m_pVaryDelay = nullptr;
    QCheckBox* m_pVaryLevel = nullptr;
    QCheckBox* m_pVaryCrossover = nullptr;
    QCheckBox* m_pAutoRegion = nullptr;
    QSpinBox* m_pRegionLo = nullptr;
    QSpinBox* m_pRegionHi = nullptr;
    TargetShapeEditor* m_pTarget = nullptr;
    QLabel* m_pPresent = nullptr;
    QTableWidget* m_pTable = nullptr;
    QPlainTextEdit* m_pNotes = nullptr;
    TuningFoot* m_pFoot = nullptr;
};

constexpr const char* AlignDialogTitle = "Übergang ausrichten";
