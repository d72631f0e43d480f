// Source preparation and the check of characters and brackets.
#include "tests/core/corefixture.h"

#include <random>

#include "core/sourcecheck.h"
#include "core/staticcheck.h"

namespace {

class SourceCheck : public CoreTest {};

struct TPrepareCase {
    std::u16string line;
    std::u16string prepared;
};

void PrintTo(const TPrepareCase& c, std::ostream* os) { PrintProgram({c.line}, os); }

class PrepareLines : public ::testing::TestWithParam<TPrepareCase> {};

TEST_P(PrepareLines, Rewrite)
{
    std::u16string line = GetParam().line;
    PrepareLine(line);
    EXPECT_EQ(line, GetParam().prepared);
}

INSTANTIATE_TEST_SUITE_P(SourcePreparation, PrepareLines, ::testing::Values(
    TPrepareCase{u"  +01 ' add one", u"+01"},
    TPrepareCase{u"' only a comment", u""},
    TPrepareCase{u"'!@#", u""},
    TPrepareCase{u"$00 01", u"$0001"},
    TPrepareCase{u"\t$00\t01 +0 1\t", u"$0001+01"},
    TPrepareCase{u"\v+01\x01", u"+01"},
    TPrepareCase{u"+\v01", u"+\v01"},
    TPrepareCase{u"+01\v'comment", u"+01\v"},
    TPrepareCase{u"+01 'a'b", u"+01"},
    TPrepareCase{u"\r\n", u""},
    TPrepareCase{u"", u""}));

// The reference verdict: delete adjacent pairs until none is left.
bool PairedByDeletion(std::u16string text)
{
    for (bool changed = true; changed;) {
        changed = false;
        for (const std::u16string_view pair : {u"[]", u"{}", u"()"}) {
            if (const auto at = text.find(pair); at != std::u16string::npos) {
                text.erase(at, 2);
                changed = true;
            }
        }
    }
    return text.empty();
}

TEST(SourceBrackets, StackMatcherAgreesWithPairDeletion)
{
    std::mt19937 generator(12345);
    const std::u16string brackets = u"[]{}()";
    int paired = 0;
    for (int round = 0; round < 20000; ++round) {
        std::u16string text;
        const auto length = static_cast<int>(generator() % 5) * 2;
        for (int i = 0; i < length; ++i)
            text += brackets[generator() % brackets.size()];
        const bool expected = PairedByDeletion(text);
        paired += expected ? 1 : 0;
        const std::vector<std::u16string> lines{u"+01" + text.substr(0, text.size() / 2), u"", text.substr(text.size() / 2)};
        EXPECT_EQ(!FindSourceFault(lines).has_value(), expected) << std::string(text.begin(), text.end());
    }
    EXPECT_GT(paired, 1000); // both verdicts were exercised
}

TEST(SourceBrackets, LongLinesAndDeepNesting)
{
    const std::u16string deep = std::u16string(50000, u'(') + std::u16string(50000, u')');
    EXPECT_FALSE(FindSourceFault({deep}).has_value());
    const std::u16string broken = std::u16string(50000, u'[') + u"}" + std::u16string(49999, u']');
    const auto fault = FindSourceFault({broken});
    ASSERT_TRUE(fault.has_value());
    EXPECT_EQ(fault->line, 0);
    EXPECT_EQ(fault->column, 0);
}

class SourceFaults : public FailedRun {};

TEST_P(SourceFaults, ReportedBeforeStop)
{
    Run(GetParam().lines);
    EXPECT_EQ(events, (Events{"error", "stop"}));
    ExpectOnlyError(GetParam());
    EXPECT_EQ(core.Step(), 0U);
    EXPECT_EQ(owner.TimersMade(), 0);
}

const std::u16string kUnknown = u"Неизвестный символ.";
const std::u16string kBrackets = u"Неверное сочетание программных скобок.";

INSTANTIATE_TEST_SUITE_P(SourceCheck, SourceFaults, ::testing::ValuesIn(std::vector<TErrorCase>{
    {{u"$00FG"}, 0, 5, kUnknown},
    {{u"$00fg"}, 0, 5, kUnknown},
    {{u"$0001", u"  +01 !"}, 1, 4, kUnknown},
    {{u"="}, 0, 1, kUnknown},
    {{u"$0001+\v01"}, 0, 7, kUnknown},
    {{u"$0001 x ("}, 0, 6, kUnknown},
    {{u"(", u"", u"!"}, 2, 1, kUnknown},
    {{u"([)]"}, 0, 0, kBrackets},
    {{u"{[}]"}, 0, 0, kBrackets},
    {{u"$0001", u"", u"+01("}, 0, 0, kBrackets},
    {{u"}"}, 0, 0, kBrackets},
    {{u"] ' ["}, 0, 0, kBrackets}}));

TEST_F(SourceCheck, BracketsPairAcrossLines)
{
    Run({u"$0001[03:", u"(+01", u"", u")", u"]", u"{", u"}"});
    EXPECT_EQ(Value(u"0001"), 3);
}

TEST_F(SourceCheck, PreparedLinesStayAfterFailedCheck)
{
    Run({u" $00 01 ' x", u"\t+0 1 !"});
    EXPECT_EQ(core.ProgramCode(), (std::vector<std::u16string>{u"$0001", u"+01!"}));
}

TEST_F(SourceCheck, ContinueLeavesPreparedLinesUnchanged)
{
    Load({u"  $0001 +01 ' note", u"+0 2"});
    core.Execute();
    Tick(2);
    core.Pause();
    const auto prepared = core.ProgramCode();
    core.Execute();
    EXPECT_EQ(core.ProgramCode(), prepared);
    Tick();
    EXPECT_EQ(Value(u"0001"), 3);
}

TEST_F(SourceCheck, HundredThousandCharacterLineRuns)
{
    std::u16string line = u"$0001";
    for (int i = 0; i < 33333; ++i)
        line += u"+01";
    Run({line});
    EXPECT_EQ(events, (Events{"start", "finish", "stop"}));
    EXPECT_EQ(Value(u"0001"), 33333 % 256);
}

// The faults found without a run, as "line:start-column message", on prepared lines.
struct TStaticCase {
    std::vector<std::u16string> lines;
    std::vector<std::u16string> faults;
};

void PrintTo(const TStaticCase& c, std::ostream* os) { PrintProgram(c.lines, os); }

class StaticFaults : public ::testing::TestWithParam<TStaticCase> {};

TEST_P(StaticFaults, Found)
{
    const auto number = [](std::int32_t n) {
        const std::string digits = std::to_string(n);
        return std::u16string(digits.begin(), digits.end());
    };
    std::vector<std::u16string> found;
    for (const TStaticFault& fault : FindStaticFaults(GetParam().lines))
        found.push_back(number(fault.line) + u":" + number(fault.start) + u"-" + number(fault.column) + u" " +
                        CoreErrorText(fault.error));
    EXPECT_EQ(found, GetParam().faults);
}

const std::u16string kNoBlock = u" Не найден блок обработки условия.";

INSTANTIATE_TEST_SUITE_P(SourceCheck, StaticFaults, ::testing::Values(
    // The whole operand is taken: what it held is not reported again.
    TStaticCase{{u"$0001+$0002"}, {u"0:6-7 Невозможно распознать число '$0'."}},
    TStaticCase{{u"[0G:+01]"}, {u"0:1-2 Невозможно распознать число '0G'."}},
    TStaticCase{{u"?@00+01(+02)"}, {u"0:1-2 Неверно указан адрес ячейки."}},
    // No block at all: the first branch fails at the condition, the others after it.
    TStaticCase{{u"$0001??", u"+01"}, {u"0:6-6" + kNoBlock, u"0:6-7" + kNoBlock}},
    TStaticCase{{u"?05", u"(+01)"}, {u"0:1-1" + kNoBlock}},
    // A separator outside every block, also after one; one inside is the run's.
    TStaticCase{{u"(+01):"}, {u"0:6-6 Использование символа деления ветвей вне блока обработки условия."}},
    TStaticCase{{u"?05(?06(+01:+02):+03)"}, {}},
    // The colon of a loop head is no separator.
    TStaticCase{{u"[05:+01]"}, {}},
    // Cells are the run's to decide.
    TStaticCase{{u"+01~0007^0005-@0009?@0003(+01)*"}, {}},
    // Unpaired blocks stop the run before it starts: conditions and
    // separators are not judged, single operators still are.
    TStaticCase{{u"?05+01(:", u"@"}, {u"0:1-1" + kNoBlock, u"1:1-1 Обращение к адресу без использования операторов."}},
    TStaticCase{{u"", u"[02:+01]5"}, {u"1:9-9 Использование числовых данных без операторов"}}));

} // namespace
