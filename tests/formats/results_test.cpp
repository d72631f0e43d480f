#include "formats/results.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

namespace {

constexpr double kMsPerDay = 86400000.0;

double Days(double ms) { return ms / kMsPerDay; }

// The header line in Windows-1251.
const std::string kHeaderBytes = "\xC0\xE4\xF0\xE5\xF1\t"
                                 "\xC7\xED\xE0\xF7\xE5\xED\xE8\xE5 (\xE4\xE2\xEE\xE8\xF7\xED\xEE\xE5)\t"
                                 "\xC7\xED\xE0\xF7\xE5\xED\xE8\xE5 (16-\xE5)\t"
                                 "\xD1\xE8\xEC\xE2\xEE\xEB\r\n";

} // namespace

TEST(ByteToBinary, EightDigitsMostSignificantFirst)
{
    EXPECT_EQ(ByteToBinary(0), u"00000000");
    EXPECT_EQ(ByteToBinary(1), u"00000001");
    EXPECT_EQ(ByteToBinary(5), u"00000101");
    EXPECT_EQ(ByteToBinary(128), u"10000000");
    EXPECT_EQ(ByteToBinary(170), u"10101010");
    EXPECT_EQ(ByteToBinary(255), u"11111111");
}

TEST(ByteToBinary, WiderValuesKeepAllDigits)
{
    EXPECT_EQ(ByteToBinary(256), u"100000000");
    EXPECT_EQ(ByteToBinary(std::numeric_limits<std::uint64_t>::max()), std::u16string(64, u'1'));
}

TEST(TimeText, ThreeDecimals)
{
    EXPECT_EQ(TimeText(Days(1050)), u"1.050 сек.");
    EXPECT_EQ(TimeText(Days(7)), u"0.007 сек.");
    EXPECT_EQ(TimeText(Days(75300)), u"75.300 сек.");
    EXPECT_EQ(TimeText(0), u"0.000 сек.");
    EXPECT_EQ(TimeText(Days(10)), u"0.010 сек.");
    EXPECT_EQ(TimeText(Days(99)), u"0.099 сек.");
    EXPECT_EQ(TimeText(Days(100)), u"0.100 сек.");
    EXPECT_EQ(TimeText(Days(86399999)), u"86399.999 сек.");
}

TEST(TimeText, WholeDaysAreKept)
{
    EXPECT_EQ(TimeText(25.0 / 24.0), u"90000.000 сек.");
    EXPECT_EQ(TimeText(1.0), u"86400.000 сек.");
    EXPECT_EQ(TimeText(3.0 + Days(2005)), u"259202.005 сек.");
    EXPECT_EQ(TimeText(Days(86400000)), u"86400.000 сек.");
    EXPECT_EQ(TimeText(Days(86400001)), u"86400.001 сек.");
}

TEST(TimeText, RoundsToTheNearestMillisecond)
{
    EXPECT_EQ(TimeText(Days(1.4)), u"0.001 сек.");
    EXPECT_EQ(TimeText(Days(1.6)), u"0.002 сек.");
    EXPECT_EQ(TimeText(Days(999.7)), u"1.000 сек.");
    EXPECT_EQ(TimeText(Days(0.4)), u"0.000 сек.");
}

TEST(TimeText, ValuesThatAreNoRunTimeShowZero)
{
    EXPECT_EQ(TimeText(std::nan("")), u"0.000 сек.");
    EXPECT_EQ(TimeText(std::numeric_limits<double>::infinity()), u"0.000 сек.");
    EXPECT_EQ(TimeText(-std::numeric_limits<double>::infinity()), u"0.000 сек.");
    EXPECT_EQ(TimeText(-Days(1500)), u"0.000 сек.");
}

TEST(TimeText, HugeValuesShowTheLargestCount)
{
    // A year still shows exactly; beyond 2^63 ms no run can go, and no value
    // may overflow on the way there.
    EXPECT_EQ(TimeText(365.0), u"31536000.000 сек.");
    for (double days : {1e15, 1e300, std::numeric_limits<double>::max()})
        EXPECT_EQ(TimeText(days), u"9223372036854775.807 сек.") << days;
}

TEST(ResultRow, ColumnsOfOneCell)
{
    const TResultRow row = MakeResultRow(u"00ff", 171);
    EXPECT_EQ(row.address, u"$00ff"); // the name as stored, case kept
    EXPECT_EQ(row.binary, u"10101011");
    EXPECT_EQ(row.hex, u"AB");
    EXPECT_EQ(row.character, u"\u00AB");
}

TEST(ResultRow, ZeroAndControlCharactersAreKept)
{
    const TResultRow zero = MakeResultRow(u"0000", 0);
    EXPECT_EQ(zero.binary, u"00000000");
    EXPECT_EQ(zero.hex, u"00");
    EXPECT_EQ(zero.character, std::u16string(1, u'\0'));
    EXPECT_EQ(MakeResultRow(u"0001", 9).character, u"\t");
    EXPECT_EQ(MakeResultRow(u"0001", 10).hex, u"0A");
    EXPECT_EQ(MakeResultRow(u"0001", 255).character, u"\u00FF");
    EXPECT_EQ(MakeResultRow(u"0001", 255).hex, u"FF");
}

TEST(ResultsFile, HeaderAndTabSeparatedLines)
{
    const std::vector<std::u16string> lines =
        ResultsLines({MakeResultRow(u"0001", 5), MakeResultRow(u"ABCD", 65)});
    ASSERT_EQ(lines.size(), 3u);
    EXPECT_EQ(lines[0], u"Адрес\tЗначение (двоичное)\tЗначение (16-е)\tСимвол");
    EXPECT_EQ(lines[1], u"$0001\t00000101\t05\t\u0005");
    EXPECT_EQ(lines[2], u"$ABCD\t01000001\t41\tA");
}

TEST(ResultsFile, NoCellsGivesOnlyTheHeader)
{
    EXPECT_EQ(EncodeResultsFile({}), kHeaderBytes);
}

TEST(ResultsFile, BytesOfAwkwardValues)
{
    const std::string bytes = EncodeResultsFile({MakeResultRow(u"0000", 0), MakeResultRow(u"0009", 9),
                                                 MakeResultRow(u"000a", 10), MakeResultRow(u"000D", 13),
                                                 MakeResultRow(u"00FF", 255), MakeResultRow(u"00C0", 0xC0)});
    const std::string rows = std::string("$0000\t00000000\t00\t\0\r\n", 21) +
                             "$0009\t00001001\t09\t\t\r\n"
                             "$000a\t00001010\t0A\t\n\r\n"
                             "$000D\t00001101\t0D\t\r\r\n"
                             "$00FF\t11111111\tFF\t?\r\n" // U+00FF is not on the code page
                             "$00C0\t11000000\tC0\t?\r\n"; // nor U+00C0
    EXPECT_EQ(bytes, kHeaderBytes + rows); // no mark, every line ended by CR LF
}

TEST(ResultRows, OneRowPerCellInCellOrder)
{
    const std::vector<std::u16string> names = {u"00ff", u"0001", u"ABCD"};
    const std::vector<std::uint8_t> values = {5, 0, 65};
    const std::vector<TResultRow> rows = ResultRows(names, values);
    ASSERT_EQ(rows.size(), 3U);
    EXPECT_EQ(rows[0].address, u"$00ff");
    EXPECT_EQ(rows[2].address, u"$ABCD");
    EXPECT_EQ(rows[2].character, u"A");
    // Lists of unequal length give rows only for the cells both hold.
    EXPECT_EQ(ResultRows(names, std::vector<std::uint8_t>{1}).size(), 1U);
    EXPECT_EQ(ResultRows({}, values).size(), 0U);
}
