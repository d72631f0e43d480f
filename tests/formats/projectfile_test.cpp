#include "formats/projectfile.h"

#include <gtest/gtest.h>

namespace {

const std::u16string kBad(1, u'\uFFFD');

using Lines = std::vector<std::u16string>;

} // namespace

TEST(ProjectFileRead, PlainBytesAreWindows1251)
{
    EXPECT_EQ(DecodeProjectText("$0001 ' \xCF\xF0\xE8\xE2\xE5\xF2"), u"$0001 ' Привет");
    EXPECT_EQ(DecodeProjectText(""), u"");
}

TEST(ProjectFileRead, MarksSelectTheEncodingAndAreDropped)
{
    EXPECT_EQ(DecodeProjectText("\xEF\xBB\xBF" "\xD0\x9F" "A"), u"ПA");
    EXPECT_EQ(DecodeProjectText(std::string("\xFF\xFE\x1F\x04" "A\0", 6)), u"ПA");
    EXPECT_EQ(DecodeProjectText(std::string("\xFE\xFF\x04\x1F\0" "A", 6)), u"ПA");
    // A mark alone is an empty file.
    EXPECT_EQ(DecodeProjectText("\xFF\xFE"), u"");
    EXPECT_EQ(DecodeProjectText("\xFE\xFF"), u"");
    EXPECT_EQ(DecodeProjectText("\xEF\xBB\xBF"), u"");
}

TEST(ProjectFileRead, IncompleteMarkIsText)
{
    // EF BB without BF is two Windows-1251 letters; a mark not at the start is text too.
    EXPECT_EQ(DecodeProjectText("\xEF\xBB"), u"п»");
    EXPECT_EQ(DecodeProjectText("a\xFF\xFE"), u"aяю");
}

TEST(ProjectFileRead, MalformedUtf8BecomesReplacement)
{
    const std::string mark = "\xEF\xBB\xBF";
    EXPECT_EQ(DecodeProjectText(mark + "a\x80" "b"), u"a" + kBad + u"b");     // stray continuation
    EXPECT_EQ(DecodeProjectText(mark + "a\xE2\x82"), u"a" + kBad);            // cut at the end
    EXPECT_EQ(DecodeProjectText(mark + "\xE2\x82" "b"), kBad + u"b");         // cut before text
    EXPECT_EQ(DecodeProjectText(mark + "\xC0\xAF"), kBad + kBad);             // overlong
    EXPECT_EQ(DecodeProjectText(mark + "\xED\xA0\x80"), kBad + kBad + kBad);  // surrogate
    EXPECT_EQ(DecodeProjectText(mark + "\xF4\x90\x80\x80"), kBad + kBad + kBad + kBad); // > U+10FFFF
    EXPECT_EQ(DecodeProjectText(mark + "\xFF"), kBad);
    EXPECT_EQ(DecodeProjectText(mark + "\xF0\x9F\x98\x80"), u"\U0001F600");
    EXPECT_EQ(DecodeProjectText(mark + "\xE2\x82\xAC"), u"€");
}

TEST(ProjectFileRead, MalformedUtf16BecomesReplacement)
{
    // An odd trailing byte.
    EXPECT_EQ(DecodeProjectText(std::string("\xFF\xFE" "A\0" "B", 5)), u"A" + kBad);
    EXPECT_EQ(DecodeProjectText(std::string("\xFE\xFF\0", 3)), kBad);
    // A lone high surrogate and a lone low surrogate.
    EXPECT_EQ(DecodeProjectText(std::string("\xFF\xFE\x00\xD8" "A\0", 6)), kBad + u"A");
    EXPECT_EQ(DecodeProjectText(std::string("\xFF\xFE\x00\xDC", 4)), kBad);
    // A proper pair stays.
    EXPECT_EQ(DecodeProjectText(std::string("\xFE\xFF\xD8\x3D\xDE\x00", 6)), u"\U0001F600");
}

TEST(ProjectFileRead, EveryBreakKindIsOneBreak)
{
    EXPECT_EQ(DecodeProjectText("a\r\nb"), u"a\nb");
    EXPECT_EQ(DecodeProjectText("a\nb"), u"a\nb");
    EXPECT_EQ(DecodeProjectText("a\rb"), u"a\nb");
    EXPECT_EQ(DecodeProjectText("a\n\rb"), u"a\n\nb"); // LF then CR: two breaks
    EXPECT_EQ(DecodeProjectText("a\r\r\nb\n"), u"a\n\nb\n");
    EXPECT_EQ(DecodeProjectText(std::string("\xFF\xFE" "a\0\r\0\n\0" "b\0\r\0", 12)), u"a\nb\n");
}

TEST(ProjectFileRead, LongLineIsReadWhole)
{
    const std::string line(100000, '+');
    const Lines lines = SplitEditorLines(DecodeProjectText(line + "\r\n$"));
    ASSERT_EQ(lines.size(), 2u);
    EXPECT_EQ(lines[0].size(), 100000u);
    EXPECT_EQ(lines[1], u"$");
}

TEST(ProjectFileLines, SplitsLikeTheEditor)
{
    EXPECT_EQ(SplitEditorLines(u""), Lines{});
    EXPECT_EQ(SplitEditorLines(u"a"), (Lines{u"a"}));
    EXPECT_EQ(SplitEditorLines(u"a\n"), (Lines{u"a"}));
    EXPECT_EQ(SplitEditorLines(u"a\n\n"), (Lines{u"a", u""}));
    EXPECT_EQ(SplitEditorLines(u"\n"), (Lines{u""}));
    EXPECT_EQ(SplitEditorLines(u"\nb"), (Lines{u"", u"b"}));
    EXPECT_EQ(SplitEditorLines(u"a\r\nb\rc\nd"), (Lines{u"a", u"b", u"c", u"d"}));
    EXPECT_EQ(SplitEditorLines(u"a\r\r\n"), (Lines{u"a", u""}));
}

TEST(ProjectFileWrite, CrLfBetweenLinesAndNoAddedBreak)
{
    // Two lines of two characters: six bytes.
    EXPECT_EQ(EncodeProjectText(u"ab\ncd"), "ab\r\ncd");
    EXPECT_EQ(EncodeProjectText(u"ab\rcd\r\nef\n"), "ab\r\ncd\r\nef\r\n");
    EXPECT_EQ(EncodeProjectText(u""), "");
}

TEST(ProjectFileWrite, Windows1251WithoutMark)
{
    EXPECT_EQ(EncodeProjectText(u"' Ёж\n$0001"), "' \xA8\xE6\r\n$0001");
    EXPECT_EQ(EncodeProjectText(u"\u0098\u00A0\u2116"), "\x98\xA0\xB9");
}

TEST(ProjectFileWrite, TextTheCodePageLacksIsSavedAsMarkedUtf8)
{
    EXPECT_EQ(EncodeProjectText(u"café Straße 😀\nб"),
              "\xEF\xBB\xBF" "caf\xC3\xA9 Stra\xC3\x9F" "e \xF0\x9F\x98\x80\r\n\xD0\xB1");
    EXPECT_EQ(EncodeProjectText(u"\uFEFFa"), "\xEF\xBB\xBF\xEF\xBB\xBF" "a"); // a mark in the text stays
    EXPECT_EQ(EncodeProjectText(u"a\xD800"), "\xEF\xBB\xBF" "a\xEF\xBF\xBD"); // a lone surrogate
}

TEST(ProjectFileWrite, CodePageBytesThatWouldReadBackOtherwiseAreSavedAsUtf8)
{
    // "Р«" in Windows-1251 is D0 AB, which is well-formed UTF-8 for "Ы".
    EXPECT_EQ(EncodeProjectText(u"Р«"), "\xEF\xBB\xBF\xD0\xA0\xC2\xAB");
    // "п»ї" would be read as the UTF-8 mark.
    EXPECT_EQ(EncodeProjectText(u"п»ї1"), "\xEF\xBB\xBF\xD0\xBF\xC2\xBB\xD1\x97" "1");
    for (std::u16string text : {u"Р«", u"п»ї1", u"яюa", u"юя"})
        EXPECT_EQ(DecodeProjectText(EncodeProjectText(text)), text);
}

TEST(ProjectFileRead, UnmarkedUtf8WithNonAsciiIsUtf8)
{
    EXPECT_EQ(DecodeProjectText("' \xD0\x9F\xD1\x80\xD0\xB8\r\n$0001"), u"' При\n$0001");
    EXPECT_EQ(DecodeProjectText("caf\xC3\xA9 \xF0\x9F\x98\x80"), u"café 😀");
    EXPECT_TRUE(IsUtf8Text("\xD0\x9F"));
    // Plain ASCII, Windows-1251 Cyrillic, a malformed or cut sequence: Windows-1251.
    EXPECT_FALSE(IsUtf8Text("$0001+01"));
    EXPECT_FALSE(IsUtf8Text("' \xCF\xF0\xE8\xE2\xE5\xF2"));
    EXPECT_FALSE(IsUtf8Text("\xD0\x9F\xD0"));
    EXPECT_FALSE(IsUtf8Text("\xC0\xAF"));
    EXPECT_EQ(DecodeProjectText("\xD0\x9F\xD0"), u"РџР");
}

TEST(ProjectFileRoundTrip, Windows1251FileIsKeptByteForByte)
{
    std::string bytes = "' \xCF\xF0\xEE\xE3\xF0\xE0\xEC\xEC\xE0\r\n\t$0001[05:+01]\r\n\r\n";
    for (int b = 0x80; b < 0x100; ++b)
        bytes.push_back(static_cast<char>(b));
    EXPECT_EQ(EncodeProjectText(DecodeProjectText(bytes)), bytes);
}

TEST(ProjectFileRoundTrip, TextThatBeginsLikeAMarkIsSavedAsMarkedUtf8)
{
    // In Windows-1251 these letters are the bytes FF FE, FE FF and EF BB BF.
    for (const std::u16string text : {u"яю\n$0001", u"юя", u"п»ї+01\n"}) {
        const std::string saved = EncodeProjectText(text);
        EXPECT_EQ(saved.substr(0, 3), "\xEF\xBB\xBF");
        EXPECT_EQ(DecodeProjectText(saved), text);
    }
    EXPECT_EQ(EncodeProjectText(u"яю\n"), "\xEF\xBB\xBF\xD1\x8F\xD1\x8E\r\n");
    // Only at the very start.
    EXPECT_EQ(EncodeProjectText(u"$яю"), "$\xFF\xFE");
}

TEST(ProjectFileRoundTrip, MarkedFilesComeBackAsWindows1251)
{
    EXPECT_EQ(EncodeProjectText(DecodeProjectText("\xEF\xBB\xBF" "\xD0\xB0\n$")), "\xE0\r\n$");
    EXPECT_EQ(EncodeProjectText(DecodeProjectText(std::string("\xFE\xFF\x04\x30\0\r", 6))),
              "\xE0\r\n");
}
