// Work that would hold the window still goes to a worker thread, one job at a
// time, and its result comes back in the owner's thread. Only the latest job
// counts: starting another or cancelling drops the result of the one before.
#pragma once

#include <QObject>
#include <QThreadPool>
#include <atomic>
#include <exception>
#include <functional>
#include <memory>
#include <utility>

template <typename TResult>
class TLatestJob {
public:
    // Gets the result, or, with a default one, what the work threw (memory ran out).
    using THandler = std::function<void(TResult result, std::exception_ptr failure)>;

    TLatestJob() { _pool.setMaxThreadCount(1); }
    // Waits for a job under way, which may still post its result to _context.
    ~TLatestJob()
    {
        Cancel();
        _pool.clear();
        _pool.waitForDone();
    }
    TLatestJob(const TLatestJob&) = delete;
    TLatestJob& operator=(const TLatestJob&) = delete;

    // `work` runs on the worker and must share nothing with the caller's thread.
    void Start(std::function<TResult()> work, THandler ready)
    {
        const unsigned job = ++*_current;
        _ready = std::move(ready);
        _pool.start([this, job, current = _current, work = std::move(work)] {
            if (*current != job)
                return; // dropped before it began
            auto outcome = std::make_shared<TOutcome>();
            try {
                outcome->result = work();
            } catch (...) {
                outcome->failure = std::current_exception();
            }
            QMetaObject::invokeMethod(
                &_context, [this, job, outcome] { Deliver(job, *outcome); }, Qt::QueuedConnection);
        });
    }

    void Cancel()
    {
        ++*_current;
        _ready = nullptr;
    }

    [[nodiscard]] bool Busy() const { return static_cast<bool>(_ready); }

private:
    struct TOutcome {
        TResult result{};
        std::exception_ptr failure;
    };

    void Deliver(unsigned job, TOutcome& outcome)
    {
        if (job != *_current || !_ready)
            return;
        // Cleared before the call: the handler may start the next job.
        THandler ready = std::exchange(_ready, nullptr);
        ready(std::move(outcome.result), outcome.failure);
    }

    QObject _context; // the owner's thread, where results are delivered
    QThreadPool _pool;
    // The latest job's number; an older one's result is dropped.
    std::shared_ptr<std::atomic<unsigned>> _current = std::make_shared<std::atomic<unsigned>>(0);
    THandler _ready;
};
