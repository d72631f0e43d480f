#include "formats/projectfile.h"

#include <cstdint>

#include "formats/cp1251.h"
#include "formats/utf16.h"

namespace {

constexpr char16_t kReplacement = u'\uFFFD';

[[nodiscard]] bool StartsWith(std::string_view bytes, std::string_view mark)
{
    return bytes.substr(0, mark.size()) == mark;
}

[[nodiscard]] unsigned char ByteAt(std::string_view bytes, std::size_t i)
{
    return static_cast<unsigned char>(bytes[i]);
}

void AppendCodePoint(std::u16string& text, char32_t cp)
{
    if (cp < 0x10000) {
        text.push_back(static_cast<char16_t>(cp));
        return;
    }
    cp -= 0x10000;
    text.push_back(static_cast<char16_t>(0xD800 + (cp >> 10)));
    text.push_back(static_cast<char16_t>(0xDC00 + (cp & 0x3FF)));
}

// UTF-16 units in the given byte order. An unpaired surrogate and an odd
// trailing byte each become one replacement character.
[[nodiscard]] std::u16string DecodeUtf16(std::string_view bytes, bool bigEndian)
{
    std::u16string units;
    units.reserve(bytes.size() / 2 + 1);
    std::size_t i = 0;
    for (; i + 1 < bytes.size(); i += 2) {
        const unsigned hi = bigEndian ? ByteAt(bytes, i) : ByteAt(bytes, i + 1);
        const unsigned lo = bigEndian ? ByteAt(bytes, i + 1) : ByteAt(bytes, i);
        units.push_back(static_cast<char16_t>((hi << 8) | lo));
    }
    const bool oddTail = i < bytes.size();

    std::u16string text;
    text.reserve(units.size() + 1);
    for (std::size_t k = 0; k < units.size(); ++k) {
        const char16_t u = units[k];
        if (IsHighSurrogate(u) && k + 1 < units.size() && IsLowSurrogate(units[k + 1])) {
            text.push_back(u);
            text.push_back(units[++k]);
        } else if (IsHighSurrogate(u) || IsLowSurrogate(u)) {
            text.push_back(kReplacement);
        } else {
            text.push_back(u);
        }
    }
    if (oddTail)
        text.push_back(kReplacement);
    return text;
}

// Length of the sequence a lead byte opens and the allowed range of the byte after
// it (which rules out overlong forms, surrogates and values above U+10FFFF).
struct TUtf8Lead {
    int length = 0;
    unsigned char secondMin = 0x80;
    unsigned char secondMax = 0xBF;
};

[[nodiscard]] TUtf8Lead Utf8Lead(unsigned char b)
{
    if (b >= 0xC2 && b <= 0xDF) return {2, 0x80, 0xBF};
    if (b == 0xE0) return {3, 0xA0, 0xBF};
    if (b >= 0xE1 && b <= 0xEC) return {3, 0x80, 0xBF};
    if (b == 0xED) return {3, 0x80, 0x9F};
    if (b >= 0xEE && b <= 0xEF) return {3, 0x80, 0xBF};
    if (b == 0xF0) return {4, 0x90, 0xBF};
    if (b >= 0xF1 && b <= 0xF3) return {4, 0x80, 0xBF};
    if (b == 0xF4) return {4, 0x80, 0x8F};
    return {};
}

// A malformed sequence yields one replacement character for its longest valid
// start (or for the single bad byte), and decoding resumes right after it.
[[nodiscard]] std::u16string DecodeUtf8(std::string_view bytes)
{
    std::u16string text;
    text.reserve(bytes.size());
    std::size_t i = 0;
    while (i < bytes.size()) {
        const unsigned char lead = ByteAt(bytes, i);
        if (lead < 0x80) {
            text.push_back(lead);
            ++i;
            continue;
        }
        const TUtf8Lead info = Utf8Lead(lead);
        if (info.length == 0) {
            text.push_back(kReplacement);
            ++i;
            continue;
        }
        char32_t cp = lead & (0xFF >> (info.length + 1));
        std::size_t k = 1;
        for (; k < static_cast<std::size_t>(info.length) && i + k < bytes.size(); ++k) {
            const unsigned char b = ByteAt(bytes, i + k);
            const unsigned char lo = k == 1 ? info.secondMin : 0x80;
            const unsigned char hi = k == 1 ? info.secondMax : 0xBF;
            if (b < lo || b > hi)
                break;
            cp = (cp << 6) | (b & 0x3F);
        }
        if (k == static_cast<std::size_t>(info.length))
            AppendCodePoint(text, cp);
        else
            text.push_back(kReplacement);
        i += k;
    }
    return text;
}

// UTF-8 of the text; an unpaired surrogate becomes the replacement character.
[[nodiscard]] std::string EncodeUtf8(std::u16string_view text)
{
    std::string bytes;
    bytes.reserve(text.size() * 3);
    const auto put = [&bytes](unsigned value) { bytes.push_back(static_cast<char>(value)); };
    for (std::size_t i = 0; i < text.size(); ++i) {
        char32_t cp = text[i];
        if (IsHighSurrogate(text[i]) && i + 1 < text.size() && IsLowSurrogate(text[i + 1]))
            cp = 0x10000 + ((cp - 0xD800) << 10) + (text[++i] - 0xDC00);
        else if (IsHighSurrogate(text[i]) || IsLowSurrogate(text[i]))
            cp = kReplacement;
        if (cp < 0x80) {
            put(cp);
        } else if (cp < 0x800) {
            put(0xC0 | (cp >> 6));
            put(0x80 | (cp & 0x3F));
        } else if (cp < 0x10000) {
            put(0xE0 | (cp >> 12));
            put(0x80 | ((cp >> 6) & 0x3F));
            put(0x80 | (cp & 0x3F));
        } else {
            put(0xF0 | (cp >> 18));
            put(0x80 | ((cp >> 12) & 0x3F));
            put(0x80 | ((cp >> 6) & 0x3F));
            put(0x80 | (cp & 0x3F));
        }
    }
    return bytes;
}

[[nodiscard]] bool StartsWithMark(std::string_view bytes)
{
    return StartsWith(bytes, "\xFF\xFE") || StartsWith(bytes, "\xFE\xFF") || StartsWith(bytes, "\xEF\xBB\xBF");
}

[[nodiscard]] std::u16string DecodeByMark(std::string_view bytes)
{
    if (StartsWith(bytes, "\xFF\xFE"))
        return DecodeUtf16(bytes.substr(2), false);
    if (StartsWith(bytes, "\xFE\xFF"))
        return DecodeUtf16(bytes.substr(2), true);
    if (StartsWith(bytes, "\xEF\xBB\xBF"))
        return DecodeUtf8(bytes.substr(3));
    return DecodeCp1251(bytes);
}

// Every CR LF, lone CR and lone LF becomes the given break.
[[nodiscard]] std::u16string UnifyBreaks(std::u16string_view text, std::u16string_view lineBreak)
{
    std::u16string out;
    out.reserve(text.size());
    for (std::size_t i = 0; i < text.size(); ++i) {
        const char16_t ch = text[i];
        if (ch == u'\r') {
            if (i + 1 < text.size() && text[i + 1] == u'\n')
                ++i;
            out.append(lineBreak);
        } else if (ch == u'\n') {
            out.append(lineBreak);
        } else {
            out.push_back(ch);
        }
    }
    return out;
}

} // namespace

std::u16string DecodeProjectText(std::string_view bytes)
{
    return UnifyBreaks(DecodeByMark(bytes), u"\n");
}

std::string EncodeProjectText(std::u16string_view text)
{
    const std::u16string unified = UnifyBreaks(text, u"\r\n");
    std::string bytes = EncodeCp1251(unified);
    // A text opening with "яю", "юя" or "п»ї" would load back as marked bytes:
    // it is saved as UTF-8 with its mark, which loads back as it was.
    if (StartsWithMark(bytes))
        return "\xEF\xBB\xBF" + EncodeUtf8(unified);
    return bytes;
}

std::vector<std::u16string> SplitEditorLines(std::u16string_view text)
{
    std::vector<std::u16string> lines;
    std::u16string current;
    bool open = false; // a line has begun that no break has closed yet
    for (std::size_t i = 0; i < text.size(); ++i) {
        const char16_t ch = text[i];
        if (ch == u'\r' || ch == u'\n') {
            if (ch == u'\r' && i + 1 < text.size() && text[i + 1] == u'\n')
                ++i;
            lines.push_back(std::move(current));
            current.clear();
            open = false;
        } else {
            current.push_back(ch);
            open = true;
        }
    }
    if (open)
        lines.push_back(std::move(current));
    return lines;
}
