// Loops, condition blocks and the three conditions.
#include "tests/core/corefixture.h"

namespace {

class Loops : public CoreTest {};

const std::u16string kNoBlock = u"Не найден блок обработки условия.";
const std::u16string kNoCompareCell = u"Не обнаружена ячейка для сравнения.";
const std::u16string kUnknownFailure = u"Неизвестное исключение.";

INSTANTIATE_TEST_SUITE_P(Flow, FinishedRun, ::testing::ValuesIn(std::vector<TValueCase>{
    {{u"$0001[02:", u"[03:+01]", u"]"}, u"0001", 6},
    // a `:` in the loop body ends the enclosing branch: out after one pass
    {{u"$0001([+01:])"}, u"0001", 1},
    {{u"$0001[03:([+01:])]"}, u"0001", 3},
    // the less branch jumps straight to the block after «+01», which does not run
    {{u"$0001+03?05+01(+02)"}, u"0001", 3},
    {{u"$0001+0A?0a(+01:+02)"}, u"0001", 11},
    // greater with three branches: the cell form takes the third
    {{u"$0001+03$0002+05?@0001(+01:+02:+03)"}, u"0002", 8},
    {{u"$0001+03?05", u"(+01", u"", u":+02", u":+03)"}, u"0001", 5},
    // nested block complete in the last branch
    {{u"$0001+03?05(+01:?03(+10:+20))"}, u"0001", 0x13}}));

INSTANTIATE_TEST_SUITE_P(Flow, FailedRun, ::testing::ValuesIn(std::vector<TErrorCase>{
    {{u"$0001[@1:+01]"}, 0, 7, u"Невозможно распознать число '@1'."},
    // the loop head's `:` counts as the first separator; its `]` then has no entry
    {{u"$0001", u"", u"?01(", u"[02:+01]:+05)"}, 3, 8, kUnknownFailure},
    {{u"$0001+05?05", u"(+01)"}, 0, 9, kNoBlock},
    {{u"$0001+05$0002+05?@0001", u"(+01)"}, 0, 17, kNoBlock},
    {{u"$0001+01?\?+00(+01)"}, 0, 9, kNoBlock},
    {{u"$0001+09?05"}, 0, 10, kNoBlock},
    {{u"$0001", u"?\?"}, 1, 2, kNoBlock},
    {{u"?05(+01)"}, 0, 1, kMemoryAccess},
    {{u"$0001~0001?@0001"}, 0, 11, kNoCompareCell},
    {{u"$0002$0001~0001?@0002"}, 0, 16, kMemoryAccess},
    {{u"?@0002(+01)"}, 0, 1, kNoCompareCell},
    {{u"$0001?0@"}, 0, 7, u"Невозможно распознать число '0@'."}}));

// Faults that a checked program cannot reach: ticked without Execute until
// the error comes.
class UncheckedRun : public FailedRun {};

TEST_P(UncheckedRun, StopsAtOperator)
{
    Load(GetParam().lines);
    for (int ticks = 0; ticks < 10 && errors.empty(); ++ticks)
        core.TimerTick();
    EXPECT_EQ(events, (Events{"stop", "error"}));
    ExpectOnlyError(GetParam());
}

INSTANTIATE_TEST_SUITE_P(Unpaired, UncheckedRun, ::testing::ValuesIn(std::vector<TErrorCase>{
    {{u"$0001]"}, 0, 7, u"Потеряно начало цикла."},
    {{u"(", u":"}, 1, 2, u"Потеряна закрывающая скобка ветви обработки условия."},
    // `}` on an empty address stack leaves no current cell
    {{u"$0001}+01"}, 0, 7, kMemoryAccess}}));

TEST_F(Loops, EndlessLoopRunsUntilStopped)
{
    Load({u"$0001[+01]"});
    core.Execute();
    EXPECT_EQ(Tick(2 + 2 * 300), 602);
    EXPECT_TRUE(core.IsRun());
    EXPECT_EQ(Value(u"0001"), 300 % 256);
    core.Stop();
    EXPECT_FALSE(core.IsRun());
    EXPECT_EQ(events, (Events{"start", "stop"}));
}

TEST_F(Loops, LoopStackAndConditionSurvivePause)
{
    Load({u"$0001[03:?00(+01:+02)]"});
    core.Execute();
    Tick(4); // $0001 [03: ?00 (
    core.Pause();
    core.Execute();
    Tick();
    EXPECT_EQ(Value(u"0001"), 1 + 2 + 2);
    EXPECT_EQ(events, (Events{"start", "pause", "start", "finish", "stop"}));
}

} // namespace
