#include "formats/cp1251.h"

#include <array>
#include <cstdint>

#include "formats/utf16.h"

namespace {

// Upper half of the code page, 0x80 to 0xBF; 0xC0 to 0xFF are U+0410 to U+044F in order.
// 0x98 has no character of its own and keeps its byte value as U+0098.
constexpr std::array<char16_t, 64> kUpperHalf = {
    u'\u0402', u'\u0403', u'\u201A', u'\u0453', u'\u201E', u'\u2026', u'\u2020', u'\u2021',
    u'\u20AC', u'\u2030', u'\u0409', u'\u2039', u'\u040A', u'\u040C', u'\u040B', u'\u040F',
    u'\u0452', u'\u2018', u'\u2019', u'\u201C', u'\u201D', u'\u2022', u'\u2013', u'\u2014',
    u'\u0098', u'\u2122', u'\u0459', u'\u203A', u'\u045A', u'\u045C', u'\u045B', u'\u045F',
    u'\u00A0', u'\u040E', u'\u045E', u'\u0408', u'\u00A4', u'\u0490', u'\u00A6', u'\u00A7',
    u'\u0401', u'\u00A9', u'\u0404', u'\u00AB', u'\u00AC', u'\u00AD', u'\u00AE', u'\u0407',
    u'\u00B0', u'\u00B1', u'\u0406', u'\u0456', u'\u0491', u'\u00B5', u'\u00B6', u'\u00B7',
    u'\u0451', u'\u2116', u'\u0454', u'\u00BB', u'\u0458', u'\u0405', u'\u0455', u'\u0457',
};

constexpr char16_t kFirstCyrillic = u'\u0410'; // byte 0xC0
constexpr char16_t kLastCyrillic = u'\u044F';  // byte 0xFF

[[nodiscard]] char16_t DecodeByte(unsigned char byte)
{
    if (byte < 0x80)
        return byte;
    if (byte < 0xC0)
        return kUpperHalf[byte - 0x80];
    return static_cast<char16_t>(kFirstCyrillic + (byte - 0xC0));
}

// Reverse lookup; 0 means the code page has no byte for the character.
[[nodiscard]] unsigned char EncodeChar(char16_t ch)
{
    if (ch < 0x80)
        return static_cast<unsigned char>(ch);
    if (ch >= kFirstCyrillic && ch <= kLastCyrillic)
        return static_cast<unsigned char>(0xC0 + (ch - kFirstCyrillic));
    for (std::size_t i = 0; i < kUpperHalf.size(); ++i) {
        if (kUpperHalf[i] == ch)
            return static_cast<unsigned char>(0x80 + i);
    }
    return 0;
}

} // namespace

std::u16string DecodeCp1251(std::string_view bytes)
{
    std::u16string text;
    text.reserve(bytes.size());
    for (char byte : bytes)
        text.push_back(DecodeByte(static_cast<unsigned char>(byte)));
    return text;
}

std::string EncodeCp1251(std::u16string_view text)
{
    std::string bytes;
    bytes.reserve(text.size());
    for (std::size_t i = 0; i < text.size(); ++i) {
        const char16_t ch = text[i];
        if (ch == 0) {
            bytes.push_back('\0');
            continue;
        }
        // A pair of surrogates is one character outside the page: one '?', not two.
        if (IsHighSurrogate(ch) && i + 1 < text.size() && IsLowSurrogate(text[i + 1]))
            ++i;
        const unsigned char byte = EncodeChar(ch);
        bytes.push_back(byte != 0 ? static_cast<char>(byte) : '?');
    }
    return bytes;
}

bool FitsCp1251(std::u16string_view text)
{
    for (char16_t ch : text) {
        if (ch != 0 && EncodeChar(ch) == 0)
            return false;
    }
    return true;
}
