// The Vesk interpreter: program lines, named one-byte cells, the execution
// position, the address and loop stacks, and a tick that runs one operator.
// The prepared lines are decoded into operators (TCompiledProgram) when a run
// starts or continues, so a step does no text parsing.
// Plain C++: the timer, the clock and the random numbers come from outside.
#pragma once

#include <cstdint>
#include <exception>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "core/breakcondition.h"
#include "core/cellmemory.h"
#include "core/compiledprogram.h"
#include "core/coreerror.h"
#include "core/fastrandom.h"
#include "core/loopstack.h"
#include "core/preparedprogram.h"
#include "core/profile.h"
#include "core/snapshot.h"
#include "core/steadyclock.h"
#include "core/structurerange.h"
#include "core/watchpoints.h"
#include "vesktimer.h"

// Cell values, index i is cell i.
using TMemory = std::vector<std::uint8_t>;

enum class TProgramStatus { psNormal, psCondition };

class TVeskCore;
class TRunHistory;

// Notification callback: called with the sender (always the core).
using TNotifyEvent = std::function<void(TVeskCore& sender)>;
// Error callback: 0-based line, 1-based column in the prepared line (0 for none),
// and the error by code (CoreErrorText gives its message).
using TErrorEvent = std::function<void(TVeskCore& sender, std::int32_t errorLine,
                                       std::int32_t errorPos, const TCoreError& error)>;

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
    // Taking the lines for writing makes the next step check the whole text for a
    // change (a hash of it); read them through a const core to skip that.
    [[nodiscard]] std::vector<std::u16string>& ProgramCode();
    [[nodiscard]] const std::vector<std::u16string>& ProgramCode() const;

    // Takes a program made ready apart (on another thread, say) in place of
    // filling ProgramCode() after Reset. The next Execute then skips the
    // preparation, the check and the decode it would do, with the same outcome.
    void LoadPrepared(TPreparedProgram program);

    TNotifyEvent OnStart;
    TNotifyEvent OnStop;
    TNotifyEvent OnFinish;
    TNotifyEvent OnPause;
    TErrorEvent OnError;
    // Receives whatever an event handler threw, once the core has finished its
    // own state change; the run goes on as if the handler had returned.
    std::function<void(std::exception_ptr failure)> OnHandlerFailure;

    [[nodiscard]] bool IsRun() const;
    // True when the last run stopped because memory ran out: the error it raised
    // is the general failure, and the runner tells it apart by this.
    [[nodiscard]] bool RanOutOfMemory() const { return _outOfMemory; }
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
    // The current cell's name as written (empty for none) and its value, read
    // without copying the cells: cheap enough for every step of a trace.
    [[nodiscard]] const std::u16string& CurrentName() const;
    [[nodiscard]] std::uint8_t CurrentValue() const { return HasCurrentCell() ? _cells.ValueAt(_cai) : 0; }
    // The address stack's top `count` entries at most, bottom first, and its
    // depth: a display needs only the top of a stack that may hold millions. An
    // entry is four hexadecimal digits (upper case), or empty for one pushed
    // without a current cell.
    [[nodiscard]] std::vector<std::u16string> AddressStackTop(std::size_t count) const;
    [[nodiscard]] std::size_t AddressStackSize() const { return _astack.size(); }
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
    // each time execution arrives there: from another line, or by a loop's
    // jump back (so a loop on one marked line pauses on every pass), but not
    // when it flows on or a condition or separator jumps within the line. The
    // first step after a continue is never stopped, so a continue moves on.
    void SetBreakpoints(std::vector<std::int32_t> lines);
    // The run pauses after its next step, unless that step ends or fails the
    // run. Use it with Execute on a paused core to step once. Any pause, the
    // end, an error and Reset cancel it.
    void RequestStepStop();
    // One-shot: the run pauses, as at a breakpoint, when execution arrives at
    // this line; then the target is cleared. -1 clears it; Reset clears it too.
    void SetRunToLine(std::int32_t line);
    [[nodiscard]] std::int32_t RunToLine() const;

    // Breakpoint lines with a condition or a hit count (one per line). Such a
    // line pauses only on an arrival where its condition holds, and with a hit
    // count only on that hit; it governs its line even if SetBreakpoints names
    // it too. The hits count from zero again on Reset.
    void SetBreakRules(std::vector<TBreakRule> rules);
    [[nodiscard]] const TBreakRules& BreakRules() const { return _rules; }

    // Watched cells: the run pauses right after the step that hits one, that
    // step counted and timed. Kept across runs and Reset.
    void SetWatchpoints(std::vector<TWatchpoint> watchpoints);
    [[nodiscard]] const std::vector<TWatchpoint>& Watchpoints() const { return _watches.Watchpoints(); }
    // What the last pause for a watchpoint found.
    [[nodiscard]] const TWatchHit& LastWatchHit() const { return _watchHit; }

    // Stepping by structure, for a paused core before Execute. Step over: when
    // the next operator opens a loop or a condition block, the run pauses once
    // execution is past its end (or jumps before its start); otherwise it is
    // one step. Step out: the run pauses once execution leaves the innermost
    // loop or block around the next operator; false, and nothing requested,
    // when there is none. Any other pause, the end, an error and Reset cancel them.
    void RequestStepOver();
    bool RequestStepOut();

    // The profile of the run since Reset, counted while profiling is on.
    void SetProfiling(bool on);
    [[nodiscard]] bool Profiling() const { return _profiling; }
    [[nodiscard]] const TRunProfile& Profile() const { return _profile; }

    // A debugging act while halted: sets a cell's value, adding the cell at
    // the end when it does not exist. False for a bad address or while running.
    bool SetCellByHand(std::u16string_view address, std::uint8_t value);
    // Whether cells were changed by hand since Reset.
    [[nodiscard]] bool CellsChangedByHand() const { return _changedByHand; }

    // Why the last OnPause was raised.
    enum class TPauseCause { pcUser, pcBreakpoint, pcStep, pcRunToLine, pcWatchpoint, pcStepOver, pcStepOut };
    [[nodiscard]] TPauseCause LastPauseCause() const;

    // ---- Going back in a run ------------------------------------------------
    // A run depends only on its text and its random draws, so any earlier
    // moment is a snapshot put back and steps replayed from it.
    [[nodiscard]] TCoreSnapshot Snapshot() const;
    // Puts a snapshot back; the core stays paused, and the next run goes on
    // from there as after a pause.
    void Restore(const TCoreSnapshot& snapshot);
    // The history kept of the runs, or nullptr: the core records into it at
    // the boundaries of its batches and ticks, and clears it on Reset.
    void AttachHistory(TRunHistory* history) { _history = history; }
    [[nodiscard]] std::uint64_t TextHash() const { return _textHash; }
    // The decoded program and the operator indices of the next and the last step.
    [[nodiscard]] const TCompiledProgram& Decoded() const { return _code; }
    [[nodiscard]] std::int32_t NextOperator() const { return _pc; }
    [[nodiscard]] std::int32_t LastOperator() const { return _prevPc; }
    // A moment's run time as its history recorded it.
    void SetRunTime(double days) { _time = days; }

    // The replays below run steps up to the step count `target` exactly as the
    // run did (operators, cells) but with no event, timer, clock or breakpoint;
    // a step that ends or fails the run is the last. ReplayTo draws each step's
    // allowance as the run did; the searches do not, so a search is followed by
    // a Restore. Each search returns the latest it found.
    void ReplayTo(std::uint64_t target);
    // A moment (step count) before `target` at which the run arrives at a
    // breakpoint line, or one that `extra` (when set) accepts.
    using TStopTest = std::function<bool(const TVeskCore& core)>;
    [[nodiscard]] std::optional<std::uint64_t> ReplayFindStop(std::uint64_t target, const TStopTest* extra);
    // A moment before `target` whose step takes execution from outside the
    // operators first..last into them.
    [[nodiscard]] std::optional<std::uint64_t> ReplayFindEntry(std::uint64_t target, std::int32_t first,
                                                               std::int32_t last);
    // A step up to `target` that wrote (or created) the cell of an address code.
    struct TCellWrite {
        std::uint64_t step = 0;      // the step that wrote, counted from 1
        std::int32_t op = 0;         // its operator index
        std::int32_t source = -1;    // the address code the value came from (+@, -@, ^), -1 for none
    };
    [[nodiscard]] std::optional<TCellWrite> ReplayFindWrite(std::uint64_t target, std::int32_t code);
    // An operator as written: its character and its operand.
    [[nodiscard]] std::u16string OperatorText(std::int32_t op) const;

private:
    struct TStopProbe;
    struct TEntryProbe;
    struct TWriteProbe;
    template <typename TProbe>
    void Replay(std::uint64_t target, TProbe& probe);

    // How an operator ended: done (the position moved on), raised (it reported
    // its own error), failed in a way the tick's catch-all reports, or the end.
    enum class TOutcome { Done, Raised, Fault, Finished };

    // Run control helpers.
    void Notify(const TNotifyEvent& event);
    void NotifyError(std::int32_t line, std::int32_t position, const TCoreError& error);
    void HandlerFailed(std::exception_ptr failure);
    void TimerOff();
    void TimerOn();
    void AccountTime(double t0);
    // One step's allowance, in days.
    [[nodiscard]] double DrawAllowance();
    void FlushMeasured();
    [[nodiscard]] double ReadClock() { return _ownClock ? _ownClock->Now() : _clock->Now(); }
    [[nodiscard]] std::int32_t Draw(std::int32_t n) { return _ownRandom ? _ownRandom->Next(n) : _random->Next(n); }
    // Prepares and checks the lines; false when the check refused them (reported).
    [[nodiscard]] bool CheckSource();
    [[nodiscard]] bool ReportFault(const std::optional<TSourceFault>& fault);
    TOutcome RaiseError(std::int32_t position, std::int32_t line, TErrorCode code,
                        std::u16string operand = {});
    std::int32_t AddCell(std::u16string_view name, std::int32_t code);

    // The decoded program follows the text: decoded again when the text changed.
    void EnsureDecoded();
    void MarkLines();
    [[nodiscard]] bool ArrivesAtMark() const;
    // Whether the run pauses on arriving here: a marked line, its rule allowing.
    [[nodiscard]] bool BreakHere();
    void PauseAtMark();
    void PauseFor(TPauseCause cause);
    std::uint64_t RunBatch(std::uint64_t maxSteps, bool timed, double deadline);
    void ReportFault();

    // A run that watches, profiles or steps by structure takes these paths;
    // the plain one stays as lean as it was.
    void UpdateObserving();
    // Drops a pending single step and any stepping by structure.
    void CancelStepping();
    // Made for each mix of profiling and watching, so that a run pays only for
    // what it asked.
    TOutcome ObservedOp();
    // kWhat: the observations made, kCountProfile | kWatch | kLeave.
    static constexpr unsigned kCountProfile = 1;
    static constexpr unsigned kWatch = 2;
    static constexpr unsigned kLeave = 4;
    [[nodiscard]] unsigned Observations() const;
    // `snapshot`: take the watched cells' state first (a lone step); a loop
    // takes it once before its first step.
    template <unsigned kWhat>
    TOutcome ObservedOpFor(TProfileTally& tally, bool snapshot);
    void ObservedSteps(std::uint64_t maxSteps, bool timed, double deadline, std::uint64_t& done,
                       TOutcome& outcome, bool& paused);
    template <unsigned kWhat>
    void ObservedLoop(std::uint64_t maxSteps, bool timed, double deadline, std::uint64_t& done,
                      TOutcome& outcome, bool& paused);
    // The address the operator stores into when it succeeds, -1 for none.
    [[nodiscard]] std::int32_t StoreTarget(const TOp& op) const;

    // The operator at _pc, and its slower parts.
    TOutcome ExecuteOp();
    TOutcome SelectCell(const TOp& op);
    TOutcome CopyCell(const TOp& op);
    TOutcome DestroyCell(const TOp& op);
    TOutcome AddCellValue(const TOp& op, bool subtract);
    TOutcome Separator(const TOp& op);
    TOutcome CompareWithCell(const TOp& op);
    TOutcome ChooseFirst(const TOp& op, std::int32_t record);
    TOutcome ChooseBranch(std::int32_t record, bool greater);
    TOutcome OperandError(const TOp& op);
    [[nodiscard]] std::int32_t LoopSlot(std::int32_t head);

    [[nodiscard]] bool HasCurrentCell() const { return _cells.Valid(_cai); }
    void SelectStackTop();

    TTimerOwner& _owner;
    // The defaults are called directly, without a virtual call, on every step.
    std::unique_ptr<TSteadyClock> _ownClock;
    std::unique_ptr<TFastRandom> _ownRandom;
    TVeskClock* _clock;
    TVeskRandom* _random;

    TCellMemory _cells;                   // the cell values and names
    std::vector<std::u16string> _program;
    TCompiledProgram _code;               // _program decoded; empty while it is not
    bool _textTouched = true;             // the text may have changed since it was decoded
    bool _loadedReady = false;            // LoadPrepared's lines await their first Execute
    std::optional<TSourceFault> _loadedFault;
    std::uint64_t _textHash = 0;          // of the decoded text
    std::int32_t _pc = 0;                 // the next operator, while decoded
    std::int32_t _prevPc = -1;            // the operator of the last step, -1 for none
    // The current cell's address text is always four hex digits or empty, so it
    // is kept as its address code (-1 for empty); lookups ignore letter case.
    std::int32_t _cas = -1;
    std::int32_t _cai = -1;               // the current cell's slot, -1 for none
    std::vector<std::int32_t> _astack;    // address codes, top last
    TLoopStack _cstack;
    TVeskTimer* _timer = nullptr;
    TProgramStatus _status = TProgramStatus::psNormal;
    std::uint64_t _step = 0;
    double _time = 0;                     // days
    double _clockMark = 0;                // inside a batch: when its measured time was last added
    bool _measuring = false;              // inside a batch
    double _slice = 0;                    // seconds of steps per timer call, 0 for one step

    std::vector<std::int32_t> _breakpoints;
    std::int32_t _runToLine = -1;
    bool _stepStop = false;
    bool _breakArmed = true;              // false for the first step after a pause
    bool _outOfMemory = false;            // the last fault was a failed allocation
    TPauseCause _pauseCause = TPauseCause::pcUser;

    TRunHistory* _history = nullptr;
    bool _replaying = false;              // errors are the replay's end, not reported

    TBreakRules _rules;
    TWatchList _watches;
    TWatchHit _watchHit;
    bool _profiling = false;
    TRunProfile _profile;
    std::optional<TTextRange> _leave;     // step over or out: pause once execution leaves it
    TPauseCause _leaveCause = TPauseCause::pcStepOver;
    bool _observing = false;              // any of the above asks for the observed path
    std::optional<TPauseCause> _observedStop; // the observed path asks to pause after this step
    bool _changedByHand = false;
};
