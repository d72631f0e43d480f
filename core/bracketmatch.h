// The pairing of a program's brackets, written once: the check before a run
// asks whether they pair up, an editor asks which bracket breaks the pairing.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

struct TTextPlace {
    std::int32_t line = 0;   // 0-based
    std::int32_t column = 0; // 0-based
    friend bool operator==(const TTextPlace&, const TTextPlace&) = default;
};

// Fed a text's characters in reading order. A closer that closes nothing open
// is unpaired itself; one that skips open brackets of another kind leaves the
// innermost of those unpaired; at the end the innermost bracket still open is.
class TBracketMatcher {
public:
    // Takes one character at `place`; false once the pairing is broken, after
    // which nothing more is taken.
    bool Feed(char16_t ch, TTextPlace place);
    // The bracket that breaks the pairing of what was fed; nothing when all pair up.
    [[nodiscard]] std::optional<TTextPlace> Unpaired() const;

private:
    struct TOpen {
        char16_t closer;
        TTextPlace place;
    };
    std::vector<TOpen> _open;
    std::optional<TTextPlace> _broken;
};

// The unpaired bracket of an editor's text, where brackets in comments do not
// count; nothing when every bracket pairs up.
[[nodiscard]] std::optional<TTextPlace>
FindUnpairedBracket(const std::vector<std::u16string>& lines);
