// Work that would hold the window still goes to a worker thread, one job at a
// time, and its result comes back in the owner's thread. Only the latest job
// counts: starting another or cancelling drops the result of the one before,
// and asks the work under way to give up (through its stop token).
#pragma once

#include <QObject>
#include <QThreadPool>
#include <atomic>
#include <exception>
#include <functional>
#include <memory>
#include <new>
#include <stop_token>
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
        Start([work = std::move(work)](std::stop_token) { return work(); }, std::move(ready));
    }

    // Work that looks at its token now and then gives up soon after a newer
    // job or Cancel asked it to; what it returns then is dropped anyway.
    void Start(std::function<TResult(std::stop_token)> work, THandler ready)
    {
        // Everything the job needs is made here, where a failure is the caller's
        // to report: on the worker nothing may throw past the job.
        auto outcome = std::make_shared<TOutcome>();
        outcome->outOfMemory = std::make_exception_ptr(std::bad_alloc());
        std::stop_source stop;
        // The job before is dropped first: should queueing this one fail,
        // none is under way.
        _stop.request_stop();
        _stop = stop;
        _ready = nullptr;
        const unsigned job = ++*_current;
        _pool.start([this, job, current = _current, token = stop.get_token(), outcome,
                     work = std::move(work)]() noexcept { Work(job, *current, token, work, outcome); });
        _ready = std::move(ready);
    }

    void Cancel()
    {
        _stop.request_stop();
        ++*_current;
        _ready = nullptr;
    }

    [[nodiscard]] bool Busy() const { return static_cast<bool>(_ready); }

private:
    struct TOutcome {
        TResult result{};
        std::exception_ptr failure;
        std::exception_ptr outOfMemory; // made in advance: reporting it allocates nothing
    };

    void Work(unsigned job, const std::atomic<unsigned>& current, const std::stop_token& token,
              const std::function<TResult(std::stop_token)>& work,
              const std::shared_ptr<TOutcome>& outcome) noexcept
    {
        if (current != job || token.stop_requested())
            return; // dropped before it began
        try {
            outcome->result = work(token);
        } catch (...) {
            outcome->failure = std::current_exception();
        }
        if (token.stop_requested())
            return; // nobody waits for it: its memory goes now
        try {
            Post(job, outcome);
        } catch (...) {
            // Memory ran out for the message itself: give the result's memory
            // back and tell the owner so, which takes far less.
            outcome->result = TResult{};
            outcome->failure = outcome->outOfMemory;
            try {
                Post(job, outcome);
            } catch (...) {
            }
        }
    }

    void Post(unsigned job, const std::shared_ptr<TOutcome>& outcome)
    {
        QMetaObject::invokeMethod(
            &_context, [this, job, outcome] { Deliver(job, *outcome); }, Qt::QueuedConnection);
    }

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
    std::stop_source _stop{std::nostopstate}; // the latest job's
};
