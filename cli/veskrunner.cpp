#include "veskrunner.h"

#include <algorithm>
#include <limits>

#include "core/preparedprogram.h"
#include "formats/errorreport.h"

namespace {

// Steps per call into the core: few enough to check the limit often.
constexpr std::uint64_t kStepsPerCall = std::uint64_t{1} << 20;

} // namespace

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
        static const std::vector<std::u16string> kNoLines;
        _error = MakeErrorReport(_editorLines ? *_editorLines : kNoLines, errorLine, errorPos, message);
    };
}

TRunOutcome TVeskRunner::Run(const std::vector<std::u16string>& lines,
                             std::optional<std::uint64_t> maxSteps)
{
    _finished = false;
    _error.reset();
    _editorLines = &lines;

    _core.Reset();
    // The same start as the IDE's: the program made ready, then handed over.
    _core.LoadPrepared(TPreparedProgram(lines));
    _core.Execute();

    bool limited = false;
    while (_core.IsRun() && !_error) {
        const std::uint64_t left = maxSteps ? *maxSteps - std::min(*maxSteps, _core.Step())
                                            : std::numeric_limits<std::uint64_t>::max();
        if (left == 0) {
            _core.Pause();
            limited = true;
            break;
        }
        _core.RunSteps(std::min(left, kStepsPerCall));
    }
    _editorLines = nullptr;

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
    if (_core.Profiling()) {
        outcome.lineSteps = _core.Profile().LineSteps(lines.size());
        outcome.cellWrites = _core.Profile().CellWrites();
    }
    return outcome;
}
