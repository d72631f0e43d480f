#include "core/sourcecheck.h"

#include <algorithm>
#include <array>
#include <iterator>

#include "core/bracketmatch.h"

namespace {

constexpr std::array<bool, 128> MakeAllowedTable()
{
    std::array<bool, 128> table{};
    constexpr std::u16string_view allowed = u"0123456789abcdef@$*-+<>~^:?\n\r[]{}()";
    for (const char16_t ch : allowed)
        table[ch] = true;
    return table;
}

constexpr std::array<bool, 128> kAllowed = MakeAllowedTable();

// Only A-Z are lowered: every other letter stays as it is and is refused.
[[nodiscard]] bool IsAllowed(char16_t ch)
{
    if (ch >= u'A' && ch <= u'Z')
        ch = static_cast<char16_t>(ch - u'A' + u'a');
    return ch < kAllowed.size() && kAllowed[ch];
}

} // namespace

// The result is built at its exact size: a big program keeps no slack.
void PrepareLine(std::u16string& line)
{
    // A line with nothing to remove (one prepared before) stays as it is.
    if (std::none_of(line.begin(), line.end(), [](char16_t ch) { return ch <= 32 || ch == u'\''; }))
        return;
    const auto isSpace = [](char16_t ch) { return ch <= 32; };
    const auto first = std::find_if_not(line.begin(), line.end(), isSpace);
    const auto last = std::find_if_not(line.rbegin(), std::make_reverse_iterator(first), isSpace).base();
    const auto end = std::find(first, last, u'\'');
    const auto kept = [](char16_t ch) { return ch != u' ' && ch != u'\t'; };
    std::u16string text;
    text.reserve(static_cast<std::size_t>(std::count_if(first, end, kept)));
    std::copy_if(first, end, std::back_inserter(text), kept);
    line = std::move(text);
}

std::optional<TSourceFault> FindSourceFault(const std::vector<std::u16string>& lines,
                                            std::stop_token stop)
{
    TBracketMatcher brackets;
    for (std::size_t i = 0; i < lines.size(); ++i) {
        // Given up: the caller asked for the stop and drops the answer.
        if (i % 4096 == 0 && stop.stop_requested())
            return std::nullopt;
        const std::u16string& line = lines[i];
        const auto row = static_cast<std::int32_t>(i);
        for (std::size_t j = 0; j < line.size(); ++j) {
            const auto column = static_cast<std::int32_t>(j);
            brackets.Feed(line[j], {row, column});
            if (!IsAllowed(line[j]))
                return TSourceFault{row, column + 1, TErrorCode::ecUnknownChar};
        }
    }
    if (brackets.Unpaired())
        return TSourceFault{0, 0, TErrorCode::ecBadBrackets};
    return std::nullopt;
}

std::optional<TSourceFault> PrepareAndCheck(std::vector<std::u16string>& lines)
{
    for (std::u16string& line : lines)
        PrepareLine(line);
    return FindSourceFault(lines);
}
