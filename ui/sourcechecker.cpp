#include "ui/sourcechecker.h"

#include <QTextBlock>
#include <QTextDocument>

#include "core/sourcecheck.h"
#include "formats/bracketmatch.h"
#include "formats/errorreport.h"
#include "ui/codeeditor.h"

namespace {

constexpr int kQuietMs = 300;

// A block is one line of the program: the document splits at every line
// break, so no block holds one.
[[nodiscard]] std::u16string LineOf(const QTextBlock& block)
{
    return block.text().toStdU16String();
}

} // namespace

TSourceChecker::TSourceChecker(TCodeEditor* editor) : QObject(editor), _editor(editor)
{
    _delay.setSingleShot(true);
    _delay.setInterval(kQuietMs);
    connect(&_delay, &QTimer::timeout, this, &TSourceChecker::CheckNow);
    connect(editor->document(), &QTextDocument::contentsChange, this,
            [this](int, int removed, int added) {
                if (removed != 0 || added != 0)
                    _delay.start();
            });
}

void TSourceChecker::CheckNow()
{
    _delay.stop();
    const QTextDocument& document = *_editor->document();
    std::vector<std::u16string> prepared;
    prepared.reserve(std::size_t(document.blockCount()));
    for (QTextBlock block = document.begin(); block.isValid(); block = block.next()) {
        prepared.push_back(LineOf(block));
        PrepareLine(prepared.back());
    }
    const std::optional<TSourceFault> fault = FindSourceFault(prepared);
    if (!fault) {
        _editor->ClearProblemMark();
        emit Checked({});
        return;
    }
    // The run names no place for unpaired brackets; here the culprit is shown.
    TTextPlace place{fault->line, 0};
    if (fault->column == 0) {
        std::vector<std::u16string> lines;
        lines.reserve(prepared.size());
        for (QTextBlock block = document.begin(); block.isValid(); block = block.next())
            lines.push_back(LineOf(block));
        place = FindUnpairedBracket(lines).value_or(place);
    } else {
        const std::u16string line = LineOf(document.findBlockByNumber(fault->line));
        place.column = MapErrorColumn(line, fault->column) - 1;
    }
    _editor->SetProblemMark(place.line, place.column);
    emit Checked(QStringLiteral("Строка: %1, символ: %2. %3")
                     .arg(place.line + 1)
                     .arg(place.column + 1)
                     .arg(QString::fromStdU16String(std::u16string(fault->message))));
}
