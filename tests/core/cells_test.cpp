// Cell operators: selection, byte arithmetic, bits, copy, destroy, address stack.
// The shared tables of finished and failed runs are checked here.
#include "tests/core/corefixture.h"

namespace {

class Cells : public CoreTest {};

} // namespace

TEST_P(FinishedRun, LeavesCellValue)
{
    Run(GetParam().lines);
    EXPECT_EQ(events, (Events{"start", "finish", "stop"}));
    EXPECT_EQ(Value(GetParam().cell), GetParam().value);
}

TEST_P(FailedRun, StopsAtOperator)
{
    Run(GetParam().lines);
    EXPECT_EQ(events, (Events{"start", "stop", "error"}));
    ExpectOnlyError(GetParam());
}

namespace {

INSTANTIATE_TEST_SUITE_P(Cells, FinishedRun, ::testing::ValuesIn(std::vector<TValueCase>{
    {{u"$0001+aB-0b"}, u"0001", 0xA0},
    {{u"$0002+05$0001+03+@0002"}, u"0001", 8},
    {{u"$0001+40<<"}, u"0001", 1},
    {{u"$0001+01*"}, u"0001", 0},
    // destroying the current cell selects the stack's top
    {{u"$0001+05{$0002~0002+01}"}, u"0001", 6},
    // a destroyed cell comes back anew with 0
    {{u"$0001+05~0001$0002$0001"}, u"0001", 0},
    // stack entries are addresses: looked up again after the cell came back
    {{u"$0001{{~0001$0001+03$0002}+01}"}, u"0001", 4},
    // letter case does not matter on the stack either
    {{u"$00ab{{$00AB+01$0002}+01}"}, u"00ab", 2}}));

INSTANTIATE_TEST_SUITE_P(Cells, FailedRun, ::testing::ValuesIn(std::vector<TErrorCase>{
    {{u"$0001~0001-01"}, 0, 11, kMemoryAccess},
    {{u"*"}, 0, 1, kMemoryAccess},
    {{u"$0001~0001<"}, 0, 11, kMemoryAccess},
    {{u"$0001~0001>"}, 0, 11, kMemoryAccess},
    // the named cell is examined before the current one, and both after the address
    {{u"$0002$0001~0001+@0002"}, 0, 16, kMemoryAccess},
    {{u"-@0002"}, 0, 1, u"Не обнаружена ячейка для выполнения действия."},
    {{u"$0001+@0002"}, 0, 6, u"Не обнаружена ячейка для выполнения действия."},
    {{u"{$0001{}}+01"}, 0, 10, kMemoryAccess},
    {{u"", u"$0001-0@"}, 1, 7, u"Невозможно распознать число '0@'."},
    {{u"$12"}, 0, 2, kBadAddress},
    {{u"$0001^00"}, 0, 7, kBadAddress},
    {{u"$0001~0:"}, 0, 7, kBadAddress},
    {{u"$0001-@"}, 0, 7, kBadAddress},
    {{u"$0001A"}, 0, 6, u"Использование числовых данных без операторов"}}));

// The spelling of a cell's first use stays, lookups find earlier cells, and a
// destroyed cell's successors move down with their values.
TEST_F(Cells, NamesKeepFirstSpellingAndOrderThroughDestroy)
{
    Run({u"$00ff+01$0002+02$0003+03$00FF+01~0002"});
    EXPECT_EQ(core.GetVariables(), (std::vector<std::u16string>{u"00ff", u"0003"}));
    EXPECT_EQ(core.GetMemory(), (TMemory{2, 3}));
}

TEST_F(Cells, FailingOperatorKeepsEarlierChangesAndPosition)
{
    Run({u"$0001+05+0"});
    EXPECT_EQ(Value(u"0001"), 5);
    EXPECT_EQ(core.Step(), 3U);
    // a continue fails again at the same operator
    core.Execute();
    Tick();
    ASSERT_EQ(errors.size(), 2U);
    EXPECT_EQ(errors[1].pos, errors[0].pos);
    EXPECT_EQ(core.Step(), 4U);
}

TEST_F(Cells, LineBreakCharactersInsideLineArePassedOver)
{
    Run({u"$0001\r+01\n+01"});
    EXPECT_EQ(Value(u"0001"), 2);
    EXPECT_EQ(core.Step(), 7U);
}

} // namespace
