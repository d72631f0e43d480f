#include "formats/errorreport.h"

#include <gtest/gtest.h>

#include <cctype>
#include <limits>
#include <ostream>

namespace {

struct MapCase {
    const char* what;
    std::u16string line;
    std::int32_t errorPos;
    std::int32_t column;
};

void PrintTo(const MapCase& c, std::ostream* os) { *os << c.what; }

std::string CaseName(const testing::TestParamInfo<MapCase>& info)
{
    std::string name;
    for (const char* p = info.param.what; *p != '\0'; ++p)
        name.push_back(std::isalnum(static_cast<unsigned char>(*p)) ? *p : '_');
    return name;
}

class ErrorColumn : public testing::TestWithParam<MapCase> {};

} // namespace

TEST_P(ErrorColumn, MapsBackToTheEditorLine)
{
    const MapCase& c = GetParam();
    EXPECT_EQ(MapErrorColumn(c.line, c.errorPos), c.column) << c.what;
}

INSTANTIATE_TEST_SUITE_P(
    Cases, ErrorColumn,
    testing::Values(
        MapCase{"worked example", u"$00FF\t+01 ~0001", 9, 11},
        MapCase{"no blanks", u"$0001+01", 6, 6},
        MapCase{"position 0 on any line", u"  \t$0001 +01", 0, 0},
        MapCase{"position 0 on an empty line", u"", 0, 0},
        MapCase{"empty line keeps the position", u"", 5, 5},
        MapCase{"indented with blanks and tabs", u" \t \t?", 1, 5},
        MapCase{"blanks after the position do not count", u"$0001?   ", 6, 6},
        MapCase{"one past the end counts trailing blanks", u"$0001 + ", 7, 9},
        MapCase{"far past the end counts every blank", u" a b ", 10, 13},
        MapCase{"one past the code lands on the comment mark", u"$0001 +0 ' note", 8, 10},
        MapCase{"inside a comment", u"$0001 +0 ' note", 9, 12},
        MapCase{"vertical tab is an ordinary character", u"\v$", 2, 2},
        MapCase{"no-break space is an ordinary character", u"\u00A0$", 2, 2},
        MapCase{"carriage return is an ordinary character", u"\r \t$", 2, 4},
        MapCase{"only blanks", u" \t ", 1, 4}),
    CaseName);

TEST(ErrorColumnLimits, HugePositionDoesNotOverflow)
{
    const std::int32_t max = std::numeric_limits<std::int32_t>::max();
    EXPECT_EQ(MapErrorColumn(u"   ", max), max);
    EXPECT_EQ(MapErrorColumn(u"a", max - 1), max - 1);
}

TEST(ErrorReport, ThreeLinesJoinedByCrLf)
{
    EXPECT_EQ(ErrorReportText(2, 11, u"Не обнаружена ячейка для уничтожения."),
              u"Произошла ошибка при выполнении программы\r\n"
              u"Строка: 3, символ: 11.\r\n"
              u"Сообщение: Не обнаружена ячейка для уничтожения.");
}

TEST(ErrorReport, NumbersAreUngroupedAndDoNotOverflow)
{
    const std::u16string text =
        ErrorReportText(std::numeric_limits<std::int32_t>::max(), 123456, u"");
    EXPECT_NE(text.find(u"Строка: 2147483648, символ: 123456.\r\n"), std::u16string::npos);
    EXPECT_TRUE(text.ends_with(u"Сообщение: "));
}

TEST(ErrorReport, BothFrontEndsGetTheMappedColumnAndLfLines)
{
    const std::vector<std::u16string> lines = {u"' first", u"", u"$00FF\t+01 ~0001"};
    const TErrorReport report =
        MakeErrorReport(lines, 2, 9, u"Не обнаружена ячейка для уничтожения.");
    EXPECT_EQ(report.line, 2);
    EXPECT_EQ(report.column, 11);
    EXPECT_EQ(report.message, u"Не обнаружена ячейка для уничтожения.");
    EXPECT_EQ(report.text, u"Произошла ошибка при выполнении программы\n"
                           u"Строка: 3, символ: 11.\n"
                           u"Сообщение: Не обнаружена ячейка для уничтожения.");
    // A line the editor no longer has, or a negative one, counts as empty.
    EXPECT_EQ(MakeErrorReport(lines, 7, 4, u"x").column, 4);
    EXPECT_EQ(MakeErrorReport(lines, -1, 4, u"x").column, 4);
    EXPECT_EQ(MakeErrorReport({}, 0, 0, u"x").column, 0);
}

TEST(ErrorReport, FaultPlaceIsWhereTheEditorMarksIt)
{
    const std::vector<std::u16string> lines = {u"' ( first", u"[02: $00FF\t+01 ~0001"};
    // a column maps over the blanks, 0-based
    EXPECT_EQ(FaultPlace(lines, 1, 13), (TTextPlace{1, 15}));
    EXPECT_EQ(FaultPlace(lines, 5, 3), (TTextPlace{5, 2}));
    // position 0: the bracket that breaks the pairing, not the one in the comment
    EXPECT_EQ(FaultPlace(lines, 0, 0), (TTextPlace{1, 0}));
    EXPECT_EQ(FaultPlace({u"[02: +01 ]"}, 0, 0), std::nullopt);
}
