// Colours the program text a line at a time: operators, their operands, cell
// addresses, comments, and characters that the source check would refuse.
// Nothing runs across lines, so no block state is kept.
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

protected:
    void highlightBlock(const QString& text) override;

private:
    QTextCharFormat _formats[5]; // by TSyntaxKind
};
