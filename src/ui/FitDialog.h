#pragma once
// "Automatisch anpassen": fits the equaliser of the channel shown to a target
// from its measurements, on the device's grid. The user picks the
// measurements and how they are averaged and smoothed, the target (flat, a
// tilt, a house curve or a curve from a file; following the crossover or
// not; its level automatic or fixed), the range and the limits; every change
// starts a new fit on a worker thread (FitRunner): a quick preview first,
// then the full fit, which shows its progress when it takes longer than
// 0.2 s and can be stopped. While the dialog is open the plot shows the
// target and the predicted result (previewChanged()); a table lists each
// band before and after, and a line below gives the errors ("Fehler vorher
// 3,2 dB, nachher 0,9 dB; ohne Raster wären 0,8 dB möglich").
// "Übernehmen" accepts once a full result is there (or the user stopped the
// fit at a preview); the caller then applies fitted() as one step.
// "Abbrechen" changes nothing.

#include <QDialog>
#include <QString>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "plotmodel/PreviewCurves.h"
#include "ui/FitRunner.h"
#include "ui/TargetShapeEditor.h"
#include "ui/TuningFoot.h"

class QCheckBox;
class QComboBox;
class QDoubleSpinBox;
class QLabel;
class QListWidget;
class QPushButton;
class QSpinBox;
class QTableWidget;

struct FitDialogInput {
    int channel = 0;       // 0..5
    QString target;        // "Kanal 2 (Hochton), Preset 1"
    ChannelRecord record;  // as it is now
    // The channel's measurements that could be read, and their file names.
    std::vector<std::string> names;
    std::shared_ptr<const std::vector<Measurement>> measurements;
    Averaging averaging = Averaging::Power;
    int smoothing = DefaultSmoothing;
    // How the overlay moves the measurement (see FitJob).
    bool normalise = true;
    std::optional<double> sharedOffsetDb;
    // Asks for a target file and reads it; nothing when the user cancels or
    // it cannot be read (the caller has said why).
    std::function<std::optional<TargetFile>()> askTargetFile;
};

class FitDialog : public QDialog {
    Q_OBJECT

public:
    explicit FitDialog(FitDialogInput input, QWidget* parent = nullptr);

    // The channel as the fit sets it (the input's until a result is there).
    const ChannelRecord& fitted() const { return m_result.channel; }
    const FitResult& fitResult() const { return m_result; }
    // Whether the result shown is the full fit's.
    bool finished() const { return m_final; }
    Averaging averaging() const;
    int smoothing() const;
    // The curves to show in the plot: the target and the predicted result.
    const PlotPreview& preview() const { return m_preview; }

    // For tests and the screenshot run.
    QComboBox* averagingBox() const { return m_pAveraging; }
    QComboBox* smoothingBox() const { return m_pSmoothing; }
    QComboBox* targetBox() const { return m_pTarget->shapeBox(); }
    QDoubleSpinBox* tiltBox() const { return m_pTarget->tiltBox(); }
    QSpinBox* maxBoostBox() const { return m_pMaxBoost; }
    QTableWidget* table() const { return m_pTable; }
    QLabel* errorLabel() const { return m_pError; }
    QPushButton* applyButton() const { return m_pFoot->applyButton(); }
    FitRunner& runner() { return m_runner; }

signals:
    void previewChanged();

protected:
    void done(int result) override;

private:
    QWidget* evidenceGroup();
    QWidget* targetGroup();
    QWidget* limitsGroup();
    // Every change of an option comes here; the fit starts once the change
    // is complete (a zero-length timer joins the changes of one event).
    void optionsChanged();
    void startFit();
    FitJob job() const;
    void onResult(int job, const FitResult& result, bool final);
    void onProgress(int job, double fraction);
    void onStopped(int job);
    void showResult();

    FitDialogInput m_input;
    FitRunner m_runner;
    int m_job = 0;
    FitResult m_result;
    bool m_final = false;
    bool m_stopped = false;
    PlotPreview m_preview;
    bool m_fitPending = false;

    QListWidget* m_pFiles = nullptr;
    QComboBox* m_pAveraging = nullptr;
    QComboBox* m_pSmoothing = nullptr;
    TargetShapeEditor* m_pTarget = nullptr;
    QCheckBox* m_pFollowCrossover = nullptr;
    QCheckBox* m_pFixedLevel = nullptr;
    QDoubleSpinBox* m_pTargetLevel = nullptr;
    QCheckBox* m_pAutoRange = nullptr;
    QSpinBox* m_pRangeLo = nullptr;
    QSpinBox* m_pRangeHi = nullptr;
    QSpinBox* m_pMaxBoost = nullptr;
    QDoubleSpinBox* m_pMaxTotal = nullptr;
    QDoubleSpinBox* m_pMaxQ = nullptr;
    QCheckBox* m_pSkipDips = nullptr;
    QCheckBox* m_pUseLevel = nullptr;
    QCheckBox* m_pShelves = nullptr;
    std::array<QCheckBox*, EqBandCount> m_keep{};
    QTableWidget* m_pTable = nullptr;
    QLabel* m_pError = nullptr;
    TuningFoot* m_pFoot = nullptr;
};

constexpr const char* FitDialogTitle = "Automatisch anpassen";
