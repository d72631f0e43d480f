// The bracket that pairs with the one at the caret, for the editor to show
// and to jump to. Brackets in comments do not count.
#pragma once

#include <optional>

class QTextDocument;

struct TBracketPair {
    int at = 0;      // document position of the bracket at the caret
    int partner = 0; // document position of its partner
};

// The bracket right after `position`, else the one right before it, and its
// partner of the same kind, nesting counted; nothing when there is no bracket
// there or it has no partner.
[[nodiscard]] std::optional<TBracketPair> FindBracketPair(const QTextDocument& document, int position);
