// Loops, condition blocks and the three conditions.
#include "tests/core/corefixture.h"

namespace {

class Loops : public CoreTest {};
class Conditions : public CoreTest {};

struct TFlowCase {
    std::vector<std::u16string> lines;
    std::u16string cell;
    int value;
};

class FlowValues : public CoreTest, public ::testing::WithParamInterface<TFlowCase> {};

TEST_P(FlowValues, FinishWithValue)
{
    Run(GetParam().lines);
    EXPECT_EQ(events, (Events{"start", "finish", "stop"}));
    EXPECT_EQ(Value(GetParam().cell), GetParam().value);
}

INSTANTIATE_TEST_SUITE_P(Loops, FlowValues, ::testing::Values(
    TFlowCase{{u"$0001[00:+01]"}, u"0001", 1},
    TFlowCase{{u"$0001[01:+01]"}, u"0001", 1},
    TFlowCase{{u"$0001[02:+01]"}, u"0001", 2},
    TFlowCase{{u"$0001[FF:+01]"}, u"0001", 255},
    TFlowCase{{u"$0001[fe:+01]"}, u"0001", 254},
    TFlowCase{{u"$0001[02:[03:+01]]"}, u"0001", 6},
    TFlowCase{{u"$0001[02:", u"[03:+01]", u"]"}, u"0001", 6},
    TFlowCase{{u"$0001[03:", u"+01", u"", u"' only a comment", u"+02]"}, u"0001", 9},
    // a `:` in the loop body ends the enclosing branch: out after one pass
    TFlowCase{{u"$0001([03:+01:+02])"}, u"0001", 1},
    TFlowCase{{u"$0001([+01:])"}, u"0001", 1},
    TFlowCase{{u"$0001[03:([+01:])]"}, u"0001", 3}));

INSTANTIATE_TEST_SUITE_P(Conditions, FlowValues, ::testing::Values(
    TFlowCase{{u"$0001+05?05(+01:+02:+03)"}, u"0001", 6},
    TFlowCase{{u"$0001+03?05(+01:+02:+03)"}, u"0001", 5},
    TFlowCase{{u"$0001+09?05(+01:+02:+03)"}, u"0001", 12},
    TFlowCase{{u"$0001+09?05(+01:+02)"}, u"0001", 11},
    TFlowCase{{u"$0001+03?05(+01)"}, u"0001", 3},
    TFlowCase{{u"$0001+03?05+01(+02)"}, u"0001", 3},
    TFlowCase{{u"$0001+0A?0a(+01:+02)"}, u"0001", 11},
    TFlowCase{{u"$0001+03?\?(+01:+02)"}, u"0001", 4},
    TFlowCase{{u"$0001+04?\?(+01:+02)"}, u"0001", 6},
    TFlowCase{{u"$0001+04?\?(+01)"}, u"0001", 4},
    TFlowCase{{u"$0001(+01:+02)"}, u"0001", 1},
    TFlowCase{{u"$0001+05$0002+05?@0001(+01:+02:+03)"}, u"0002", 6},
    TFlowCase{{u"$0001+07$0002+05?@0001(+01:+02:+03)"}, u"0002", 7},
    TFlowCase{{u"$0001+03$0002+05?@0001(+01:+02:+03)"}, u"0002", 8},
    // greater without a third branch: no fallback for the cell form
    TFlowCase{{u"$0001+01$0002+05?@0001(+01:+02)"}, u"0002", 5},
    // the search for the third branch stops at the first block's end
    TFlowCase{{u"$0001+09?05(+01:+02)(+03:+04)"}, u"0001", 14},
    TFlowCase{{u"$0001+03?05", u"(+01", u"", u":+02", u":+03)"}, u"0001", 5},
    // nested block complete in the last branch
    TFlowCase{{u"$0001+03?05(+01:?03(+10:+20))"}, u"0001", 0x13}));

TEST_F(Conditions, JumpsCostOneTickEach)
{
    Run({u"$0001+03?05(+01:+02:+03)"});
    // $0001 +03 ?05 +02 : ) line-advance end
    EXPECT_EQ(core.Step(), 8U);
}

TEST_F(Loops, CountedLoopStepsIncludeHeadAndEveryEnd)
{
    Run({u"$0001([03:+01:+02])"});
    EXPECT_EQ(core.Step(), 8U);
    Run({u"[02:]"});
    // [02: ] ] line-advance end
    EXPECT_EQ(core.Step(), 5U);
}

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

struct TFlowError {
    std::vector<std::u16string> lines;
    std::int32_t line;
    std::int32_t pos;
    std::u16string message;
};

class FlowErrors : public CoreTest, public ::testing::WithParamInterface<TFlowError> {};

TEST_P(FlowErrors, StopAtOperator)
{
    Run(GetParam().lines);
    EXPECT_EQ(events, (Events{"start", "stop", "error"}));
    ASSERT_EQ(errors.size(), 1U);
    EXPECT_EQ(errors[0].line, GetParam().line);
    EXPECT_EQ(errors[0].pos, GetParam().pos);
    EXPECT_EQ(errors[0].message, GetParam().message);
}

const std::u16string kNoBlock = u"Не найден блок обработки условия.";
const std::u16string kColon = u"Использование символа деления ветвей вне блока обработки условия.";
const std::u16string kMemory = u"Ошибка при доступе к памяти.";

INSTANTIATE_TEST_SUITE_P(Loops, FlowErrors, ::testing::Values(
    TFlowError{{u"$0001[05+01]"}, 0, 7, u"Использование числовых данных без операторов"},
    TFlowError{{u"$0001[@1:+01]"}, 0, 7, u"Невозможно распознать число '@1'."},
    // the loop head's `:` counts as the first separator; its `]` then has no entry
    TFlowError{{u"$0001?01([02:+01]:+05)"}, 0, 17, u"Неизвестное исключение."},
    TFlowError{{u"$0001", u"", u"?01(", u"[02:+01]:+05)"}, 3, 8, u"Неизвестное исключение."}));

INSTANTIATE_TEST_SUITE_P(Conditions, FlowErrors, ::testing::Values(
    TFlowError{{u"$0001+05?05(?06(+01:+02):+03)"}, 0, 25, kColon},
    TFlowError{{u"$0001:"}, 0, 6, kColon},
    TFlowError{{u"$0001+05?05+01(+02)"}, 0, 9, kNoBlock},
    TFlowError{{u"$0001+05?05", u"(+01)"}, 0, 9, kNoBlock},
    TFlowError{{u"$0001+05$0002+05?@0001", u"(+01)"}, 0, 17, kNoBlock},
    TFlowError{{u"$0001+01?\?+00(+01)"}, 0, 9, kNoBlock},
    TFlowError{{u"$0001+01?05"}, 0, 10, kNoBlock},
    TFlowError{{u"$0001+09?05"}, 0, 10, kNoBlock},
    TFlowError{{u"$0001", u"?\?"}, 1, 2, kNoBlock},
    TFlowError{{u"?\?(+01:+02)"}, 0, 1, kMemory},
    TFlowError{{u"?05(+01)"}, 0, 1, kMemory},
    TFlowError{{u"$0001~0001?@0001"}, 0, 11, u"Не обнаружена ячейка для сравнения."},
    TFlowError{{u"$0002$0001~0001?@0002"}, 0, 16, kMemory},
    TFlowError{{u"$0001?0@"}, 0, 7, u"Невозможно распознать число '0@'."},
    TFlowError{{u"$0001?"}, 0, 7, u"Невозможно распознать число ''."},
    TFlowError{{u"$0001?@12"}, 0, 7, u"Неверно указан адрес ячейки."},
    TFlowError{{u"$0001?@0002(+01)"}, 0, 6, u"Не обнаружена ячейка для сравнения."},
    TFlowError{{u"?@0002(+01)"}, 0, 1, u"Не обнаружена ячейка для сравнения."}));

TEST_F(Conditions, InnerBlockEndsConditionForOuterSeparator)
{
    Run({u"$0001+05?05(?06(+01:+02):+03)"});
    EXPECT_EQ(Value(u"0001"), 7);
}

// Faults that a checked program cannot reach: ticked without Execute.
TEST_F(Loops, EndWithoutHeadIsLostLoopStart)
{
    Load({u"$0001]"});
    core.TimerTick();
    core.TimerTick();
    EXPECT_EQ(events, (Events{"stop", "error"}));
    EXPECT_EQ(LastError().pos, 7);
    EXPECT_EQ(LastError().message, u"Потеряно начало цикла.");
}

TEST_F(Conditions, SeparatorWithoutBlockEndIsLostClosingBracket)
{
    Load({u"(", u":"});
    for (int i = 0; i < 3; ++i)
        core.TimerTick();
    EXPECT_EQ(events, (Events{"stop", "error"}));
    EXPECT_EQ(LastError().line, 1);
    EXPECT_EQ(LastError().pos, 2);
    EXPECT_EQ(LastError().message, u"Потеряна закрывающая скобка ветви обработки условия.");
}

TEST_F(Conditions, LoopStackAndConditionSurvivePause)
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
