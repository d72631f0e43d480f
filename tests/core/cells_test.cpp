// Cell operators: selection, byte arithmetic, bits, copy, destroy, address stack.
#include "tests/core/corefixture.h"

namespace {

class Cells : public CoreTest {};

struct TValueCase {
    std::u16string program;
    std::u16string cell;
    int value;
};

class CellValues : public CoreTest, public ::testing::WithParamInterface<TValueCase> {};

TEST_P(CellValues, FinishWithValue)
{
    Run({GetParam().program});
    EXPECT_EQ(events, (Events{"start", "finish", "stop"}));
    EXPECT_EQ(Value(GetParam().cell), GetParam().value);
}

INSTANTIATE_TEST_SUITE_P(Arithmetic, CellValues, ::testing::Values(
    TValueCase{u"$0001+05", u"0001", 5},
    TValueCase{u"$0001+FF+01", u"0001", 0},
    TValueCase{u"$0001-01", u"0001", 255},
    TValueCase{u"$0001+01+FF", u"0001", 0},
    TValueCase{u"$0001+aB-0b", u"0001", 0xA0},
    TValueCase{u"$0002+05$0001+03+@0002", u"0001", 8},
    TValueCase{u"$0002+05$0001+03-@0002", u"0001", 254},
    TValueCase{u"$0001+C8+@0001", u"0001", 144},
    TValueCase{u"$0001+C8-@0001", u"0001", 0}));

INSTANTIATE_TEST_SUITE_P(Bits, CellValues, ::testing::Values(
    TValueCase{u"$0001+81<", u"0001", 3},
    TValueCase{u"$0001+81>", u"0001", 192},
    TValueCase{u"$0001+40<<", u"0001", 1},
    TValueCase{u"$0001*", u"0001", 1},
    TValueCase{u"$0001+01*", u"0001", 0},
    TValueCase{u"$0001+FE*", u"0001", 255},
    TValueCase{u"$0001+FF*", u"0001", 254}));

INSTANTIATE_TEST_SUITE_P(CopyDestroyStack, CellValues, ::testing::Values(
    // the copy leaves the source current
    TValueCase{u"$0001+07^0005+01", u"0005", 7},
    TValueCase{u"$0001+07^0005+01", u"0001", 8},
    // destroying an earlier cell keeps the same cell current
    TValueCase{u"$0001$0002$0003$0002~0001+01", u"0002", 1},
    TValueCase{u"$0001$0002$0003$0002~0001+01", u"0003", 0},
    // destroying the current cell selects the stack's top
    TValueCase{u"$0001+05{$0002~0002+01}", u"0001", 6},
    // a destroyed cell comes back anew with 0
    TValueCase{u"$0001+05~0001$0002$0001", u"0001", 0},
    // `}` returns to the address saved before the last one
    TValueCase{u"$0001{{$0002}+01}", u"0001", 1},
    // stack entries are addresses: looked up again after the cell came back
    TValueCase{u"$0001{{~0001$0001+03$0002}+01}", u"0001", 4},
    // letter case does not matter on the stack either
    TValueCase{u"$00ab{{$00AB+01$0002}+01}", u"00ab", 2}));

TEST_F(Cells, CellKeepsNameOfFirstUseAndOrderOfCreation)
{
    Run({u"$00ff+01$0001$00FF+01"});
    EXPECT_EQ(core.GetVariables(), (std::vector<std::u16string>{u"00ff", u"0001"}));
    EXPECT_EQ(core.GetMemory(), (TMemory{2, 0}));
}

TEST_F(Cells, DestroyMovesLaterCellsDown)
{
    Run({u"$0001+01$0002+02$0003+03~0002"});
    EXPECT_EQ(core.GetVariables(), (std::vector<std::u16string>{u"0001", u"0003"}));
    EXPECT_EQ(core.GetMemory(), (TMemory{1, 3}));
}

TEST_F(Cells, CopyWithoutCurrentCellLeavesCreatedTarget)
{
    Run({u"^0005"});
    EXPECT_EQ(LastError().message, u"Ошибка при доступе к памяти.");
    EXPECT_EQ(core.GetVariables(), (std::vector<std::u16string>{u"0005"}));
    EXPECT_EQ(Value(u"0005"), 0);
}

struct TErrorCase {
    std::u16string program;
    std::int32_t pos;
    std::u16string message;
};

class CellErrors : public CoreTest, public ::testing::WithParamInterface<TErrorCase> {};

TEST_P(CellErrors, StopAtOperator)
{
    Run({u"", GetParam().program});
    EXPECT_EQ(events, (Events{"start", "stop", "error"}));
    ASSERT_EQ(errors.size(), 1U);
    EXPECT_EQ(errors[0].line, 1);
    EXPECT_EQ(errors[0].pos, GetParam().pos);
    EXPECT_EQ(errors[0].message, GetParam().message);
}

const std::u16string kMemory = u"Ошибка при доступе к памяти.";
const std::u16string kAddress = u"Неверно указан адрес ячейки.";

INSTANTIATE_TEST_SUITE_P(Operators, CellErrors, ::testing::Values(
    TErrorCase{u"+01", 1, kMemory},
    TErrorCase{u"$0001~0001-01", 11, kMemory},
    TErrorCase{u"*", 1, kMemory},
    TErrorCase{u"$0001~0001<", 11, kMemory},
    TErrorCase{u"$0001~0001>", 11, kMemory},
    TErrorCase{u"$0002$0001~0001+@0002", 16, kMemory},
    TErrorCase{u"$0001{$0002}+01", 13, kMemory},
    TErrorCase{u"{$0001{}}+01", 10, kMemory},
    TErrorCase{u"$0001+", 7, u"Невозможно распознать число ''."},
    TErrorCase{u"$0001+1", 7, u"Невозможно распознать число '1'."},
    TErrorCase{u"$0001-0@", 7, u"Невозможно распознать число '0@'."},
    TErrorCase{u"$12", 2, kAddress},
    TErrorCase{u"$0001^00", 7, kAddress},
    TErrorCase{u"$0001~0:", 7, kAddress},
    TErrorCase{u"$0001+@001", 7, kAddress},
    TErrorCase{u"$0001-@", 7, kAddress},
    TErrorCase{u"~0007", 1, u"Не обнаружена ячейка для уничтожения."},
    TErrorCase{u"$0001+@0002", 6, u"Не обнаружена ячейка для выполнения действия."},
    // the named cell is examined before the current one
    TErrorCase{u"-@0002", 1, u"Не обнаружена ячейка для выполнения действия."},
    TErrorCase{u"$0001+0101", 9, u"Использование числовых данных без операторов"},
    TErrorCase{u"$0001A", 6, u"Использование числовых данных без операторов"},
    TErrorCase{u"@", 1, u"Обращение к адресу без использования операторов."}));

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

// Driven without Execute, so that no check pairs the brackets first.
TEST_F(Cells, PopOnEmptyAddressStackLeavesNoCurrentCell)
{
    Load({u"$0001}+01"});
    for (int i = 0; i < 3; ++i)
        core.TimerTick();
    EXPECT_EQ(events, (Events{"stop", "error"}));
    EXPECT_EQ(LastError().pos, 7);
    EXPECT_EQ(LastError().message, u"Ошибка при доступе к памяти.");
}

TEST_F(Cells, LineBreakCharactersInsideLineArePassedOver)
{
    Run({u"$0001\r+01\n+01"});
    EXPECT_EQ(Value(u"0001"), 2);
    EXPECT_EQ(core.Step(), 7U);
}

} // namespace
