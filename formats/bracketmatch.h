// Finds the bracket that breaks the pairing of a program's brackets, so an
// editor can point at it; the run itself reports such a fault at no place.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

struct TTextPlace {
    std::int32_t line = 0;   // 0-based
    std::int32_t column = 0; // 0-based, in the editor's line
};

// Brackets in comments do not count. A closer that closes nothing open is
// unpaired itself; one that skips open brackets of another kind leaves the
// innermost of those unpaired; at the end the innermost bracket still open
// is. Nothing when every bracket pairs up.
[[nodiscard]] std::optional<TTextPlace>
FindUnpairedBracket(const std::vector<std::u16string>& lines);
