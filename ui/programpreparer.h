// Makes the editor's text ready to run on a worker thread: the split into
// lines, their preparation, the check and the decode. For a big program that
// work would otherwise hold the window still at the start of a run.
#pragma once

#include <QObject>
#include <QString>
#include <QThreadPool>
#include <atomic>
#include <exception>
#include <functional>
#include <memory>

#include "core/preparedprogram.h"

class TProgramPreparer final : public QObject {
    Q_OBJECT
public:
    // Gets the program, or, with an empty one, what the work threw (memory ran out).
    using THandler = std::function<void(TPreparedProgram program, std::exception_ptr failure)>;

    TProgramPreparer();
    // Waits for a job under way: it holds nothing of this object's owner.
    ~TProgramPreparer() override;
    TProgramPreparer(const TProgramPreparer&) = delete;
    TProgramPreparer& operator=(const TProgramPreparer&) = delete;

    // Starts on `text`; `ready` gets the program in this object's thread. A job
    // under way is dropped: its program never comes.
    void Start(QString text, THandler ready);
    // Drops the job under way, if any.
    void Cancel();
    [[nodiscard]] bool Busy() const { return static_cast<bool>(_ready); }

private:
    struct TOutcome {
        TPreparedProgram program;
        std::exception_ptr failure;
    };
    void Deliver(unsigned job, const std::shared_ptr<TOutcome>& outcome);

    QThreadPool _pool;
    // The current job's number; a worker whose number is older gives up.
    std::shared_ptr<std::atomic<unsigned>> _current = std::make_shared<std::atomic<unsigned>>(0);
    THandler _ready;
};
