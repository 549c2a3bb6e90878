#pragma once
// Runs the equaliser fit of the "Automatisch anpassen" dialog on a worker
// thread, so that the window stays responsive while a fit takes its time.
//
// Each request is answered twice: first with a quick preview (the engine's
// preview effort, starting from the bands of the request), then with the
// full fit, which reports its progress on the way. A newer request, or
// stop(), cancels what runs through the engine's cancel flag; results of a
// request that is no longer the latest are not delivered. The results
// arrive on the thread that owns the runner, through its signals: the
// worker leaves them in a mailbox under a lock of the standard library, and
// a timer of the owning thread collects them while a request is open (every
// 5 ms; LatestJobRunner.h). The engine is deterministic, so the full result
// of a request does not depend on what ran before it.

#include <QObject>
#include <memory>
#include <optional>
#include <vector>

#include "tuning/EqFit.h"
#include "tuning/Evidence.h"
#include "ui/LatestJobRunner.h"

struct FitJob {
    // The measurements to combine (shared, not copied per request).
    std::shared_ptr<const std::vector<Measurement>> measurements;
    Averaging averaging = Averaging::Power;
    int smoothing = DefaultSmoothing;
    // What is added to the combined curve, as the overlay draws it: nothing
    // (not normalised), the offset shared by all channels, or else the
    // negative of its own 200 Hz..2 kHz average.
    bool normalise = true;
    std::optional<double> sharedOffsetDb;
    // Everything but the measurement and its offset; `start` is the
    // preview's starting point.
    FitInput input;
};

// The combined, offset measurement of a job put into its input; false (and
// the German reason) when the measurements have nothing in common or vector
// averaging lacks a phase.
bool prepareFitInput(const FitJob& job, FitInput& input, std::string& error);

class FitRunner : public QObject {
    Q_OBJECT

public:
    explicit FitRunner(QObject* parent = nullptr);

    // Starts `job` (cancelling what runs); returns its number.
    int request(FitJob job);
    // Cancels what runs; a preview already delivered stays the last word.
    void stop() { m_runner.stop(); }
    // Whether the latest request is still being worked on.
    bool busy() const { return m_runner.busy(); }

signals:
    // `final` is false for the preview. A refused fit comes with status
    // Refused and its message.
    void resultReady(int job, const FitResult& result, bool final);
    void progressed(int job, double fraction);
    // The full fit of `job` was cancelled by stop().
    void stopped(int job);

private:
    LatestJobRunner m_runner;
};
