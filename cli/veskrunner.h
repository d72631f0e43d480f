// Runs one program on the interpreter without a window: a fresh run, ticked as
// fast as the core allows, optionally cut off after a number of steps.
#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "core/veskcore.h"
#include "core/vesktimer.h"
#include "formats/errorreport.h"

enum class TRunStatus { rsFinished, rsError, rsLimit };

struct TRunOutcome {
    TRunStatus status = TRunStatus::rsFinished;
    std::uint64_t steps = 0;
    double days = 0;                      // the core's run time
    std::vector<std::u16string> names;    // cells, in cell order
    TMemory values;
    std::optional<TErrorReport> error;    // only with rsError
    bool outOfMemory = false;             // the error is the machine's, not the program's
    // Only when profiling was asked for: steps per line (one entry per line),
    // stores per cell as (address code, count).
    std::optional<std::vector<std::uint64_t>> lineSteps;
    std::vector<std::pair<std::int32_t, std::uint64_t>> cellWrites;
};

// One step as a trace shows it: the step count after it, where its operator
// stands in the editor's text (1-based line and column), the operator as
// written (empty for a line advance or the end), and the current cell after it
// (an empty name for none).
struct TTraceStep {
    std::uint64_t step = 0;
    std::int32_t line = 0;
    std::int32_t column = 0;
    std::u16string op;
    std::u16string cell;
    std::uint8_t value = 0;
};
// Receives each step; false stops the run (the trace could not be written).
using TTraceSink = std::function<bool(const TTraceStep& step)>;

class TVeskRunner {
public:
    TVeskRunner();
    TVeskRunner(const TVeskRunner&) = delete;
    TVeskRunner& operator=(const TVeskRunner&) = delete;

    // What a fresh Run does: Reset, load the prepared lines, Execute, then run steps
    // while the core runs. With a limit, the run stops before a step once Step
    // reaches it. The lines are only read, and only during the call.
    // With a trace sink the steps run one at a time, each handed to it.
    [[nodiscard]] TRunOutcome Run(const std::vector<std::u16string>& lines,
                                  std::optional<std::uint64_t> maxSteps, const TTraceSink& trace = {});
    // Whether a trace sink refused a step and so ended the run.
    [[nodiscard]] bool TraceFailed() const { return _traceFailed; }
    // Whether the next runs count an execution profile; off by default, since
    // counting takes the core's slower path.
    void SetProfiling(bool on) { _core.SetProfiling(on); }

private:
    void BindEvents();
    // One step, handed to the sink; false when the sink refused it.
    bool TracedStep(const TTraceSink& trace);

    TManualTimerOwner _timerOwner;
    TVeskCore _core;
    // The caller's lines during Run, for the error column mapping: not copied.
    const std::vector<std::u16string>* _editorLines = nullptr;
    bool _finished = false;
    bool _traceFailed = false;
    std::optional<TErrorReport> _error;
};
