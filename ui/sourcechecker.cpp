#include "ui/sourcechecker.h"

#include <QTextDocument>

#include "core/sourcecheck.h"
#include "formats/bracketmatch.h"
#include "formats/errorreport.h"
#include "formats/projectfile.h"
#include "ui/codeeditor.h"

namespace {

constexpr int kQuietMs = 300;

[[nodiscard]] std::vector<std::u16string> EditorLines(const QTextDocument& document)
{
    QString text = document.toRawText();
    for (QChar& c : text) {
        if (c == QChar::ParagraphSeparator || c == QChar::LineSeparator)
            c = u'\n';
    }
    return SplitEditorLines(text.toStdU16String());
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
    const std::vector<std::u16string> lines = EditorLines(*_editor->document());
    std::vector<std::u16string> prepared = lines;
    for (std::u16string& line : prepared)
        PrepareLine(line);
    const std::optional<TSourceFault> fault = FindSourceFault(prepared);
    if (!fault) {
        _editor->ClearProblemMark();
        emit Checked({});
        return;
    }
    // The run names no place for unpaired brackets; here the culprit is shown.
    TTextPlace place{fault->line, 0};
    if (fault->column == 0) {
        place = FindUnpairedBracket(lines).value_or(place);
    } else {
        const std::size_t line = std::size_t(fault->line);
        const std::u16string_view text = line < lines.size() ? std::u16string_view(lines[line])
                                                             : std::u16string_view();
        place.column = MapErrorColumn(text, fault->column) - 1;
    }
    _editor->SetProblemMark(place.line, place.column);
    emit Checked(QStringLiteral("Строка: %1, символ: %2. %3")
                     .arg(place.line + 1)
                     .arg(place.column + 1)
                     .arg(QString::fromStdU16String(std::u16string(fault->message))));
}
