#include "core/textsearch.h"

namespace {

[[nodiscard]] std::int32_t LengthOf(const std::u16string& line)
{
    return static_cast<std::int32_t>(line.size());
}

} // namespace

void TTextSearch::Invalidate()
{
    _laidOut = false;
    _lineStart.clear();
    for (auto& results : _remembered)
        results.clear();
}

void TTextSearch::LayOut()
{
    _lineStart.assign(1, 0);
    for (const std::u16string& line : _lines)
        _lineStart.push_back(_lineStart.back() + static_cast<std::int64_t>(line.size()));
    _laidOut = true;
}

TTextPos TTextSearch::Search(TSearchKind kind, std::int32_t column, std::int32_t line, std::int64_t offset)
{
    const TTextPos found = Scan(kind, column, line);
    if (offset >= 0) {
        std::vector<TTextPos>& results = _remembered[kind];
        if (results.empty())
            results.assign(static_cast<std::size_t>(_lineStart.back()), TTextPos{kUnknownColumn, kUnknownColumn});
        results[static_cast<std::size_t>(offset)] = found;
    }
    return found;
}

TTextPos TTextSearch::Scan(TSearchKind kind, std::int32_t column, std::int32_t line)
{
    switch (kind) {
    case skLoopStart: return ScanLoopStart(column, line);
    case skEnclosingEnd: return ScanBlockEnd(column, line, false);
    case skNextBlockEnd: return ScanBlockEnd(column, line, true);
    default: {
        const TTextPos blockEnd = FindBlockEnd(column, line, true);
        if (!blockEnd.Found())
            return {};
        return ScanBranch(column, line, kind == skBranch1 ? 1 : 2, blockEnd);
    }
    }
}

TTextPos TTextSearch::ScanLoopStart(std::int32_t column, std::int32_t line) const
{
    std::int32_t depth = 1;
    --column;
    for (;;) {
        while (column < 1) {
            if (--line < 0)
                return {};
            column = LengthOf(_lines[static_cast<std::size_t>(line)]);
        }
        const char16_t ch = _lines[static_cast<std::size_t>(line)][static_cast<std::size_t>(column - 1)];
        if (ch == u']') {
            ++depth;
        } else if (ch == u'[' && --depth == 0) {
            return {column, line};
        }
        --column;
    }
}

TTextPos TTextSearch::ScanBlockEnd(std::int32_t column, std::int32_t line, bool nextBlock) const
{
    std::int32_t depth = nextBlock ? 0 : 1;
    const auto lines = static_cast<std::int32_t>(_lines.size());
    ++column;
    for (;;) {
        while (line < lines && column > LengthOf(_lines[static_cast<std::size_t>(line)])) {
            ++line;
            column = 1;
        }
        if (line >= lines)
            return {};
        const char16_t ch = _lines[static_cast<std::size_t>(line)][static_cast<std::size_t>(column - 1)];
        if (ch == u'(') {
            ++depth;
        } else if (ch == u')' && --depth == 0) {
            return {column, line};
        }
        ++column;
    }
}

TTextPos TTextSearch::ScanBranch(std::int32_t column, std::int32_t line, std::int32_t n, TTextPos blockEnd) const
{
    const auto afterEnd = [&] {
        return line > blockEnd.line || (line == blockEnd.line && column > blockEnd.column);
    };
    const auto lines = static_cast<std::int32_t>(_lines.size());
    std::int32_t depth = 0;
    std::int32_t separators = 0;
    ++column;
    for (;;) {
        while (line < lines && column > LengthOf(_lines[static_cast<std::size_t>(line)])) {
            ++line;
            column = 1;
        }
        if (line >= lines || afterEnd())
            return {};
        const char16_t ch = _lines[static_cast<std::size_t>(line)][static_cast<std::size_t>(column - 1)];
        if (ch == u'(') {
            ++depth;
        } else if (ch == u')') {
            --depth;
        } else if (ch == u':' && depth == 1 && ++separators == n) {
            return {column, line};
        }
        ++column;
    }
}
