// Conditions and hit counts of breakpoints. A condition names a cell and tests
// it the way the language's own conditions do, taking their first branch:
// "$0010 ?00" (equals a byte), "$0010 ?@0011" (equals another cell), "$0010 ??"
// (odd). The debugger evaluates it; the program's condition status is never used.
#pragma once

#include <cstdint>
#include <optional>
#include <string_view>
#include <vector>

#include "core/cellmemory.h"

struct TBreakCondition {
    enum class TKind : std::uint8_t { ckEqualByte, ckEqualCell, ckOdd };

    std::int32_t cell = 0;    // address code of the tested cell
    TKind kind = TKind::ckOdd;
    std::int32_t operand = 0; // the byte, or the other cell's address code

    // Blanks may stand around the parts; anything else makes the text invalid.
    [[nodiscard]] static std::optional<TBreakCondition> Parse(std::u16string_view text);
    // False while a cell it names does not exist: such a condition cannot hold.
    [[nodiscard]] bool Holds(const TCellMemory& cells) const;
};

// A breakpoint line with a condition, a hit count, or both.
struct TBreakRule {
    std::int32_t line = 0;                    // 0-based
    std::optional<TBreakCondition> condition; // none: every arrival is a hit
    std::uint32_t hitCount = 0;               // pause on this hit only; 0 on every hit
};

class TBreakRules {
public:
    void Set(std::vector<TBreakRule> rules);
    [[nodiscard]] const std::vector<TBreakRule>& Rules() const { return _rules; }
    [[nodiscard]] bool Governs(std::int32_t line) const { return Find(line) != nullptr; }
    // An arrival at a governed line: counts a hit when the condition holds and
    // says whether the run pauses.
    [[nodiscard]] bool Arrive(std::int32_t line, const TCellMemory& cells);
    // Hits counted so far on the rule of a line, 0 for none.
    [[nodiscard]] std::uint32_t Hits(std::int32_t line) const;
    // A fresh run counts from zero.
    void ClearHits();

private:
    [[nodiscard]] const TBreakRule* Find(std::int32_t line) const;

    std::vector<TBreakRule> _rules;   // sorted by line, one per line
    std::vector<std::uint32_t> _hits; // parallel to _rules
};
