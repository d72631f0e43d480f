// Windows-1251, the single-byte code page that stands for the system's ANSI
// code page on every platform.
#pragma once

#include <string>
#include <string_view>

// Every byte maps to one character (the one undefined byte, 0x98, to U+0098).
[[nodiscard]] std::u16string DecodeCp1251(std::string_view bytes);
// A character the code page lacks becomes '?'.
[[nodiscard]] std::string EncodeCp1251(std::u16string_view text);
// True when every character has a byte of its own (U+0000 included).
[[nodiscard]] bool FitsCp1251(std::u16string_view text);
