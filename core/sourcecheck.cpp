#include "core/sourcecheck.h"

#include <algorithm>
#include <array>
#include <iterator>

namespace {

constexpr std::u16string_view kUnknownChar = u"Неизвестный символ.";
constexpr std::u16string_view kBadBrackets = u"Неверное сочетание программных скобок.";

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

[[nodiscard]] char16_t OpenerOf(char16_t closer)
{
    switch (closer) {
    case u']': return u'[';
    case u'}': return u'{';
    case u')': return u'(';
    default: return 0;
    }
}

// A stack matcher: same verdict as deleting adjacent pairs until none is left.
class TBracketMatcher {
public:
    void Feed(char16_t ch)
    {
        if (ch == u'[' || ch == u'{' || ch == u'(') {
            _open.push_back(ch);
            return;
        }
        const char16_t opener = OpenerOf(ch);
        if (opener == 0)
            return;
        if (!_open.empty() && _open.back() == opener)
            _open.pop_back();
        else
            _broken = true;
    }
    [[nodiscard]] bool Paired() const { return !_broken && _open.empty(); }

private:
    std::u16string _open;
    bool _broken = false;
};

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
        for (std::size_t j = 0; j < line.size(); ++j) {
            brackets.Feed(line[j]);
            if (!IsAllowed(line[j]))
                return TSourceFault{static_cast<std::int32_t>(i), static_cast<std::int32_t>(j + 1), kUnknownChar};
        }
    }
    if (!brackets.Paired())
        return TSourceFault{0, 0, kBadBrackets};
    return std::nullopt;
}
