#include "formats/bracketmatch.h"

namespace {

struct TOpenBracket {
    char16_t closer;
    TTextPlace place;
};

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

std::optional<TTextPlace> FindUnpairedBracket(const std::vector<std::u16string>& lines)
{
    std::vector<TOpenBracket> open;
    for (std::size_t i = 0; i < lines.size(); ++i) {
        const std::u16string& line = lines[i];
        for (std::size_t j = 0; j < line.size() && line[j] != u'\''; ++j) {
            const TTextPlace place{static_cast<std::int32_t>(i), static_cast<std::int32_t>(j)};
            if (const char16_t closer = CloserOf(line[j]); closer != 0) {
                open.push_back({closer, place});
                continue;
            }
            if (!IsCloser(line[j]))
                continue;
            if (!open.empty() && open.back().closer == line[j]) {
                open.pop_back();
                continue;
            }
            for (const TOpenBracket& outer : open) {
                if (outer.closer == line[j])
                    return open.back().place;
            }
            return place;
        }
    }
    if (open.empty())
        return std::nullopt;
    return open.back().place;
}
