// Readers of the hexadecimal operands. They answer -1 instead of failing: every
// operator turns a bad operand into its own message.
#pragma once

#include <cstdint>
#include <string_view>

[[nodiscard]] constexpr std::int32_t HexDigit(char16_t ch) noexcept
{
    if (ch >= u'0' && ch <= u'9')
        return ch - u'0';
    if (ch >= u'A' && ch <= u'F')
        return ch - u'A' + 10;
    if (ch >= u'a' && ch <= u'f')
        return ch - u'a' + 10;
    return -1;
}

// Reads exactly `digits` characters, left to right; fewer characters fail.
[[nodiscard]] constexpr std::int32_t HexNumber(std::u16string_view text, std::size_t digits) noexcept
{
    if (text.size() < digits)
        return -1;
    std::int32_t value = 0;
    for (std::size_t i = 0; i < digits; ++i) {
        const std::int32_t digit = HexDigit(text[i]);
        if (digit < 0)
            return -1;
        value = value * 16 + digit;
    }
    return value;
}

[[nodiscard]] constexpr std::int32_t HexByte(std::u16string_view text) noexcept
{
    return HexNumber(text, 2);
}

[[nodiscard]] constexpr std::int32_t HexWord(std::u16string_view text) noexcept
{
    return HexNumber(text, 4);
}
