#include "formats/cp1251.h"

#include <gtest/gtest.h>

#include <set>

namespace {

std::string AllBytes()
{
    std::string bytes;
    for (int b = 0; b < 256; ++b)
        bytes.push_back(static_cast<char>(b));
    return bytes;
}

} // namespace

TEST(Cp1251, EveryByteIsItsOwnCharacterAndRoundTrips)
{
    const std::string bytes = AllBytes();
    const std::u16string text = DecodeCp1251(bytes);
    EXPECT_EQ(std::set<char16_t>(text.begin(), text.end()).size(), 256u);
    EXPECT_EQ(EncodeCp1251(text), bytes);
}

TEST(Cp1251, DecodesTheTable)
{
    struct Case {
        unsigned char byte;
        char16_t ch;
    };
    const Case cases[] = {
        {0x00, u'\0'},     {0x41, u'A'},      {0x7F, u'\u007F'}, {0x80, u'\u0402'},
        {0x82, u'\u201A'}, {0x88, u'\u20AC'}, {0x8F, u'\u040F'}, {0x97, u'\u2014'},
        {0x98, u'\u0098'}, {0x99, u'\u2122'}, {0x9F, u'\u045F'}, {0xA0, u'\u00A0'},
        {0xA5, u'\u0490'}, {0xA8, u'\u0401'}, {0xB4, u'\u0491'}, {0xB8, u'\u0451'},
        {0xB9, u'\u2116'}, {0xBF, u'\u0457'}, {0xC0, u'\u0410'}, {0xDF, u'\u042F'},
        {0xE0, u'\u0430'}, {0xFF, u'\u044F'},
    };
    for (const Case& c : cases) {
        const std::string byte(1, static_cast<char>(c.byte));
        EXPECT_EQ(DecodeCp1251(byte), std::u16string(1, c.ch)) << "byte " << int(c.byte);
        EXPECT_EQ(EncodeCp1251(std::u16string(1, c.ch)), byte) << "byte " << int(c.byte);
    }
}

TEST(Cp1251, CyrillicText)
{
    EXPECT_EQ(EncodeCp1251(u"Привет, мир! Ёё"),
              "\xCF\xF0\xE8\xE2\xE5\xF2, \xEC\xE8\xF0! \xA8\xB8");
    EXPECT_EQ(DecodeCp1251("\xCF\xF0\xE8\xE2\xE5\xF2"), u"Привет");
}

TEST(Cp1251, MissingCharactersBecomeQuestionMarks)
{
    EXPECT_EQ(EncodeCp1251(u"\u00FF"), "?");       // ÿ is not on the page
    EXPECT_EQ(EncodeCp1251(u"a\u4E2Db"), "a?b");   // CJK
    EXPECT_EQ(EncodeCp1251(u"\u0081"), "?");       // C1 control the page lacks
    EXPECT_EQ(EncodeCp1251(u"x\U0001F600y"), "x?y"); // one '?' for a surrogate pair
    EXPECT_EQ(EncodeCp1251(std::u16string(1, u'\xD800') + u"z"), "?z");
    EXPECT_EQ(EncodeCp1251(std::u16string(1, u'\xDC00')), "?");
}

TEST(Cp1251, NulIsKept)
{
    const std::u16string text(3, u'\0');
    EXPECT_EQ(EncodeCp1251(text), std::string(3, '\0'));
    EXPECT_EQ(DecodeCp1251(std::string(2, '\0')), std::u16string(2, u'\0'));
}
