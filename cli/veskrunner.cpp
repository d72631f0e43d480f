#include "veskrunner.h"

#include "formats/errorreport.h"

TVeskRunner::TVeskRunner()
    : _core(_timerOwner)
{
    BindEvents();
}

void TVeskRunner::BindEvents()
{
    _core.OnFinish = [this](TVeskCore&) { _finished = true; };
    _core.OnError = [this](TVeskCore&, std::int32_t errorLine, std::int32_t errorPos,
                           const std::u16string& message) {
        _error = MakeErrorReport(_editorLines, errorLine, errorPos, message);
    };
}

TRunOutcome TVeskRunner::Run(const std::vector<std::u16string>& lines,
                             std::optional<std::uint64_t> maxSteps)
{
    _finished = false;
    _error.reset();
    _editorLines = lines;

    _core.Reset();
    _core.ProgramCode() = lines;
    _core.Execute();

    bool limited = false;
    while (_core.IsRun() && !_error) {
        if (maxSteps && _core.Step() >= *maxSteps) {
            _core.Pause();
            limited = true;
            break;
        }
        _core.TimerTick();
    }

    TRunOutcome outcome;
    if (_error) {
        outcome.status = TRunStatus::rsError;
        outcome.error = _error;
    } else if (limited) {
        outcome.status = TRunStatus::rsLimit;
    } else if (!_finished) {
        // The core halted with neither an end nor an error: never report that as success.
        outcome.status = TRunStatus::rsError;
        outcome.error = MakeErrorReport({}, 0, 0, u"the run halted without finishing");
    }
    outcome.steps = _core.Step();
    outcome.days = _core.EndTime();
    outcome.names = _core.GetVariables();
    outcome.values = _core.GetMemory();
    return outcome;
}
