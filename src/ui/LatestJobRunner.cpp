#include "ui/LatestJobRunner.h"

namespace {

constexpr int PollMs = 5;

}  // namespace

void LatestJobRunner::Work::post(std::function<void()> deliver, bool last) {
    const std::lock_guard lock(m_runner.m_mutex);
    if (m_number == m_runner.m_latest) {
        m_runner.m_mailbox.push_back({m_number, last, std::move(deliver)});
    }
}

LatestJobRunner::LatestJobRunner(QObject* parent) : QObject(parent), m_thread([this] { work(); }) {
    m_poll.setInterval(PollMs);
    connect(&m_poll, &QTimer::timeout, this, &LatestJobRunner::collect);
}

LatestJobRunner::~LatestJobRunner() {
    {
        const std::lock_guard lock(m_mutex);
        m_quit = true;
        m_pending.reset();
        m_cancel = true;
    }
    m_wake.notify_one();
    m_thread.join();
}

int LatestJobRunner::request(Job job) {
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

void LatestJobRunner::stop() {
    m_cancel = true;
}

void LatestJobRunner::collect() {
    std::vector<Delivery> deliveries;
    {
        const std::lock_guard lock(m_mutex);
        deliveries.swap(m_mailbox);
    }
    for (Delivery& d : deliveries) {
        // Overtaken since it was posted, perhaps by a delivery before it. Only
        // this thread writes m_latest, so it reads it without the lock.
        if (d.job != m_latest) continue;
        if (d.last) m_open = false;
        d.deliver();
    }
    if (!m_open) m_poll.stop();
}

void LatestJobRunner::work() {
    for (;;) {
        Job job;
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
        Work context(*this, number);
        job(context);
    }
}
