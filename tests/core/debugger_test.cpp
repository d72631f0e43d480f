// Breakpoints, stepping, run-to-line and the read-outs a debugger shows; steps
// run in batches, and the timer slices of an unpaced run.
#include <stop_token>
#include <gtest/gtest.h>

#include <utility>

#include "tests/core/corefixture.h"

namespace {

constexpr double kAllowanceDay = 1.0 / 4680000.0;

using TCodePos = TVeskCore::TCodePos;
using TPauseCause = TVeskCore::TPauseCause;

// Each case runs twice: ticked one step at a time, as the timer does, and in
// batches of steps; both must stop at the same places.
class Debugger : public CoreTest, public ::testing::WithParamInterface<bool> {
protected:
    // Starts or continues the run and drives it until it halts.
    void Go()
    {
        core.Execute();
        if (GetParam()) {
            while (core.IsRun())
                core.RunSteps(1000);
        } else {
            Tick();
        }
    }

    // Where each pause stood, and the cell 0001 there.
    struct TStop {
        TCodePos at;
        int value;
        friend bool operator==(const TStop&, const TStop&) = default;
    };
    std::vector<TStop> GoUntilFinished(int limit = 50)
    {
        std::vector<TStop> stops;
        for (int i = 0; i < limit; ++i) {
            Go();
            if (events.back() != "pause")
                break;
            stops.push_back({core.NextPosition(), Value(u"0001")});
        }
        return stops;
    }
};

TEST_P(Debugger, LoopOnOneMarkedLinePausesOnEveryPass)
{
    Load({u"$0001", u"[03:+01]"});
    core.SetBreakpoints({1});
    const auto stops = GoUntilFinished();
    // arriving from line 0, then each jump back from `]`; never after `+01`
    EXPECT_EQ(stops, (std::vector<TStop>{{{1, 1}, 0}, {{1, 5}, 1}, {{1, 5}, 2}}));
    EXPECT_EQ(core.LastPauseCause(), TPauseCause::pcBreakpoint);
    EXPECT_EQ(events.back(), "stop");
    EXPECT_EQ(Value(u"0001"), 3);
    // the pauses add no steps: 2 for line 0, 1 + 3 x 2 for line 1, its advance, the end
    EXPECT_EQ(core.Step(), 11U);
}

TEST_P(Debugger, JumpsIntoMarkedLinesPauseFlowingOnDoesNot)
{
    // a condition's branch lands in the middle of line 1
    Load({u"$0001?01(+01", u"+03:+02)+01+01"});
    core.SetBreakpoints({1});
    EXPECT_EQ(GoUntilFinished(), (std::vector<TStop>{{{1, 5}, 0}}));
    EXPECT_EQ(Value(u"0001"), 4);

    // a loop back from another line arrives again on every pass
    events.clear();
    Load({u"$0001[02:", u"+01+01", u"]"});
    core.SetBreakpoints({1});
    EXPECT_EQ(GoUntilFinished(), (std::vector<TStop>{{{1, 1}, 0}, {{1, 1}, 2}}));
    EXPECT_EQ(Value(u"0001"), 4);
}

TEST_P(Debugger, BreakpointOnTheLastLine)
{
    Load({u"$0001", u"+01"});
    core.SetBreakpoints({1, 7});
    EXPECT_EQ(GoUntilFinished(), (std::vector<TStop>{{{1, 1}, 0}}));
    EXPECT_EQ(events, (Events{"start", "pause", "start", "finish", "stop"}));
    EXPECT_EQ(Value(u"0001"), 1);

    // an empty last line: the pause comes before its line advance
    events.clear();
    Load({u"$0001", u""});
    EXPECT_EQ(GoUntilFinished(), (std::vector<TStop>{{{1, 1}, 0}}));
    EXPECT_EQ(core.Step(), 4U);
}

TEST_P(Debugger, StepsRunOneStepAndStopAtTheEnd)
{
    Load({u"$0001+01"});
    core.Execute();
    core.Pause();
    std::vector<TCodePos> positions{core.NextPosition()};
    for (int i = 0; i < 3; ++i) {
        core.RequestStepStop();
        Go();
        positions.push_back(core.NextPosition());
        EXPECT_EQ(core.LastPauseCause(), TPauseCause::pcStep);
    }
    EXPECT_EQ(positions, (std::vector<TCodePos>{{0, 1}, {0, 6}, {0, 9}, {1, 1}}));
    EXPECT_EQ(core.Step(), 3U);
    // the step onto the end finishes as a run does, with no pause after it
    core.RequestStepStop();
    Go();
    EXPECT_EQ(core.Step(), 4U);
    EXPECT_EQ(events, (Events{"start", "pause", "start", "pause", "start", "pause", "start", "pause", "start",
                              "finish", "stop"}));
    EXPECT_EQ(Value(u"0001"), 1);
}

TEST_P(Debugger, StepOntoAnErrorReportsItAndLeavesNoStepRequest)
{
    random.fallback = 29;
    Load({u"$0001*", u"+0"});
    core.SetBreakpoints({1});
    Go();
    ASSERT_EQ(events.back(), "pause");
    EXPECT_EQ(core.NextPosition(), (TCodePos{1, 1}));
    const double before = core.EndTime();
    core.RequestStepStop();
    Go();
    EXPECT_EQ(events, (Events{"start", "pause", "start", "stop", "error"}));
    ExpectOnlyError({{}, 1, 2, u"Невозможно распознать число '0'."});
    EXPECT_EQ(core.Step(), 4U);
    EXPECT_DOUBLE_EQ(core.EndTime(), before); // the failing step adds no time
    // the error has used up the request: mended in place, the run goes through
    core.ProgramCode()[1] = u"+01+01";
    core.SetBreakpoints({});
    Go();
    EXPECT_EQ(events.back(), "stop");
    EXPECT_EQ(events.size(), 8U);
    EXPECT_EQ(Value(u"0001"), 3);
}

TEST_P(Debugger, BreakpointWithPauseStopAndReset)
{
    Load({u"$0001", u"+01", u"+01"});
    core.SetBreakpoints({1, 2});
    Go();
    ASSERT_EQ(events, (Events{"start", "pause"}));
    core.Pause(); // already halted: nothing
    core.Stop();
    EXPECT_EQ(events, (Events{"start", "pause", "stop"}));
    // continuing after a stop at a breakpoint moves on; the next marked line stops it
    Go();
    EXPECT_EQ(core.NextPosition(), (TCodePos{2, 1}));
    EXPECT_EQ(Value(u"0001"), 1);
    // a user's pause just before a marked line: the continue passes it
    Load({u"$0001", u"+01"});
    core.SetBreakpoints({1});
    core.Execute();
    core.RunSteps(2);
    core.Pause();
    EXPECT_EQ(core.LastPauseCause(), TPauseCause::pcUser);
    Go();
    EXPECT_EQ(events.back(), "stop");
    // Reset keeps the breakpoints and drops a step request and a run-to line
    core.RequestStepStop();
    core.SetRunToLine(1);
    Load({u"$0001", u"+01", u"+01"});
    EXPECT_EQ(core.Breakpoints(), (std::vector<std::int32_t>{1}));
    EXPECT_EQ(core.RunToLine(), -1);
    EXPECT_EQ(GoUntilFinished(), (std::vector<TStop>{{{1, 1}, 0}}));
}

TEST_P(Debugger, RunToLineIsOneShot)
{
    Load({u"$0001[03:", u"+01", u"]"});
    core.SetRunToLine(1);
    EXPECT_EQ(GoUntilFinished(), (std::vector<TStop>{{{1, 1}, 0}}));
    EXPECT_EQ(core.LastPauseCause(), TPauseCause::pcRunToLine);
    EXPECT_EQ(core.RunToLine(), -1);
    EXPECT_EQ(Value(u"0001"), 3);
}

// A program made ready apart keeps the breakpoints set before it came, and
// lines written after it came are prepared and checked again.
TEST_P(Debugger, ProgramMadeReadyApartHonoursBreakpointsAndLaterEdits)
{
    core.Reset();
    core.SetBreakpoints({1});
    core.LoadPrepared(TPreparedProgram({u"$0001 ' start", u"[03:+01]"}));
    EXPECT_EQ(std::as_const(core).ProgramCode(), (std::vector<std::u16string>{u"$0001", u"[03:+01]"}));
    const auto stops = GoUntilFinished();
    EXPECT_EQ(stops, (std::vector<TStop>{{{1, 1}, 0}, {{1, 5}, 1}, {{1, 5}, 2}}));
    EXPECT_EQ(Value(u"0001"), 3);

    core.Reset();
    core.LoadPrepared(TPreparedProgram({u"+01"}));
    core.ProgramCode() = {u"+01", u"]"};
    core.Execute();
    ASSERT_EQ(errors.size(), 1U);
    EXPECT_EQ(errors[0].pos, 0); // the unpaired bracket of the new lines
    EXPECT_FALSE(core.IsRun());
}

// A stop requested before or during the preparation leaves nothing behind:
// the lines are given back, and neither a fault nor a program comes out.
TEST(PreparedProgram, StopRequestGivesEverythingBack)
{
    std::stop_source stop;
    stop.request_stop();
    const TPreparedProgram cancelled({u"$0001 ' start", u"]"}, stop.get_token());
    EXPECT_TRUE(cancelled.Cancelled());
    EXPECT_TRUE(cancelled.Lines().empty());
    EXPECT_FALSE(cancelled.Fault());

    const TPreparedProgram ready({u"$0001 ' start"}, std::stop_source().get_token());
    EXPECT_FALSE(ready.Cancelled());
    EXPECT_EQ(ready.Lines(), std::vector<std::u16string>{u"$0001"});
}

INSTANTIATE_TEST_SUITE_P(TickedAndBatched, Debugger, ::testing::Bool(),
                         [](const auto& info) { return info.param ? "Batched" : "Ticked"; });

TEST_F(CoreTest, ReadOutsShowTheStacksAndTheCurrentCell)
{
    Load({u"$0002$00ab{[02:[03:+01]]$0003~0002}"});
    EXPECT_EQ(core.NextPosition(), (TCodePos{0, 1}));
    core.Execute();
    EXPECT_EQ(core.RunSteps(6), 6U);
    core.Pause();
    EXPECT_EQ(core.NextPosition(), (TCodePos{0, 23}));
    EXPECT_EQ(core.AddressStack(), (std::vector<std::u16string>{u"00AB"}));
    EXPECT_EQ(core.CurrentCell(), 1);
    const auto loops = core.LoopStack();
    ASSERT_EQ(loops.size(), 2U);
    EXPECT_EQ(loops[0].head, (TCodePos{0, 12}));
    EXPECT_EQ(loops[0].passes, 2);
    EXPECT_EQ(loops[1].head, (TCodePos{0, 16}));
    EXPECT_EQ(loops[1].passes, 3);
    core.Execute();
    EXPECT_EQ(core.RunSteps(16), 16U);
    core.Pause();
    // 0002 went, so the current cell 0003 is now second of two
    EXPECT_EQ(core.NextPosition(), (TCodePos{0, 35}));
    EXPECT_EQ(core.AddressStack(), (std::vector<std::u16string>{u"00AB"}));
    EXPECT_EQ(core.CurrentCell(), 1);
    EXPECT_TRUE(core.LoopStack().empty());
    EXPECT_EQ(core.GetVariables(), (std::vector<std::u16string>{u"00ab", u"0003"}));
    core.Execute();
    Tick();
    EXPECT_TRUE(core.AddressStack().empty());
    EXPECT_EQ(core.CurrentCell(), -1);
}

TEST_F(CoreTest, BatchesAccountTimeAsTicksDo)
{
    random.fallback = 29;
    clock.advance = 0;
    double atFinish = -1;
    core.OnFinish = [&](TVeskCore& sender) { atFinish = sender.EndTime(); };
    Load({u"$0001[05:+01]"});
    core.Execute();
    while (core.IsRun())
        core.RunSteps(3);
    // every step has its allowance, the finishing one after the handlers
    EXPECT_EQ(core.Step(), 14U);
    EXPECT_DOUBLE_EQ(atFinish, 13 * kAllowanceDay);
    EXPECT_DOUBLE_EQ(core.EndTime(), 14 * kAllowanceDay);
    EXPECT_EQ(random.ranges.size(), 14U);
    Run({u"$0001[05:+01]"});
    EXPECT_DOUBLE_EQ(core.EndTime(), 14 * kAllowanceDay);
}

TEST_F(CoreTest, TimerSliceRunsStepsUntilItsTimeIsUp)
{
    Load({u"$0001[FF:[FF:+01]]"});
    core.SetTimerSlice(0.010);
    core.Execute();
    // a clock that never moves: the slice runs the program through
    core.TimerTick();
    EXPECT_FALSE(core.IsRun());
    EXPECT_EQ(events.back(), "stop");
    const std::uint64_t steps = core.Step();
    EXPECT_EQ(steps, 2U + 255U * (1U + 255U * 2U + 1U) + 2U);

    // a clock that moves a day per reading: every slice ends at its first look
    clock.advance = 1.0;
    Load({u"$0001[FF:[FF:+01]]"});
    core.Execute();
    core.TimerTick();
    EXPECT_TRUE(core.IsRun());
    EXPECT_GT(core.Step(), 0U);
    EXPECT_LT(core.Step(), 1000U);
    core.SetTimerSlice(0);
    const std::uint64_t before = core.Step();
    core.TimerTick();
    EXPECT_EQ(core.Step(), before + 1);
}

} // namespace

TEST_F(CoreTest, AddressStackTopGivesTheNewestEntriesBottomFirst)
{
    Load({u"$0001{$0002{{$0003{}}}}"});
    core.Execute();
    EXPECT_EQ(core.RunSteps(7), 7U);
    core.Pause();
    EXPECT_EQ(core.AddressStackSize(), 4U);
    EXPECT_EQ(core.AddressStackTop(2), (std::vector<std::u16string>{u"0002", u"0003"}));
    EXPECT_EQ(core.AddressStackTop(9), core.AddressStack());
    EXPECT_TRUE(core.AddressStackTop(0).empty());
}
