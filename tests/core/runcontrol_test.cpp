// Run control: events and their order, IsRun inside handlers, pause and
// continue, Reset, the catch-all, step counting and time accounting.
#include "tests/core/corefixture.h"

#include <stdexcept>
#include <string>
#include <vector>

namespace {

class RunControl : public CoreTest {};
class TimeAccounting : public CoreTest {};

constexpr double kAllowanceDay = 1.0 / 4680000.0;

TEST_F(RunControl, EmptyProgramFinishesAtOnceWithoutTimer)
{
    core.Execute();
    EXPECT_EQ(events, (Events{"finish", "stop"}));
    EXPECT_EQ(owner.TimersMade(), 0);
    EXPECT_FALSE(core.IsRun());
    EXPECT_EQ(core.Step(), 0U);
    EXPECT_EQ(core.EndTime(), 0.0);
    EXPECT_EQ(clock.readings, 0);
}

TEST_F(RunControl, OneEmptyLineTakesTwoTicks)
{
    Load({u""});
    core.Execute();
    EXPECT_EQ(owner.TimersMade(), 1);
    EXPECT_EQ(owner.IntervalMs(), 1);
    core.TimerTick();
    EXPECT_EQ(events, (Events{"start"}));
    EXPECT_TRUE(core.IsRun());
    core.TimerTick();
    EXPECT_EQ(events, (Events{"start", "finish", "stop"}));
    EXPECT_EQ(core.Step(), 2U);
}

TEST_F(RunControl, IsRunInsideEachHandler)
{
    Run({u"+01"});
    Load({u"$0001+01"});
    core.Execute();
    core.TimerTick();
    core.Pause();
    core.Execute();
    Tick();
    EXPECT_EQ(events, (Events{"start", "stop", "error", "start", "pause", "start", "finish", "stop"}));
    EXPECT_EQ(runningAt, (std::vector<bool>{true, false, false, true, false, true, false, false}));
}

TEST_F(RunControl, PauseAndContinueGoOnWhereTheyStopped)
{
    Load({u"$0001+01+01+01"});
    core.Pause();
    EXPECT_TRUE(events.empty());
    core.Execute();
    Tick(2);
    core.Pause();
    const double pausedAt = core.EndTime();
    EXPECT_FALSE(core.IsRun());
    core.Pause();
    EXPECT_EQ(events, (Events{"start", "pause"}));
    EXPECT_EQ(core.Step(), 2U);
    EXPECT_EQ(Value(u"0001"), 1);
    core.Execute();
    EXPECT_EQ(core.EndTime(), pausedAt);
    Tick();
    EXPECT_EQ(Value(u"0001"), 3);
    EXPECT_EQ(core.Step(), 6U);
    EXPECT_GT(core.EndTime(), pausedAt);
    EXPECT_EQ(owner.TimersMade(), 1);
}

TEST_F(RunControl, StopRaisesEveryTime)
{
    core.Stop();
    core.Stop();
    EXPECT_EQ(events, (Events{"stop", "stop"}));
}

TEST_F(RunControl, ExecuteWhileRunningOnlyStartsAgain)
{
    Load({u"$0001+01"});
    core.Execute();
    core.TimerTick();
    core.Execute();
    EXPECT_EQ(events, (Events{"start", "start"}));
    EXPECT_EQ(owner.TimersMade(), 1);
    Tick();
    EXPECT_EQ(Value(u"0001"), 1);
}

TEST_F(RunControl, ExecuteAfterFinishFindsTheEndAgain)
{
    Run({u"$0001"});
    EXPECT_EQ(core.Step(), 3U);
    core.Execute();
    Tick();
    EXPECT_EQ(events, (Events{"start", "finish", "stop", "start", "finish", "stop"}));
    EXPECT_EQ(core.Step(), 4U);
}

TEST_F(RunControl, ResetWhileRunningIsSilentAndClearsEverything)
{
    Load({u"$0001+05{[+01]"});
    core.Execute();
    Tick(10);
    events.clear();
    core.Reset();
    EXPECT_TRUE(events.empty());
    EXPECT_FALSE(core.IsRun());
    EXPECT_EQ(core.Step(), 0U);
    EXPECT_EQ(core.EndTime(), 0.0);
    EXPECT_TRUE(core.GetMemory().empty());
    EXPECT_TRUE(core.GetVariables().empty());
    EXPECT_TRUE(core.ProgramCode().empty());
    // no current cell after a reset, whatever was selected before
    core.ProgramCode() = {u"+01"};
    core.Execute();
    Tick();
    EXPECT_EQ(LastError().message, u"Ошибка при доступе к памяти.");
    EXPECT_EQ(owner.TimersMade(), 1);
}

TEST_F(RunControl, ReadOutsAreCopies)
{
    Run({u"$0001+07$0002"});
    TMemory memory = core.GetMemory();
    memory[0] = 99;
    auto names = core.GetVariables();
    names[0] = u"ffff";
    EXPECT_EQ(core.GetMemory(), (TMemory{7, 0}));
    EXPECT_EQ(core.GetVariables(), (std::vector<std::u16string>{u"0001", u"0002"}));
}

TEST_F(RunControl, ErrorLeavesPositionAndResetsConditionStatus)
{
    // +@0001 fails inside the first branch; fixed while halted, the continue
    // runs it and then meets `:` with the status back to normal.
    Run({u"$0002(+@0001:+02)"});
    EXPECT_EQ(LastError().pos, 7);
    core.ProgramCode()[0] = u"$0002(+@0002:+02)";
    core.Execute();
    Tick();
    EXPECT_EQ(LastError().pos, 13);
    EXPECT_EQ(LastError().message, u"Использование символа деления ветвей вне блока обработки условия.");
}

TEST_F(RunControl, HandlerFailureDoesNotEscapeButIsReported)
{
    core.OnStart = [](TVeskCore&) { throw std::runtime_error("handler"); };
    core.OnFinish = [](TVeskCore&) { throw 1; };
    std::vector<std::string> failures;
    core.OnHandlerFailure = [&failures](std::exception_ptr failure) {
        try {
            std::rethrow_exception(failure);
        } catch (const std::runtime_error& error) {
            failures.emplace_back(error.what());
        } catch (int code) {
            failures.push_back(std::to_string(code));
        }
        throw std::logic_error("the last resort throws too");
    };
    Load({u"$0001"});
    EXPECT_NO_THROW(core.Execute());
    EXPECT_TRUE(core.IsRun());
    EXPECT_NO_THROW(Tick());
    EXPECT_FALSE(core.IsRun());
    EXPECT_EQ(events, (Events{"stop"}));
    EXPECT_EQ(failures, (std::vector<std::string>{"handler", "1"}));
}

TEST_F(RunControl, ErrorWithoutHandlerStillStops)
{
    core.OnError = nullptr;
    Run({u"*"});
    EXPECT_EQ(events, (Events{"start", "stop"}));
    Run({u"$"});
    EXPECT_EQ(events, (Events{"start", "stop", "start", "stop"}));
}

TEST_F(TimeAccounting, EveryAccountedTickAddsMeasuredTimeAndAllowance)
{
    clock.now = 1000.0;
    clock.advance = 0.25;
    random.queued = {0, 29, 5, 12};
    double finishTime = -1;
    core.OnFinish = [&](TVeskCore& sender) { finishTime = sender.EndTime(); };
    Run({u"()"});
    EXPECT_EQ(core.Step(), 4U);
    EXPECT_EQ(random.ranges, (std::vector<std::int32_t>{30, 30, 30, 30}));
    // each tick reads the clock twice, 0.25 days apart
    double expected = 0;
    for (const int r : {70, 99, 75})
        expected = (0.25 + expected) + r * kAllowanceDay / 99;
    EXPECT_DOUBLE_EQ(finishTime, expected);
    EXPECT_DOUBLE_EQ(core.EndTime(), (0.25 + expected) + 82 * kAllowanceDay / 99);
}

TEST_F(TimeAccounting, OperatorErrorAddsNothingCatchAllAddsItsTick)
{
    random.fallback = 29;
    Run({u"$0001*+0"});
    EXPECT_EQ(core.Step(), 3U);
    EXPECT_EQ(random.ranges.size(), 2U);
    EXPECT_DOUBLE_EQ(core.EndTime(), 2 * (99 * kAllowanceDay / 99));

    Run({u"$0001?01([02:+01]:+05)"});
    EXPECT_EQ(LastError().message, u"Неизвестное исключение.");
    EXPECT_EQ(random.ranges.size(), 2U + core.Step());
    EXPECT_EQ(events.back(), "error");
}

TEST_F(TimeAccounting, HaltedCoreAddsNothing)
{
    clock.advance = 1.0;
    Load({u"$0001+01"});
    core.Execute();
    core.TimerTick();
    core.Pause();
    const double paused = core.EndTime();
    clock.now += 500;
    core.Execute();
    core.TimerTick();
    EXPECT_DOUBLE_EQ(core.EndTime() - paused, 1.0 + 70 * kAllowanceDay / 99);
}

} // namespace
