// Project texts from a seeded random source: arbitrary file bytes must decode and
// split without fault, and any editor text of the code page survives a save and
// a load unchanged.
#include <gtest/gtest.h>

#include <cstdint>
#include <random>
#include <string>
#include <vector>

#include "formats/cp1251.h"
#include "formats/projectfile.h"

namespace {

constexpr std::uint32_t kSeed = 1251;
constexpr int kRounds = 3000;

// File bytes biased towards what the decoders must get right: the three marks,
// line breaks, UTF-8 lead and continuation bytes, surrogate halves, a cut-off tail.
std::string RandomBytes(std::mt19937& rng)
{
    static const std::string marks[] = {"", "\xFF\xFE", "\xFE\xFF", "\xEF\xBB\xBF"};
    static const unsigned char tricky[] = {'\r', '\n', 0,    0x80, 0xBF, 0xC2, 0xDF, 0xE0, 0xED,
                                           0xEF, 0xF0, 0xF4, 0xF5, 0xFF, 0xFE, 0xD8, 0xDC, 0x98};
    std::string bytes = marks[rng() % 4];
    const std::size_t length = rng() % 40;
    for (std::size_t i = 0; i < length; ++i)
        bytes += rng() % 2 ? char(tricky[rng() % sizeof tricky]) : char(rng() % 256);
    return bytes;
}

// Every character one byte of the code page stands for, except CR: in the
// editor's text a break is "\n" alone.
std::u16string CodePageAlphabet()
{
    std::string all;
    for (int b = 0; b < 256; ++b)
        if (b != '\r')
            all += char(b);
    return DecodeCp1251(all);
}

std::u16string RandomEditorText(std::mt19937& rng, const std::u16string& alphabet)
{
    std::u16string text;
    const std::size_t length = rng() % 30;
    for (std::size_t i = 0; i < length; ++i)
        text += rng() % 4 == 0 ? u'\n' : alphabet[rng() % alphabet.size()];
    return text;
}

// Bytes that a load takes for a mark: such a text cannot come back as it was.
bool StartsWithMark(const std::string& bytes)
{
    for (const std::string mark : {"\xFF\xFE", "\xFE\xFF", "\xEF\xBB\xBF"})
        if (bytes.compare(0, mark.size(), mark) == 0)
            return true;
    return false;
}

std::u16string Joined(const std::vector<std::u16string>& lines)
{
    std::u16string text;
    for (std::size_t i = 0; i < lines.size(); ++i)
        text += (i ? u"\n" : u"") + lines[i];
    return text;
}

TEST(ProjectTextRandom, AnyBytesDecodeToBreaksOfOneKindAndSplitBack)
{
    std::mt19937 rng(kSeed);
    for (int round = 0; round < kRounds; ++round) {
        const std::string bytes = RandomBytes(rng);
        const std::u16string text = DecodeProjectText(bytes);
        SCOPED_TRACE(::testing::PrintToString(bytes));
        ASSERT_EQ(text.find(u'\r'), std::u16string::npos);
        if (!StartsWithMark(bytes) && !IsUtf8Text(bytes)) {
            // One character a byte, each CR LF pair one break.
            std::size_t pairs = 0;
            for (std::size_t i = 0; i + 1 < bytes.size(); ++i)
                pairs += bytes[i] == '\r' && bytes[i + 1] == '\n';
            ASSERT_EQ(text.size(), bytes.size() - pairs);
        }
        const std::vector<std::u16string> lines = SplitEditorLines(text);
        const bool finalBreak = !text.empty() && text.back() == u'\n';
        ASSERT_EQ(Joined(lines) + (finalBreak ? u"\n" : u""), text);

        const std::string saved = EncodeProjectText(text);
        for (std::size_t i = 0; i < saved.size(); ++i) {
            if (saved[i] == '\n') {
                ASSERT_TRUE(i > 0 && saved[i - 1] == '\r') << "a bare LF at " << i;
            }
            if (saved[i] == '\r') {
                ASSERT_TRUE(i + 1 < saved.size() && saved[i + 1] == '\n') << "a bare CR at " << i;
            }
        }
    }
}

TEST(ProjectTextRandom, CodePageTextSurvivesSaveAndLoad)
{
    std::mt19937 rng(kSeed + 1);
    const std::u16string alphabet = CodePageAlphabet();
    ASSERT_EQ(alphabet.size(), 255U);
    int checked = 0;
    for (int round = 0; round < kRounds; ++round) {
        const std::u16string text = RandomEditorText(rng, alphabet);
        const std::string saved = EncodeProjectText(text);
        ASSERT_EQ(DecodeProjectText(saved), text) << ::testing::PrintToString(saved);
        // Only code-page bytes that would read back otherwise go out as UTF-8.
        checked += StartsWithMark(saved) ? 0 : 1;
    }
    EXPECT_GT(checked, kRounds * 9 / 10);
}

} // namespace

namespace {

TEST(ProjectTextRandom, AnyTextSurvivesSaveAndLoad)
{
    // Code-page characters mixed with what the code page lacks, a pair of
    // surrogates among them.
    const std::u16string codePage = CodePageAlphabet();
    const std::u16string beyond[] = {u"é", u"ß", u"日", u"😀", u"\uFEFF", u"\u0100"};
    std::mt19937 rng(kSeed + 2);
    for (int round = 0; round < kRounds; ++round) {
        std::u16string text;
        const std::size_t length = rng() % 30;
        for (std::size_t i = 0; i < length; ++i) {
            const unsigned pick = rng() % 8;
            if (pick == 0)
                text += u'\n';
            else if (pick == 1)
                text += beyond[rng() % std::size(beyond)];
            else
                text += codePage[rng() % codePage.size()];
        }
        const std::string saved = EncodeProjectText(text);
        ASSERT_EQ(DecodeProjectText(saved), text) << ::testing::PrintToString(saved);
    }
}

} // namespace
