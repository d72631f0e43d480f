// The searches over the program text that loops and conditions jump by. Each
// walks the text across lines (empty lines passed over) exactly as a linear scan;
// its result depends only on the text and the start, so it is remembered per
// start position until the text is laid out again.
#pragma once

#include <array>
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

    // The text may have changed: drop every remembered result.
    void Invalidate();

    // The `[` that matches the `]` at (column, line).
    [[nodiscard]] TTextPos FindLoopStart(std::int32_t column, std::int32_t line)
    {
        return Find(skLoopStart, column, line);
    }
    // nextBlock: the `)` closing the first block after the column (start depth 0);
    // otherwise the `)` of the block enclosing the column (start depth 1).
    [[nodiscard]] TTextPos FindBlockEnd(std::int32_t column, std::int32_t line, bool nextBlock)
    {
        return Find(nextBlock ? skNextBlockEnd : skEnclosingEnd, column, line);
    }
    // The n-th (1 or 2) separator of the block after the column.
    [[nodiscard]] TTextPos FindBranch(std::int32_t column, std::int32_t line, std::int32_t n)
    {
        return Find(n == 1 ? skBranch1 : skBranch2, column, line);
    }

    // Characters in the laid-out text.
    [[nodiscard]] std::int64_t Length()
    {
        if (!_laidOut)
            LayOut();
        return _lineStart.back();
    }

    // Offset of (column, line) in the laid-out text, -1 outside it.
    [[nodiscard]] std::int64_t Offset(std::int32_t column, std::int32_t line)
    {
        if (!_laidOut)
            LayOut();
        const auto at = static_cast<std::size_t>(line);
        if (line < 0 || at + 1 >= _lineStart.size())
            return -1;
        const std::int64_t start = _lineStart[at];
        if (column < 1 || column > _lineStart[at + 1] - start)
            return -1;
        return start + column - 1;
    }

private:
    enum TSearchKind { skLoopStart, skEnclosingEnd, skNextBlockEnd, skBranch1, skBranch2, skKinds };
    static constexpr std::int32_t kUnknownColumn = -2; // not searched yet

    // A remembered result when there is one, else the scan (remembered if it can be).
    [[nodiscard]] TTextPos Find(TSearchKind kind, std::int32_t column, std::int32_t line)
    {
        const std::int64_t offset = Offset(column, line);
        const std::vector<TTextPos>& results = _remembered[kind];
        if (offset >= 0 && !results.empty()) {
            const TTextPos known = results[static_cast<std::size_t>(offset)];
            if (known.column != kUnknownColumn)
                return known;
        }
        return Search(kind, column, line, offset);
    }
    TTextPos Search(TSearchKind kind, std::int32_t column, std::int32_t line, std::int64_t offset);
    [[nodiscard]] TTextPos Scan(TSearchKind kind, std::int32_t column, std::int32_t line);
    void LayOut();

    [[nodiscard]] TTextPos ScanLoopStart(std::int32_t column, std::int32_t line) const;
    [[nodiscard]] TTextPos ScanBlockEnd(std::int32_t column, std::int32_t line, bool nextBlock) const;
    [[nodiscard]] TTextPos ScanBranch(std::int32_t column, std::int32_t line, std::int32_t n, TTextPos blockEnd) const;

    const std::vector<std::u16string>& _lines;
    bool _laidOut = false;
    std::vector<std::int64_t> _lineStart; // offsets; one more entry than lines
    std::array<std::vector<TTextPos>, skKinds> _remembered;
};
