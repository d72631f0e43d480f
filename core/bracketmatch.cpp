#include "core/bracketmatch.h"

namespace {

[[nodiscard]] char16_t CloserOf(char16_t opener)
{
    switch (opener) {
    case u'[': return u']';
    case u'{': return u'}';
    case u'(': return u')';
    default: return 0;
    }
}

[[nodiscard]] bool IsCloser(char16_t ch) { return ch == u']' || ch == u'}' || ch == u')'; }

} // namespace

bool TBracketMatcher::Feed(char16_t ch, TTextPlace place)
{
    if (_broken)
        return false;
    if (const char16_t closer = CloserOf(ch); closer != 0) {
        _open.push_back({closer, place});
        return true;
    }
    if (!IsCloser(ch))
        return true;
    if (!_open.empty() && _open.back().closer == ch) {
        _open.pop_back();
        return true;
    }
    _broken = place;
    for (const TOpen& outer : _open) {
        if (outer.closer == ch) {
            _broken = _open.back().place;
            break;
        }
    }
    return false;
}

std::optional<TTextPlace> TBracketMatcher::Unpaired() const
{
    if (_broken || _open.empty())
        return _broken;
    return _open.back().place;
}

std::optional<TTextPlace> FindUnpairedBracket(const std::vector<std::u16string>& lines)
{
    TBracketMatcher matcher;
    for (std::size_t i = 0; i < lines.size(); ++i) {
        const std::u16string& line = lines[i];
        for (std::size_t j = 0; j < line.size() && line[j] != u'\''; ++j) {
            if (!matcher.Feed(line[j], {static_cast<std::int32_t>(i), static_cast<std::int32_t>(j)}))
                return matcher.Unpaired();
        }
    }
    return matcher.Unpaired();
}
