#include "ui/programpreparer.h"

#include <string_view>
#include <utility>

#include "formats/projectfile.h"

TProgramPreparer::TProgramPreparer()
{
    // One job at a time: a dropped job still running only delays the next.
    _pool.setMaxThreadCount(1);
}

TProgramPreparer::~TProgramPreparer()
{
    Cancel();
    _pool.clear();
    _pool.waitForDone();
}

void TProgramPreparer::Start(QString text, THandler ready)
{
    const unsigned job = ++*_current;
    _ready = std::move(ready);
    _pool.start([this, job, current = _current, text = std::move(text)] {
        if (*current != job)
            return;
        auto outcome = std::make_shared<TOutcome>();
        try {
            const std::u16string_view view(reinterpret_cast<const char16_t*>(text.utf16()),
                                           std::size_t(text.size()));
            outcome->program = TPreparedProgram(SplitEditorLines(view));
        } catch (...) {
            outcome->failure = std::current_exception();
        }
        // Queued to this object's thread; dropped there if the job was dropped
        // meanwhile. The destructor waits for this worker, so `this` is alive.
        QMetaObject::invokeMethod(
            this, [this, job, outcome] { Deliver(job, outcome); }, Qt::QueuedConnection);
    });
}

void TProgramPreparer::Cancel()
{
    ++*_current;
    _ready = nullptr;
}

void TProgramPreparer::Deliver(unsigned job, const std::shared_ptr<TOutcome>& outcome)
{
    if (job != *_current || !_ready)
        return;
    // Cleared before the call: the handler may start the next job.
    THandler ready = std::exchange(_ready, nullptr);
    ready(std::move(outcome->program), outcome->failure);
}
