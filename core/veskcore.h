// The Vesk interpreter: program lines, named one-byte cells, the execution
// position, the address and loop stacks, and a tick that runs one operator.
// Plain C++: the timer, the clock and the random numbers come from outside.
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "core/cellmemory.h"
#include "core/fastrandom.h"
#include "core/loopstack.h"
#include "core/steadyclock.h"
#include "core/textsearch.h"
#include "vesktimer.h"

// Cell values, index i is cell i.
using TMemory = std::vector<std::uint8_t>;

enum class TProgramStatus { psNormal, psCondition };

class TVeskCore;

// Notification callback: called with the sender (always the core).
using TNotifyEvent = std::function<void(TVeskCore& sender)>;
// Error callback: 0-based line, 1-based column in the prepared line (0 for none), message.
using TErrorEvent = std::function<void(TVeskCore& sender, std::int32_t errorLine,
                                       std::int32_t errorPos, const std::u16string& errorMessage)>;

class TVeskCore {
public:
    // The owner makes (and keeps) the timer on the first Execute that starts a run.
    // Without a clock or a random source the core uses a monotonic clock and a
    // generator seeded once, its own.
    explicit TVeskCore(TTimerOwner& owner, TVeskClock* clock = nullptr,
                       TVeskRandom* random = nullptr);
    ~TVeskCore();
    TVeskCore(const TVeskCore&) = delete;
    TVeskCore& operator=(const TVeskCore&) = delete;

    void Execute();
    void Pause();
    void Stop();
    void Reset();

    // Copies handed to the caller.
    [[nodiscard]] TMemory GetMemory() const;
    [[nodiscard]] std::vector<std::u16string> GetVariables() const;

    // The program lines; the caller fills them after Reset, Execute prepares them in place.
    [[nodiscard]] std::vector<std::u16string>& ProgramCode();
    [[nodiscard]] const std::vector<std::u16string>& ProgramCode() const;

    TNotifyEvent OnStart;
    TNotifyEvent OnStop;
    TNotifyEvent OnFinish;
    TNotifyEvent OnPause;
    TErrorEvent OnError;

    [[nodiscard]] bool IsRun() const;
    [[nodiscard]] std::uint64_t Step() const;
    [[nodiscard]] double EndTime() const; // run time in days

    // The timer's handler: one step of the program. Public so that a driver
    // without a real timer (the runner, tests) can tick the core itself.
    void TimerTick();

    // ---- Running many steps per call ---------------------------------------
    // Each step below is exactly what one TimerTick does: the step count, the
    // events, the errors and the per-step time accounting (measured time plus a
    // drawn allowance per step), breakpoints included. They do nothing unless
    // IsRun(); the run is running again afterwards unless it halted.

    // Runs at most `maxSteps` steps back to back; the number of steps run.
    std::uint64_t RunSteps(std::uint64_t maxSteps);
    // Runs steps back to back for about `seconds` of wall time (the clock is read
    // every few hundred steps) or until the run halts; the number of steps run.
    std::uint64_t RunFor(double seconds);
    // What each timer call does: 0 (the default) runs one step, the specified
    // pace; a positive value runs a slice of that many seconds of steps (RunFor),
    // an unpaced run that still returns to the event loop between slices.
    void SetTimerSlice(double seconds);
    [[nodiscard]] double TimerSlice() const;

    // ---- Debugger -----------------------------------------------------------
    // A place in the prepared program: 0-based line, 1-based column.
    struct TCodePos {
        std::int32_t line = 0;
        std::int32_t column = 1;
        friend bool operator==(const TCodePos&, const TCodePos&) = default;
    };
    // Where the next step runs: the operator's line and column in the prepared
    // lines (map the column onto the editor's line as the error report does). A
    // column past the line's end is that line's line advance; a line equal to
    // the number of lines is the end of the program.
    [[nodiscard]] TCodePos NextPosition() const;

    // Index of the current cell in GetMemory/GetVariables order, -1 for none.
    [[nodiscard]] std::int32_t CurrentCell() const;
    // The address stack, bottom first: four hexadecimal digits (upper case) or
    // empty for an entry pushed without a current cell.
    [[nodiscard]] std::vector<std::u16string> AddressStack() const;
    // One entry of the loop stack: the position of its `[` and the passes still
    // to run, -1 for an endless loop. `count` equal entries of one loop that
    // were added one after another (an endless inner loop on every outer pass)
    // come as one entry.
    struct TLoopEntry {
        TCodePos head;
        std::int32_t passes = -1;
        std::uint64_t count = 1;
    };
    // The loop stack, oldest entry first.
    [[nodiscard]] std::vector<TLoopEntry> LoopStack() const;

    // Lines (0-based) with a breakpoint; kept across runs and Reset. A run
    // pauses (timer off, OnPause) before the first step it runs on such a line
    // each time execution arrives there: from another line, or by a loop or
    // condition jump (so a loop on one marked line pauses on every pass), but
    // not when it flows on from the preceding operator of the same line. The
    // first step after a continue is never stopped, so a continue moves on.
    void SetBreakpoints(std::vector<std::int32_t> lines);
    [[nodiscard]] const std::vector<std::int32_t>& Breakpoints() const; // sorted
    // The run pauses after its next step, unless that step ends or fails the
    // run. Use it with Execute on a paused core to step once; Reset cancels it.
    void RequestStepStop();
    // One-shot: the run pauses, as at a breakpoint, when execution arrives at
    // this line; then the target is cleared. -1 clears it; Reset clears it too.
    void SetRunToLine(std::int32_t line);
    [[nodiscard]] std::int32_t RunToLine() const;

    // Why the last OnPause was raised.
    enum class TPauseCause { pcUser, pcBreakpoint, pcStep, pcRunToLine };
    [[nodiscard]] TPauseCause LastPauseCause() const;

private:
    // How an operator ended: done (the cursor moved on), raised (it reported its
    // own error), or failed in a way the tick's catch-all reports.
    enum class TOutcome { Done, Raised, Fault };

    // Run control helpers.
    void Notify(const TNotifyEvent& event);
    void NotifyError(std::int32_t line, std::int32_t position, const std::u16string& message);
    void TimerOff();
    void AccountTime(double t0);
    [[nodiscard]] double ReadClock() { return _ownClock ? _ownClock->Now() : _clock->Now(); }
    [[nodiscard]] std::int32_t Draw(std::int32_t n) { return _ownRandom ? _ownRandom->Next(n) : _random->Next(n); }
    void PrepareSource();
    [[nodiscard]] bool CheckSource();
    TOutcome RaiseError(std::int32_t position, std::int32_t line, const std::u16string& message);
    std::int32_t AddCell(std::u16string_view name, std::int32_t code);

    // Operands: each raises its own error and then yields nothing.
    struct TAddress {
        std::int32_t code;        // the address as a number
        std::u16string_view text; // as written: the name of a cell it creates
    };
    [[nodiscard]] std::optional<TAddress> AddressOperand(const std::u16string& text, std::int32_t column);
    [[nodiscard]] std::optional<std::int32_t> NamedCell(const std::u16string& text, std::int32_t column,
                                                        const std::u16string& missing);
    [[nodiscard]] std::int32_t FindOrAddCell(const TAddress& address);
    [[nodiscard]] std::optional<std::int32_t> ByteOperand(const std::u16string& text);

    // One operator at the cursor, and its families.
    TOutcome ExecuteOperator(const std::u16string& text);
    TOutcome SelectCell(const std::u16string& text);
    TOutcome CopyCell(const std::u16string& text);
    TOutcome DestroyCell(const std::u16string& text);
    TOutcome AddByte(const std::u16string& text, bool subtract);
    TOutcome AddCellValue(const std::u16string& text, bool subtract);
    TOutcome ChangeBits(char16_t op);
    TOutcome PushAddress();
    TOutcome PopAddress();
    TOutcome LoopHead(const std::u16string& text);
    TOutcome LoopEnd();
    TOutcome BranchEnd();
    TOutcome JumpToBlockEnd(bool nextBlock, const std::u16string& missing);
    TOutcome Condition(const std::u16string& text);
    TOutcome CompareWithByte(const std::u16string& text);
    TOutcome CompareWithCell(const std::u16string& text);
    TOutcome TestParity();
    TOutcome ChooseFirstBranch(std::int32_t blockColumn);
    TOutcome ContinueInBranch(TTextPos separator);

    [[nodiscard]] bool HasCurrentCell() const { return _cells.Valid(_cai); }
    void SelectStackTop();
    [[nodiscard]] char16_t CharAt(std::int32_t column, std::int32_t line) const;

    // What the `[` or `]` at one position does every time, worked out when it
    // first runs; valid until the text is prepared again.
    struct TLoopSite {
        std::int32_t slot = -1;   // loop stack key of the `[`; -1 while unknown
        std::int32_t passes = -1; // at a `[`: the count of a counted head, -1 endless
        TTextPos head;            // at a `]`: its `[`
        bool counted = false;     // at a `]`: its `[` is a counted head
    };
    [[nodiscard]] TLoopSite* LoopSiteAtCursor();

    TTimerOwner& _owner;
    // The defaults are called directly, without a virtual call, twice a tick.
    std::unique_ptr<TSteadyClock> _ownClock;
    std::unique_ptr<TFastRandom> _ownRandom;
    TVeskClock* _clock;
    TVeskRandom* _random;

    TCellMemory _cells;                   // the cell values and names
    std::vector<std::u16string> _program;
    std::int32_t _cursor = 1;             // 1-based column of the next character
    std::int32_t _line = 0;               // 0-based line
    // The current cell's address text is always four hex digits or empty, so it
    // is kept as its address code (-1 for empty); lookups ignore letter case.
    std::int32_t _cas = -1;
    std::int32_t _cai = -1;
    std::vector<std::int32_t> _astack;    // address codes, top last
    TLoopStack _cstack;
    TVeskTimer* _timer = nullptr;
    TProgramStatus _status = TProgramStatus::psNormal;
    std::uint64_t _step = 0;
    double _time = 0;                     // days
    TTextSearch _search{_program};
    std::vector<TLoopSite> _loopSites; // by text offset; empty until a loop runs
};
