// Colours the program text a line at a time: operators, their operands, cell
// addresses, comments, and characters that the source check would refuse.
// Nothing runs across lines, so no block state is kept. A large change (a
// file loaded, a big paste) is left uncoloured; the editor colours the lines
// it shows through ColourIfDeferred.
#pragma once

#include <QSyntaxHighlighter>
#include <QTextCharFormat>

class QTextDocument;

enum class TSyntaxKind { Operator, Operand, Address, Comment, Refused };

class THighlighter final : public QSyntaxHighlighter {
    Q_OBJECT
public:
    explicit THighlighter(QTextDocument* document);

    [[nodiscard]] static QTextCharFormat Format(TSyntaxKind kind);

    // Colours a line that a large change left uncoloured.
    void ColourIfDeferred(const QTextBlock& block);

protected:
    void highlightBlock(const QString& text) override;

private:
    QTextCharFormat _formats[5]; // by TSyntaxKind
    bool _deferring = false;     // while the document reports a large change
    bool _detached = false;      // the base class's handler is out for that change
};
