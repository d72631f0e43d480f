#include "core/bracketmatch.h"

#include <gtest/gtest.h>

namespace {

// "line:column" of the bracket found, or "none".
std::string Unpaired(const std::vector<std::u16string>& lines)
{
    const auto place = FindUnpairedBracket(lines);
    return place ? std::to_string(place->line) + ":" + std::to_string(place->column) : "none";
}

} // namespace

TEST(UnpairedBracket, PairedProgramsHaveNone)
{
    EXPECT_EQ(Unpaired({}), "none");
    EXPECT_EQ(Unpaired({u"[(){}]"}), "none");
    EXPECT_EQ(Unpaired({u"$0001 [02:", u"  +01 ( : )", u"]"}), "none");
    // A bracket inside a comment is text.
    EXPECT_EQ(Unpaired({u"[ +01 ' ]]] ((", u"]"}), "none");
}

TEST(UnpairedBracket, UnclosedOpenerIsTheInnermostLeftOpen)
{
    EXPECT_EQ(Unpaired({u"[02: [03: +01 ]"}), "0:0");
    EXPECT_EQ(Unpaired({u"[02:", u"  { (", u")"}), "1:2");
    EXPECT_EQ(Unpaired({u"[ ' ]"}), "0:0");
}

TEST(UnpairedBracket, CloserThatClosesNothingIsItself)
{
    EXPECT_EQ(Unpaired({u"+01 ]"}), "0:4");
    EXPECT_EQ(Unpaired({u"$0001 [02: +01", u"+01 ]]"}), "1:5");
    EXPECT_EQ(Unpaired({u"(]"}), "0:1");
}

TEST(UnpairedBracket, CloserSkippingOpenBracketsLeavesTheInnermostUnpaired)
{
    EXPECT_EQ(Unpaired({u"([)]"}), "0:1");
    EXPECT_EQ(Unpaired({u"{[}]"}), "0:1");
    EXPECT_EQ(Unpaired({u"[ ( {", u"]"}), "0:4");
}
