#include "ui/FitRunner.h"

bool prepareFitInput(const FitJob& job, FitInput& input, std::string& error) {
    input = job.input;
    const EvidenceCurve evidence =
        combineMeasurements(job.measurements ? *job.measurements : std::vector<Measurement>{},
                            job.averaging, job.smoothing);
    if (!evidence.ok) {
        error = evidence.error;
        return false;
    }
    input.measurement = evidence.curve;
    input.measurementOffsetDb = 0.0;
    double midrange = 0.0;
    if (job.normalise && job.sharedOffsetDb) {
        input.measurementOffsetDb = *job.sharedOffsetDb;
    } else if (job.normalise && midrangeAverageDb(input.measurement, midrange)) {
        input.measurementOffsetDb = -midrange;
    }
    return true;
}

FitRunner::FitRunner(QObject* parent) : QObject(parent) {}

int FitRunner::request(FitJob job) {
    return m_runner.request([this, job = std::move(job)](LatestJobRunner::Work& work) {
        const int number = work.number();
        const auto result = [this, &work, number](FitResult r, bool final) {
            work.post(
                [this, number, r = std::move(r), final] { emit resultReady(number, r, final); },
                final);
        };
        const auto stoppedAt = [this, &work, number] {
            work.post([this, number] { emit stopped(number); }, true);
        };
        FitInput input;
        std::string error;
        if (!prepareFitInput(job, input, error)) {
            FitResult refused;
            refused.channel = job.input.channel;
            refused.message = error;
            result(std::move(refused), true);
            return;
        }
        input.options.effort = FitEffort::Preview;
        FitResult preview = fitChannel(input, {nullptr, work.cancel()});
        if (preview.status == FitStatus::Cancelled) return stoppedAt();
        const bool refused = preview.status != FitStatus::Ok;
        result(std::move(preview), refused);
        if (refused) return;

        input.options.effort = FitEffort::Full;
        input.start.reset();
        FitProgress progress;
        progress.cancel = work.cancel();
        progress.report = [this, &work, number](double fraction) {
            work.post([this, number, fraction] { emit progressed(number, fraction); });
        };
        FitResult full = fitChannel(input, progress);
        if (full.status == FitStatus::Cancelled) return stoppedAt();
        result(std::move(full), true);
    });
}
