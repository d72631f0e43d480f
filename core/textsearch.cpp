#include "core/textsearch.h"

namespace {

[[nodiscard]] std::int32_t LengthOf(const std::u16string& line)
{
    return static_cast<std::int32_t>(line.size());
}

} // namespace

TTextPos TTextSearch::FindBranch(std::int32_t column, std::int32_t line, std::int32_t n) const
{
    const TTextPos blockEnd = FindBlockEnd(column, line, true);
    if (!blockEnd.Found())
        return {};
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

TTextPos TTextSearch::FindLoopStart(std::int32_t column, std::int32_t line) const
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

TTextPos TTextSearch::FindBlockEnd(std::int32_t column, std::int32_t line, bool nextBlock) const
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
