#include "ui/editor/highlighter.h"

#include <QColor>
#include <QGuiApplication>
#include <QPalette>
#include <QTextBlock>
#include <QTextDocument>
#include <QTextLayout>
#include <vector>

#include "core/hexdigits.h"
#include "ui/app/style.h"

namespace {

// A change that adds more is coloured line by line as lines are shown.
constexpr int kEagerCharacters = 100000;
// Lines longer than this stay uncoloured: colouring one would cost memory
// in proportion to its length for every edit of it.
constexpr qsizetype kLongestColouredLine = 50000;

// The characters a prepared line may hold, letters A-F in either case.
[[nodiscard]] bool IsAllowed(QChar ch)
{
    static const QString allowed = QStringLiteral("0123456789abcdefABCDEF@$*-+<>~^:?\n\r[]{}()");
    return allowed.contains(ch);
}

[[nodiscard]] bool IsHexDigit(QChar ch) { return HexDigit(ch.unicode()) >= 0; }

// Walks the characters the interpreter would see (blanks and tabs skipped,
// as they are removed before a run) and names each one's kind.
class TLineLexer {
public:
    TLineLexer(const QString& text, std::vector<qsizetype> code)
        : _text(text), _code(std::move(code))
    {
    }

    template <class TMark>
    void Run(TMark mark)
    {
        while (_at < _code.size()) {
            const QChar ch = Peek();
            const qsizetype where = _code[_at++];
            if (!IsAllowed(ch)) {
                mark(where, TSyntaxKind::Refused);
                continue;
            }
            switch (ch.unicode()) {
            case u'$': case u'^': case u'~':
                mark(where, TSyntaxKind::Operator);
                Take(4, TSyntaxKind::Address, mark);
                break;
            case u'+': case u'-':
                mark(where, TSyntaxKind::Operator);
                if (!TakeAtAddress(mark))
                    Take(2, TSyntaxKind::Operand, mark);
                break;
            case u'?':
                mark(where, TSyntaxKind::Operator);
                if (Peek() == u'?')
                    mark(_code[_at++], TSyntaxKind::Operator);
                else if (!TakeAtAddress(mark))
                    Take(2, TSyntaxKind::Operand, mark);
                break;
            case u'[':
                mark(where, TSyntaxKind::Operator);
                TakeLoopCount(mark);
                break;
            case u'*': case u'<': case u'>': case u'{': case u'}': case u']':
            case u'(': case u')': case u':':
                mark(where, TSyntaxKind::Operator);
                break;
            default:
                break; // a digit or "@" where an operator belongs: the run reports it
            }
        }
    }

private:
    [[nodiscard]] QChar Peek(std::size_t ahead = 0) const
    {
        return _at + ahead < _code.size() ? _text[_code[_at + ahead]] : QChar();
    }

    template <class TMark>
    void Take(int count, TSyntaxKind kind, TMark& mark)
    {
        for (int i = 0; i < count && IsHexDigit(Peek()); ++i)
            mark(_code[_at++], kind);
    }

    template <class TMark>
    bool TakeAtAddress(TMark& mark)
    {
        if (Peek() != u'@')
            return false;
        mark(_code[_at++], TSyntaxKind::Address);
        Take(4, TSyntaxKind::Address, mark);
        return true;
    }

    template <class TMark>
    void TakeLoopCount(TMark& mark)
    {
        if (!IsHexDigit(Peek()) || !IsHexDigit(Peek(1)) || Peek(2) != u':')
            return;
        mark(_code[_at++], TSyntaxKind::Operand);
        mark(_code[_at++], TSyntaxKind::Operand);
        mark(_code[_at++], TSyntaxKind::Operator);
    }

    const QString& _text;
    std::vector<qsizetype> _code;
    std::size_t _at = 0;
};

} // namespace

THighlighter::THighlighter(QTextDocument* document)
    : QSyntaxHighlighter(static_cast<QTextDocument*>(nullptr))
{
    // The base class visits every changed line in its own handler of this
    // signal, which costs even when nothing is coloured: on a large change
    // that handler is taken out for the one signal. The two handlers here run
    // just before and just after it.
    connect(document, &QTextDocument::contentsChange, this, [this, document](int, int, int added) {
        _deferring = added > kEagerCharacters;
        if (_deferring)
            _detached = disconnect(document, SIGNAL(contentsChange(int, int, int)), this,
                                   SLOT(_q_reformatBlocks(int, int, int)));
    });
    setDocument(document);
    connect(document, &QTextDocument::contentsChange, this, [this, document] {
        _deferring = false;
        if (_detached)
            connect(document, SIGNAL(contentsChange(int, int, int)), this,
                    SLOT(_q_reformatBlocks(int, int, int)));
        _detached = false;
    });
    for (const auto kind : {TSyntaxKind::Operator, TSyntaxKind::Operand, TSyntaxKind::Address,
                            TSyntaxKind::Comment, TSyntaxKind::Refused})
        _formats[int(kind)] = Format(kind);
}

QTextCharFormat THighlighter::Format(TSyntaxKind kind)
{
    // The editor takes the application's palette.
    const TMarkColours& c = MarkColours(QGuiApplication::palette());
    QTextCharFormat format;
    switch (kind) {
    case TSyntaxKind::Operator: format.setForeground(c.operatorText); break;
    case TSyntaxKind::Operand: format.setForeground(c.operand); break;
    case TSyntaxKind::Address: format.setForeground(c.address); break;
    case TSyntaxKind::Comment:
        format.setForeground(c.comment);
        format.setFontItalic(true);
        break;
    case TSyntaxKind::Refused:
        format.setForeground(c.refusedText);
        format.setBackground(c.refusedBack);
        break;
    }
    return format;
}

void THighlighter::ColourIfDeferred(const QTextBlock& block)
{
    if (block.length() <= 1 || block.length() > kLongestColouredLine ||
        !block.layout()->formats().isEmpty())
        return;
    rehighlightBlock(block);
}

void THighlighter::highlightBlock(const QString& text)
{
    if (_deferring || text.size() > kLongestColouredLine)
        return;
    // The interpreter trims codes up to 32 off both ends of the whole line
    // first, then cuts the comment; what is left besides blanks and tabs is code.
    qsizetype first = 0;
    qsizetype last = text.size();
    while (first < last && text[first].unicode() <= 32)
        ++first;
    while (last > first && text[last - 1].unicode() <= 32)
        --last;
    qsizetype comment = text.indexOf(u'\'', first);
    if (comment < 0 || comment >= last)
        comment = last;
    else
        setFormat(int(comment), int(text.size() - comment), _formats[int(TSyntaxKind::Comment)]);

    std::vector<qsizetype> code;
    for (qsizetype i = first; i < comment; ++i) {
        if (text[i] != u' ' && text[i] != u'\t')
            code.push_back(i);
    }
    // Runs of one kind become one format range.
    qsizetype runStart = -1;
    qsizetype runEnd = -1;
    TSyntaxKind runKind = TSyntaxKind::Operator;
    const auto flush = [&] {
        if (runStart >= 0)
            setFormat(int(runStart), int(runEnd - runStart), _formats[int(runKind)]);
    };
    TLineLexer(text, std::move(code)).Run([&](qsizetype at, TSyntaxKind kind) {
        if (runStart >= 0 && kind == runKind && at == runEnd) {
            ++runEnd;
            return;
        }
        flush();
        runStart = at;
        runEnd = at + 1;
        runKind = kind;
    });
    flush();
}
