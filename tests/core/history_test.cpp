// Going back in a run: generated programs stepped forward, back and forward
// again, each stop checked against the reference interpreter and a fresh run;
// the searches back (breakpoints, loops and blocks, the writer of a cell) and
// the memory budget.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <random>
#include <string>
#include <vector>

#include "core/runhistory.h"
#include "core/veskcore.h"
#include "tests/core/differential_harness.h"
#include "tests/core/reference_core.h"
#include "tests/fuzz/programgenerator.h"

namespace {

using differential::Describe;
using differential::TLines;

// What a moment shows: the cells, the step, where the run stands, both stacks.
struct TMoment {
    std::uint64_t step = 0;
    std::vector<std::u16string> names;
    std::vector<std::uint8_t> values;
    TVeskCore::TCodePos next;
    std::int32_t current = -1;
    std::vector<std::u16string> addresses;
    std::vector<std::pair<std::int32_t, std::uint64_t>> loops; // passes, count
    bool operator==(const TMoment&) const = default;
};

TMoment MomentOf(const TVeskCore& core)
{
    TMoment moment{core.Step(), core.GetVariables(), core.GetMemory(), core.NextPosition(), core.CurrentCell(),
                   core.AddressStackTop(core.AddressStackSize()), {}};
    for (const TVeskCore::TLoopEntry& entry : core.LoopStack())
        moment.loops.emplace_back(entry.passes, entry.count);
    return moment;
}

// A core with a history that snapshots every few steps.
struct THistoryCore {
    explicit THistoryCore(std::size_t budget = TRunHistory::kDefaultBudget, std::uint64_t interval = 5)
        : history(budget, interval, 0)
    {
        core.AttachHistory(&history);
    }
    void Load(const TLines& lines)
    {
        core.Reset();
        core.ProgramCode() = lines;
    }
    // Runs on until the step count reaches `target` or the run halts.
    void RunTo(std::uint64_t target)
    {
        core.Execute();
        while (core.IsRun() && core.Step() < target)
            core.RunSteps(std::min<std::uint64_t>(target - core.Step(), 7));
        core.Pause();
    }
    TManualTimerOwner owner;
    TVeskCore core{owner};
    TRunHistory history;
};

// A fresh run without history stopped after `steps` steps.
TMoment FreshMoment(const TLines& lines, std::uint64_t steps)
{
    TManualTimerOwner owner;
    TVeskCore core(owner);
    core.ProgramCode() = lines;
    core.Execute();
    while (core.IsRun() && core.Step() < steps)
        core.RunSteps(steps - core.Step());
    return MomentOf(core);
}

void ExpectLikeReference(const TLines& lines, const TVeskCore& core, const std::string& where)
{
    TReferenceCore reference(lines);
    reference.Execute();
    while (reference.IsRun() && reference.Step() < core.Step())
        reference.TimerTick();
    ASSERT_EQ(reference.Step(), core.Step()) << where << Describe(lines);
    EXPECT_EQ(reference.Names(), core.GetVariables()) << where << Describe(lines);
    EXPECT_EQ(reference.Values(), core.GetMemory()) << where << Describe(lines);
    EXPECT_EQ(FreshMoment(lines, core.Step()), MomentOf(core)) << where << Describe(lines);
}

TEST(History, ForwardBackAndForwardAgainMatchTheReference)
{
    std::mt19937 rng(20261209);
    int destroying = 0;
    int pushing = 0;
    int separated = 0;
    for (int program = 0; program < 400; ++program) {
        std::vector<std::uint8_t> bytes(8 + rng() % 120);
        for (std::uint8_t& b : bytes)
            b = static_cast<std::uint8_t>(rng());
        const TLines lines = TProgramGenerator(bytes.data(), bytes.size()).Lines();
        std::u16string text;
        for (const std::u16string& line : lines)
            text += line;
        THistoryCore run;
        run.Load(lines);
        run.RunTo(1 + rng() % 400);
        const std::uint64_t n = run.core.Step();
        if (n < 2)
            continue;
        destroying += text.find(u'~') != std::u16string::npos;
        pushing += text.find(u'{') != std::u16string::npos;
        separated += text.find(u':') != std::u16string::npos;
        ExpectLikeReference(lines, run.core, "at N");
        const std::uint64_t m = rng() % n;
        ASSERT_TRUE(run.history.GoTo(run.core, m));
        ExpectLikeReference(lines, run.core, "back at M");
        // forward again by travel, then one step back, then by running
        ASSERT_TRUE(run.history.GoTo(run.core, n));
        ExpectLikeReference(lines, run.core, "forward to N");
        ASSERT_TRUE(run.history.StepBack(run.core));
        EXPECT_EQ(run.core.Step(), n - 1);
        ExpectLikeReference(lines, run.core, "a step back");
        ASSERT_TRUE(run.history.GoTo(run.core, m));
        run.RunTo(n);
        ExpectLikeReference(lines, run.core, "run again to N");
        run.history.NoteLive(run.core);
        EXPECT_EQ(run.history.Latest(), run.core.Step());
        if (HasFailure())
            return;
    }
    // the programs went through the parts that are hard to put back
    EXPECT_GT(destroying, 20);
    EXPECT_GT(pushing, 20);
    EXPECT_GT(separated, 20);
}

TEST(History, EndlessRunStaysWithinBudgetAndReachesItsStart)
{
    const TLines lines{u"$0001{[+01{$0002+03}]}"};
    constexpr std::size_t kBudget = 64 * 1024;
    THistoryCore run(kBudget, 16);
    run.Load(lines);
    run.RunTo(200000);
    EXPECT_LE(run.history.Bytes(), kBudget);
    EXPECT_GT(run.history.Interval(), 16U); // thinned out at least once
    EXPECT_EQ(run.history.First(), 0U);
    ASSERT_TRUE(run.history.GoTo(run.core, 3));
    ExpectLikeReference(lines, run.core, "near the start");
    ASSERT_TRUE(run.history.GoTo(run.core, 199999));
    ExpectLikeReference(lines, run.core, "near the end");
}

TEST(History, RunBackStopsAtEachEarlierBreakpointArrivalThenTheStart)
{
    const TLines lines{u"$0001", u"[03:+01", u"]+02"};
    THistoryCore run;
    run.Load(lines);
    run.core.SetBreakpoints({1});
    run.RunTo(1000); // pauses at the first arrival, after $0001 and the line advance
    EXPECT_EQ(run.core.Step(), 2U);
    run.RunTo(1000);
    run.RunTo(1000);
    run.RunTo(1000);
    const std::uint64_t end = run.core.Step();
    ASSERT_FALSE(run.core.IsRun());
    // the arrivals at line 1: from line 0, then each jump back from `]`
    std::vector<std::uint64_t> stops;
    while (run.history.RunBack(run.core))
        stops.push_back(run.core.Step());
    EXPECT_EQ(stops, (std::vector<std::uint64_t>{9, 6, 2, 0})) << end;
    EXPECT_EQ(run.core.GetMemory(), std::vector<std::uint8_t>{});
}

TEST(History, RunBackGoesBackToTheWatchpointPausesTheRunMade)
{
    const TLines lines{u"$0001 +01 +00 +01", u"+02"};
    THistoryCore run;
    run.Load(lines);
    bool finished = false;
    run.core.OnFinish = [&finished](TVeskCore&) { finished = true; };
    run.core.SetWatchpoints({*TWatchpoint::Make(u"0001", wkChange)});
    // Each pause is noted as the window notes it.
    std::vector<std::uint64_t> paused;
    while (!finished && paused.size() < 10) {
        run.core.Execute();
        while (run.core.IsRun())
            run.core.RunSteps(1000);
        if (!finished) {
            paused.push_back(run.core.Step());
            run.history.NoteStop(run.core.Step(), false);
        }
    }
    ASSERT_EQ(paused, (std::vector<std::uint64_t>{2, 4, 6}));
    std::vector<std::uint64_t> stops;
    while (run.history.RunBack(run.core))
        stops.push_back(run.core.Step());
    EXPECT_EQ(stops, (std::vector<std::uint64_t>{6, 4, 2, 0}));
}

TEST(History, StepBackOutAndOverReverseTheStructuralSteps)
{
    // line 1 col 1 is the `[`; its body is +01 +01, then `]`, then +05
    const TLines lines{u"$0001", u"[03:+01+01]+05"};
    THistoryCore run;
    run.Load(lines);
    run.RunTo(8); // in the second pass: $ ln [ +01 +01 ] +01 +01 -> before `]`
    ASSERT_EQ(run.core.NextPosition(), (TVeskCore::TCodePos{1, 11}));
    ASSERT_TRUE(run.history.StepBackOut(run.core));
    EXPECT_EQ(run.core.Step(), 2U); // before the `[` ran
    EXPECT_EQ(run.core.NextPosition(), (TVeskCore::TCodePos{1, 1}));
    run.RunTo(12); // out of the loop, before +05
    ASSERT_EQ(run.core.NextPosition(), (TVeskCore::TCodePos{1, 12}));
    ASSERT_TRUE(run.history.StepBackOver(run.core));
    EXPECT_EQ(run.core.Step(), 2U);
    EXPECT_EQ(run.core.GetMemory(), std::vector<std::uint8_t>{0});
    // inside the loop, step back over is one step
    ASSERT_TRUE(run.history.GoTo(run.core, 5));
    ASSERT_TRUE(run.history.StepBackOver(run.core));
    EXPECT_EQ(run.core.Step(), 4U);
}

TEST(History, StepBackOutAndOverOfAConditionBlockLandBeforeTheCondition)
{
    // $0001, ?00 jumps onto `(`, `(`, +01, `:` jumps onto `)`, `)`, then +05
    const TLines lines{u"$0001?00(+01:+02)+05"};
    THistoryCore run;
    run.Load(lines);
    run.RunTo(6);
    ASSERT_EQ(run.core.NextPosition(), (TVeskCore::TCodePos{0, 18}));
    ASSERT_TRUE(run.history.StepBackOver(run.core));
    EXPECT_EQ(run.core.Step(), 1U);
    EXPECT_EQ(run.core.NextPosition(), (TVeskCore::TCodePos{0, 6}));
    ASSERT_TRUE(run.history.GoTo(run.core, 4)); // before the `:`
    ASSERT_TRUE(run.history.StepBackOut(run.core));
    EXPECT_EQ(run.core.Step(), 1U);
}

struct TOriginCase {
    TLines lines;
    std::u16string cell;
    std::uint64_t step;
    std::int32_t line;
    std::int32_t column;
    std::u16string text;
    std::int32_t source;
};

class WhereFrom : public ::testing::TestWithParam<TOriginCase> {};

TEST_P(WhereFrom, NamesTheLastWriterBeforeNow)
{
    const TOriginCase& c = GetParam();
    THistoryCore run(TRunHistory::kDefaultBudget, 2);
    run.Load(c.lines);
    run.RunTo(100000);
    const TMoment before = MomentOf(run.core);
    const auto origin = run.history.WhereFrom(run.core, TCellMemory::CodeOf(c.cell));
    ASSERT_TRUE(origin.has_value());
    EXPECT_EQ(origin->step, c.step);
    EXPECT_EQ(origin->line, c.line);
    EXPECT_EQ(origin->column, c.column);
    EXPECT_EQ(origin->text, c.text);
    EXPECT_EQ(origin->source, c.source);
    EXPECT_EQ(MomentOf(run.core), before); // the question moves nothing
}

INSTANTIATE_TEST_SUITE_P(
    History, WhereFrom,
    ::testing::Values(
        // a byte added last, after writes on other cells and lines
        TOriginCase{{u"$0001+05$0002+01", u"$0001-02$0002<"}, u"0001", 7, 1, 6, u"-02", -1},
        // copied from the current cell: the source is that cell
        TOriginCase{{u"$00aa+07^0001$0003"}, u"0001", 3, 0, 9, u"^0001", 0xAA},
        // added from another cell, in a loop: the last pass
        TOriginCase{{u"$0002+03$0001[04:+@0002]"}, u"0001", 11, 0, 18, u"+@0002", 2},
        // a cell never written since it was made: the `$` that made it
        TOriginCase{{u"$BEEF$0001[05:+01]"}, u"beef", 1, 0, 1, u"$BEEF", -1},
        // destroyed and made again: the new cell's maker
        TOriginCase{{u"$0001+09$0002~0001^0001"}, u"0001", 5, 0, 19, u"^0001", 2}));

TEST(History, ABranchDropsTheFutureAndWhereFromStopsAtIt)
{
    const TLines lines{u"$0001[0A:+01]"};
    THistoryCore run(TRunHistory::kDefaultBudget, 3);
    run.Load(lines);
    run.RunTo(20);
    ASSERT_TRUE(run.history.GoTo(run.core, 9));
    EXPECT_EQ(run.history.Branch(run.core, {1}), 11U);
    EXPECT_EQ(run.history.Latest(), 9U);
    const auto origin = run.history.WhereFrom(run.core, 1);
    ASSERT_TRUE(origin.has_value());
    EXPECT_TRUE(origin->byHand);
    EXPECT_EQ(origin->step, 9U);
    // a cell not changed by hand is traced through the branch point
    run.RunTo(12);
    EXPECT_EQ(run.core.Step(), 12U);
    ASSERT_TRUE(run.history.GoTo(run.core, 3));
    ExpectLikeReference(lines, run.core, "before the branch");
}

TEST(History, TimeShownIsTheRecordedOneAndNeverGoesBack)
{
    const TLines lines{u"$0001[+01]"};
    THistoryCore run(TRunHistory::kDefaultBudget, 50);
    run.Load(lines);
    run.RunTo(1000);
    const double end = run.core.EndTime();
    ASSERT_GT(end, 0);
    double last = -1;
    for (std::uint64_t step : {0, 1, 49, 50, 51, 400, 999, 1000}) {
        ASSERT_TRUE(run.history.GoTo(run.core, step));
        EXPECT_GE(run.core.EndTime(), last) << step;
        last = run.core.EndTime();
    }
    EXPECT_EQ(run.core.EndTime(), end);
    ASSERT_TRUE(run.history.GoTo(run.core, 0));
    EXPECT_EQ(run.core.EndTime(), 0);
}

TEST(History, RunningOnFromASnapshotDrawsTheSameAllowances)
{
    // A clock that stands still: the run time is the drawn allowances alone.
    struct TStillClock final : TVeskClock {
        double Now() override { return 1.0; }
    } clock;
    TManualTimerOwner owner;
    TVeskCore core(owner, &clock);
    TRunHistory history(TRunHistory::kDefaultBudget, 5, 0);
    core.AttachHistory(&history);
    core.ProgramCode() = {u"$0001[+01]"};
    core.Execute();
    core.RunSteps(40);
    core.Pause();
    const double first = core.EndTime();
    ASSERT_TRUE(history.GoTo(core, 10)); // a snapshot's step: its time is exact
    core.Execute();
    core.RunSteps(30);
    EXPECT_EQ(core.Step(), 40U);
    EXPECT_EQ(core.EndTime(), first);
}

} // namespace
