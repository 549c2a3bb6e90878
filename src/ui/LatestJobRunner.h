#pragma once
// Runs a dialog's long computations on one worker thread, so that the window
// stays responsive while they take their time, and only the latest request
// counts: a newer request, or stop(), raises the cancel flag the engine
// polls, and what a request that is no longer the latest leaves behind is
// dropped.
//
// A request is a piece of work that runs on the worker and posts its answers
// as closures; they run on the thread that owns the runner, in order, while
// the request is still the latest. The worker leaves them in a mailbox under
// a lock of the standard library, and a timer of the owning thread collects
// them while a request is open (every 5 ms), so no data crosses threads
// through Qt's event queue, whose locks the thread sanitizer cannot see.
// The runner joins its thread when it is destroyed.

#include <QObject>
#include <QTimer>
#include <atomic>
#include <condition_variable>
#include <functional>
#include <mutex>
#include <optional>
#include <thread>
#include <vector>

class LatestJobRunner : public QObject {
    Q_OBJECT

public:
    // What a request's work sees on the worker thread.
    class Work {
    public:
        int number() const { return m_number; }
        // Raised when the request is overtaken or stopped.
        const std::atomic<bool>* cancel() const { return &m_runner.m_cancel; }
        // Runs `deliver` on the owning thread if the request is still the
        // latest then. `last`: the request is answered whole.
        void post(std::function<void()> deliver, bool last = false);

    private:
        friend class LatestJobRunner;
        Work(LatestJobRunner& runner, int number) : m_runner(runner), m_number(number) {}
        LatestJobRunner& m_runner;
        int m_number;
    };
    using Job = std::function<void(Work&)>;

    explicit LatestJobRunner(QObject* parent = nullptr);
    ~LatestJobRunner() override;

    // Starts `job` (cancelling what runs); returns its number.
    int request(Job job);
    // Cancels what runs; the job posts what it has to say about that.
    void stop();
    // Whether the latest request is still being worked on.
    bool busy() const { return m_open; }

private:
    struct Delivery {
        int job = 0;
        bool last = false;
        std::function<void()> deliver;
    };
    void work();
    void collect();

    std::mutex m_mutex;  // guards everything down to m_quit
    std::condition_variable m_wake;
    std::optional<Job> m_pending;
    int m_latest = 0;  // number of the latest request
    std::vector<Delivery> m_mailbox;
    bool m_quit = false;
    std::atomic<bool> m_cancel{false};
    QTimer m_poll;         // owning thread only
    bool m_open = false;   // owning thread only: a request not yet answered whole
    std::thread m_thread;  // started last
};
