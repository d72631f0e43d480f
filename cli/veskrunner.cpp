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
                           const TCoreError& error) {
        static const std::vector<std::u16string> kNoLines;
        _error = MakeErrorReport(_editorLines ? *_editorLines : kNoLines, errorLine, errorPos,
                                 CoreErrorText(error));
    };
}

bool TVeskRunner::TracedStep(const TTraceSink& trace)
{
    static const std::u16string kNoLine;
    const TVeskCore::TCodePos at = _core.NextPosition();
    std::u16string op = _core.OperatorText(_core.NextOperator());
    if (_core.RunSteps(1) == 0)
        return true;
    const auto line = static_cast<std::size_t>(at.line);
    const std::u16string& editorLine = _editorLines && line < _editorLines->size() ? (*_editorLines)[line] : kNoLine;
    TTraceStep step{_core.Step(), at.line + 1, MapErrorColumn(editorLine, at.column), std::move(op),
                    _core.CurrentName(), _core.CurrentValue()};
    return trace(step);
}

TRunOutcome TVeskRunner::Run(const std::vector<std::u16string>& lines,
                             std::optional<std::uint64_t> maxSteps, const TTraceSink& trace)
{
    _finished = false;
    _traceFailed = false;
    _error.reset();
    _editorLines = &lines;

    _core.Reset();
    // Lines are copied prepared where preparing them again changes nothing,
    // which is what the preparation then does to them: the program is never
    // held twice at its full size. A line that a second preparation would
    // still change (a control character left before its comment) goes in as it is.
    std::vector<std::u16string> program;
    program.reserve(lines.size());
    for (const std::u16string& line : lines) {
        std::u16string prepared = line;
        PrepareLine(prepared);
        // Only the trimming can change a prepared line again.
        const bool stable = prepared.empty() || (prepared.front() > u' ' && prepared.back() > u' ');
        program.push_back(stable ? std::move(prepared) : line);
    }
    _core.LoadPrepared(TPreparedProgram(std::move(program)));
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
        if (!trace) {
            _core.RunSteps(std::min(left, kStepsPerCall));
        } else if (!TracedStep(trace)) {
            _core.Pause();
            _traceFailed = true;
            break;
        }
    }
    _editorLines = nullptr;

    TRunOutcome outcome;
    if (_error) {
        outcome.status = TRunStatus::rsError;
        outcome.error = _error;
        outcome.outOfMemory = _core.RanOutOfMemory();
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
