#include "core/structurerange.h"

#include <algorithm>

namespace {

[[nodiscard]] bool Before(TTextPos a, std::int32_t column, std::int32_t line)
{
    return a.line < line || (a.line == line && a.column < column);
}

[[nodiscard]] char16_t CharAt(const std::vector<std::u16string>& lines, TTextPos at)
{
    if (at.line < 0 || static_cast<std::size_t>(at.line) >= lines.size() || at.column < 1)
        return 0;
    const std::u16string& text = lines[static_cast<std::size_t>(at.line)];
    return static_cast<std::size_t>(at.column) <= text.size() ? text[static_cast<std::size_t>(at.column) - 1] : 0;
}

// The `]` or `)` that closes the bracket at `open`, scanning forward.
[[nodiscard]] std::optional<TTextPos> Closing(const std::vector<std::u16string>& lines, TTextPos open)
{
    const char16_t opener = CharAt(lines, open);
    const char16_t closer = opener == u'[' ? u']' : u')';
    std::int32_t depth = 0;
    for (auto l = static_cast<std::size_t>(open.line); l < lines.size(); ++l) {
        const std::u16string& text = lines[l];
        for (std::size_t c = l == static_cast<std::size_t>(open.line) ? open.column - 1 : 0; c < text.size(); ++c) {
            if (text[c] == opener)
                ++depth;
            else if (text[c] == closer && --depth == 0)
                return TTextPos{static_cast<std::int32_t>(c) + 1, static_cast<std::int32_t>(l)};
        }
    }
    return std::nullopt;
}

} // namespace

bool TTextRange::Leaves(std::int32_t column, std::int32_t line) const
{
    const bool beforeFirst = line < first.line || (line == first.line && column < first.column);
    return beforeFirst || Before(last, column, line);
}

std::optional<TTextRange> OpenedStructure(const std::vector<std::u16string>& lines, std::int32_t column,
                                          std::int32_t line)
{
    const TTextPos at{column, line};
    const char16_t ch = CharAt(lines, at);
    if (ch == u'[' || ch == u'(') {
        if (const auto end = Closing(lines, at))
            return TTextRange{at, *end};
        return std::nullopt;
    }
    if (ch == u'?') {
        const TTextPos end = TTextSearch(lines).FindBlockEnd(column, line, true);
        if (end.Found())
            return TTextRange{at, end};
    }
    return std::nullopt;
}

std::optional<TTextRange> EnclosingStructure(const std::vector<std::u16string>& lines, std::int32_t column,
                                             std::int32_t line)
{
    if (line < 0 || static_cast<std::size_t>(line) >= lines.size())
        return std::nullopt;
    // Walk back; the closers met on the way are owed an opener before ours counts.
    std::int32_t loops = 0;
    std::int32_t blocks = 0;
    for (std::int32_t l = line; l >= 0; --l) {
        const std::u16string& text = lines[static_cast<std::size_t>(l)];
        std::int32_t c = l == line ? std::min<std::int32_t>(column - 1, static_cast<std::int32_t>(text.size()))
                                   : static_cast<std::int32_t>(text.size());
        for (; c >= 1; --c) {
            const char16_t ch = text[static_cast<std::size_t>(c) - 1];
            if (ch == u']')
                ++loops;
            else if (ch == u')')
                ++blocks;
            else if ((ch == u'[' && loops-- == 0) || (ch == u'(' && blocks-- == 0)) {
                const TTextPos open{c, l};
                if (const auto end = Closing(lines, open))
                    return TTextRange{open, *end};
                return std::nullopt;
            }
        }
    }
    return std::nullopt;
}
