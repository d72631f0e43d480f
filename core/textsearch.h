// The searches over the program text that loops and conditions jump by. Each
// walks the text across lines (empty lines passed over) as a linear scan; its
// result depends only on the text and the start, so a caller may keep it for
// as long as the text stays the same.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

struct TTextPos {
    std::int32_t column = -1; // 1-based, -1 for "not found"
    std::int32_t line = -1;   // 0-based
    [[nodiscard]] bool Found() const { return column > 0; }
    friend bool operator==(const TTextPos&, const TTextPos&) = default;
};

class TTextSearch {
public:
    explicit TTextSearch(const std::vector<std::u16string>& lines) : _lines(lines) {}

    // The `[` that matches the `]` at (column, line).
    [[nodiscard]] TTextPos FindLoopStart(std::int32_t column, std::int32_t line) const;
    // nextBlock: the `)` closing the first block after the column (start depth 0);
    // otherwise the `)` of the block enclosing the column (start depth 1).
    [[nodiscard]] TTextPos FindBlockEnd(std::int32_t column, std::int32_t line, bool nextBlock) const;
    // The n-th (1 or 2) separator of the block after the column.
    [[nodiscard]] TTextPos FindBranch(std::int32_t column, std::int32_t line, std::int32_t n) const;

private:
    const std::vector<std::u16string>& _lines;
};
