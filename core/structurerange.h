// The stretch of text a loop or a condition block covers, for stepping by
// structure: from its opening operator to its closing bracket, both included.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "core/textsearch.h"

struct TTextRange {
    TTextPos first;
    TTextPos last;
    // Whether (column, line) lies outside the range, before or after it.
    [[nodiscard]] bool Leaves(std::int32_t column, std::int32_t line) const;
};

// The loop (`[` to its `]`) or the block (`(`, or a condition `?`, to the `)`
// of the block it chooses in) that the operator at (column, line) opens; none
// when it opens neither or its end is missing.
[[nodiscard]] std::optional<TTextRange> OpenedStructure(const std::vector<std::u16string>& lines,
                                                        std::int32_t column, std::int32_t line);
// The innermost loop or block whose brackets enclose (column, line).
[[nodiscard]] std::optional<TTextRange> EnclosingStructure(const std::vector<std::u16string>& lines,
                                                           std::int32_t column, std::int32_t line);
