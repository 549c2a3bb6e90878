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

namespace {

constexpr int PollMs = 5;

}  // namespace

FitRunner::FitRunner(QObject* parent) : QObject(parent), m_thread([this] { work(); }) {
    m_poll.setInterval(PollMs);
    connect(&m_poll, &QTimer::timeout, this, &FitRunner::collect);
}

FitRunner::~FitRunner() {
    {
        const std::lock_guard lock(m_mutex);
        m_quit = true;
        m_pending.reset();
        m_cancel = true;
    }
    m_wake.notify_one();
    m_thread.join();
}

int FitRunner::request(FitJob job) {
    int number = 0;
    {
        const std::lock_guard lock(m_mutex);
        number = ++m_latest;
        m_pending = std::move(job);
        m_cancel = true;  // the worker clears it when it takes the job
    }
    m_wake.notify_one();
    m_open = true;
    m_poll.start();
    return number;
}

void FitRunner::stop() {
    m_cancel = true;
}

void FitRunner::post(Event event) {
    const std::lock_guard lock(m_mutex);
    if (event.job == m_latest) m_mailbox.push_back(std::move(event));
}

void FitRunner::collect() {
    std::vector<Event> events;
    int latest = 0;
    {
        const std::lock_guard lock(m_mutex);
        events.swap(m_mailbox);
        latest = m_latest;
    }
    for (const Event& e : events) {
        if (e.job != latest) continue;  // overtaken since it was posted
        switch (e.kind) {
            case Event::Kind::Result:
                if (e.final) m_open = false;
                emit resultReady(e.job, e.result, e.final);
                break;
            case Event::Kind::Progress:
                emit progressed(e.job, e.fraction);
                break;
            case Event::Kind::Stopped:
                m_open = false;
                emit stopped(e.job);
                break;
        }
    }
    if (!m_open) m_poll.stop();
}

void FitRunner::work() {
    for (;;) {
        FitJob job;
        int number = 0;
        {
            std::unique_lock lock(m_mutex);
            m_wake.wait(lock, [this] { return m_quit || m_pending.has_value(); });
            if (m_quit) return;
            job = std::move(*m_pending);
            m_pending.reset();
            number = m_latest;
            m_cancel = false;
        }
        FitInput input;
        std::string error;
        if (!prepareFitInput(job, input, error)) {
            Event refused{Event::Kind::Result, number, {}, true, 0.0};
            refused.result.channel = job.input.channel;
            refused.result.message = error;
            post(std::move(refused));
            continue;
        }
        input.options.effort = FitEffort::Preview;
        FitResult preview = fitChannel(input, {nullptr, &m_cancel});
        if (preview.status == FitStatus::Cancelled) {
            post({Event::Kind::Stopped, number, {}, true, 0.0});
            continue;
        }
        const bool refused = preview.status != FitStatus::Ok;
        post({Event::Kind::Result, number, std::move(preview), refused, 0.0});
        if (refused) continue;

        input.options.effort = FitEffort::Full;
        input.start.reset();
        FitProgress progress;
        progress.cancel = &m_cancel;
        progress.report = [this, number](double fraction) {
            post({Event::Kind::Progress, number, {}, false, fraction});
        };
        FitResult full = fitChannel(input, progress);
        if (full.status == FitStatus::Cancelled) {
            post({Event::Kind::Stopped, number, {}, true, 0.0});
            continue;
        }
        post({Event::Kind::Result, number, std::move(full), true, 0.0});
    }
}
