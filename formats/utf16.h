// Small UTF-16 helpers that the format files share.
#pragma once

#include <string>
#include <string_view>

[[nodiscard]] inline bool IsHighSurrogate(char16_t ch) { return ch >= 0xD800 && ch <= 0xDBFF; }
[[nodiscard]] inline bool IsLowSurrogate(char16_t ch) { return ch >= 0xDC00 && ch <= 0xDFFF; }

// Numbers and other ASCII text go into UTF-16 unit by unit.
inline void AppendAscii(std::u16string& text, std::string_view ascii)
{
    text.append(ascii.begin(), ascii.end());
}
