#include "ui/editor/bracketpartner.h"

#include <QTextBlock>
#include <QTextDocument>

namespace {

constexpr char16_t kOpeners[] = u"[({";
constexpr char16_t kClosers[] = u"])}";

// The part of a line before its comment.
[[nodiscard]] int CodeLength(const QString& text)
{
    const qsizetype quote = text.indexOf(u'\'');
    return int(quote < 0 ? text.size() : quote);
}

[[nodiscard]] int KindOf(QChar c, const char16_t* set)
{
    for (int i = 0; i < 3; ++i) {
        if (c == QChar(set[i]))
            return i;
    }
    return -1;
}

// The bracket of `block` at `column`, when it is code and a bracket: its kind and direction.
struct TBracket {
    int kind = -1;
    bool opens = false;
};

[[nodiscard]] TBracket BracketAt(const QString& text, int column)
{
    if (column < 0 || column >= CodeLength(text))
        return {};
    const QChar c = text.at(column);
    if (const int kind = KindOf(c, kOpeners); kind >= 0)
        return {kind, true};
    return {KindOf(c, kClosers), false};
}

} // namespace

std::optional<TBracketPair> FindBracketPair(const QTextDocument& document, int position)
{
    QTextBlock block = document.findBlock(position);
    if (!block.isValid())
        return std::nullopt;
    QString text = block.text();
    int column = position - block.position();
    TBracket bracket = BracketAt(text, column);
    if (bracket.kind < 0) {
        --column;
        bracket = BracketAt(text, column);
    }
    if (bracket.kind < 0)
        return std::nullopt;
    const TBracketPair found{block.position() + column, 0};
    const QChar same = QChar(bracket.opens ? kOpeners[bracket.kind] : kClosers[bracket.kind]);
    const QChar other = QChar(bracket.opens ? kClosers[bracket.kind] : kOpeners[bracket.kind]);
    const int step = bracket.opens ? 1 : -1;
    int depth = 0;
    for (;;) {
        const int length = CodeLength(text);
        for (; column >= 0 && column < length; column += step) {
            const QChar c = text.at(column);
            if (c == same) {
                ++depth;
            } else if (c == other && --depth == 0) {
                return TBracketPair{found.at, block.position() + column};
            }
        }
        block = bracket.opens ? block.next() : block.previous();
        if (!block.isValid())
            return std::nullopt;
        text = block.text();
        column = bracket.opens ? 0 : CodeLength(text) - 1;
    }
}
