// The history of a run: snapshots kept while it goes, so that any earlier
// moment (a step count) is reached by putting the nearest one back and
// replaying forward from it.
//
// Snapshots are taken at the end of a batch or tick once `NextDue` is reached:
// never inside the step loop. The interval starts small and doubles each time
// the snapshots outgrow the memory budget, when every other one is dropped; the
// first is never dropped, so an endless run can always go back to its start.
//
// Run time: a snapshot keeps the run time it was taken at, and the live run's
// latest moment keeps its own. Replayed steps are not timed; a moment between
// two recorded ones gets the time interpolated linearly by step count, so the
// time shown never goes backwards and is exact at every recorded moment.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "core/snapshot.h"
#include "core/veskcore.h"

class TRunHistory {
public:
    static constexpr std::size_t kDefaultBudget = 64ULL * 1024 * 1024;
    // The first interval between snapshots, in steps.
    static constexpr std::uint64_t kFirstInterval = 1ULL << 16;

    // A snapshot of n bytes waits at least n * stepsPerKilobyte / 1024 steps
    // after the one before, so that copying a big state stays a small share of
    // the run.
    explicit TRunHistory(std::size_t budgetBytes = kDefaultBudget, std::uint64_t firstInterval = kFirstInterval,
                         std::uint64_t stepsPerKilobyte = 512);

    // ---- What the core calls ------------------------------------------------
    // The step count at which the next snapshot is due.
    [[nodiscard]] std::uint64_t NextDue() const { return _nextDue; }
    // Takes a snapshot of the core, whose run time is `time` at this moment.
    void Record(const TVeskCore& core, double time);
    // A run starts or goes on: the first snapshot of an empty history, or,
    // when the core stands before the latest moment, the future dropped.
    void Resume(const TVeskCore& core);
    void Clear();

    // ---- Going back ---------------------------------------------------------
    // Each needs a paused core whose history this is; false when it did not move.
    // To a moment between the first snapshot and the latest moment.
    bool GoTo(TVeskCore& core, std::uint64_t step);
    bool StepBack(TVeskCore& core);
    // To the latest breakpoint stop before now (or one the stop test accepts,
    // when set), else to the start.
    bool RunBack(TVeskCore& core);
    // Before the innermost loop or block that holds the next operator was entered.
    bool StepBackOut(TVeskCore& core);
    // One step back; when that step left a loop or block, on to before it was entered.
    bool StepBackOver(TVeskCore& core);
    // Another kind of stop for RunBack (watchpoints); empty for none.
    void SetStopTest(TVeskCore::TStopTest test) { _stopTest = std::move(test); }

    // ---- Where a value came from --------------------------------------------
    struct TOrigin {
        std::uint64_t step = 0;     // the step that wrote the value, counted from 1
        std::int32_t line = 0;      // 0-based line and 1-based column of its operator
        std::int32_t column = 1;
        std::u16string text;        // the operator as written
        std::int32_t source = -1;   // the address code the value came from, -1 for none
        bool byHand = false;        // set while paused at `step`, not by an operator
    };
    // The last write of the cell with this address code before the core's
    // moment; nothing when the run never wrote it. The core ends where it was.
    [[nodiscard]] std::optional<TOrigin> WhereFrom(TVeskCore& core, std::int32_t code);

    // ---- A new branch -------------------------------------------------------
    // Cells (these address codes) were changed by hand at the core's moment:
    // the old future is dropped and the moment kept as it now is. The number
    // of steps dropped.
    std::uint64_t Branch(const TVeskCore& core, std::vector<std::int32_t> changed);

    // ---- For display --------------------------------------------------------
    [[nodiscard]] bool Empty() const { return _snapshots.empty(); }
    [[nodiscard]] std::uint64_t First() const;
    // The live run's latest moment, as of the last snapshot or NoteLive.
    [[nodiscard]] std::uint64_t Latest() const { return _latest; }
    // The core's moment, when it is the live run's latest (a pause, the end).
    void NoteLive(const TVeskCore& core);
    [[nodiscard]] std::size_t Bytes() const { return _bytes; }
    [[nodiscard]] std::size_t Snapshots() const { return _snapshots.size(); }
    [[nodiscard]] std::uint64_t Interval() const { return _interval; }
    [[nodiscard]] std::size_t Budget() const { return _budget; }
    // The run time recorded for a moment (see above).
    [[nodiscard]] double TimeAt(std::uint64_t step) const;
    // Moments the run paused at a breakpoint or a watchpoint or stopped with an
    // error, as the controller notes them; dropped with the future they stand
    // in. RunBack goes back to the pauses too.
    void NoteStop(std::uint64_t step, bool error);
    struct TStop {
        std::uint64_t step;
        bool error;
    };
    [[nodiscard]] const std::vector<TStop>& Stops() const { return _stops; }

private:
    struct TKept {
        TCoreSnapshot state;
        std::size_t bytes = 0;
        bool pinned = false;                 // a branch: never thinned out
        std::vector<std::int32_t> changed;   // cells changed by hand there
    };

    void Add(TKept kept);
    bool Thin();
    void Truncate(std::uint64_t step);
    // The last snapshot at or before a moment.
    [[nodiscard]] std::size_t At(std::uint64_t step) const;
    void Restore(TVeskCore& core, std::size_t index);
    // GoTo; `restore`: from a snapshot even when the core could go on from
    // where it stands (after a search, which leaves the random source behind).
    bool Travel(TVeskCore& core, std::uint64_t step, bool restore);
    // Searches back from `before`, one snapshot's stretch at a time, latest first.
    template <typename TFind>
    std::optional<std::uint64_t> SearchBack(TVeskCore& core, std::uint64_t before, TFind find);
    // The loops and blocks, as operator spans, holding an operator.
    struct TSpan {
        std::int32_t first;
        std::int32_t last;
    };
    [[nodiscard]] static std::vector<TSpan> SpansHolding(const TVeskCore& core, std::int32_t op);

    std::size_t _budget;
    std::vector<TKept> _snapshots;      // by step
    std::size_t _bytes = 0;
    std::uint64_t _firstInterval;
    std::uint64_t _stepsPerKilobyte;
    std::uint64_t _interval;
    std::uint64_t _nextDue = 0;
    std::uint64_t _latest = 0;          // the live run's latest moment
    double _latestTime = 0;
    std::vector<TStop> _stops;
    TVeskCore::TStopTest _stopTest;
};
