#include "ui/editor/sourcechecker.h"

#include <QHash>
#include <QTextDocument>
#include <algorithm>
#include <exception>

#include "core/sourcecheck.h"
#include "core/staticcheck.h"
#include "formats/errorreport.h"
#include "ui/app/application.h"
#include "ui/editor/codeeditor.h"
#include "ui/app/coremessage.h"

namespace {

constexpr int kQuietMs = 300;

} // namespace

TSourceChecker::TSourceChecker(TCodeEditor* editor) : QObject(editor), _editor(editor)
{
    _delay.setSingleShot(true);
    _delay.setInterval(kQuietMs);
    connect(&_delay, &QTimer::timeout, this, &TSourceChecker::CheckNow);
    connect(editor->document(), &QTextDocument::contentsChange, this,
            [this](int, int removed, int added) {
                if (removed == 0 && added == 0)
                    return;
                // A check of the text before this edit would mark the wrong place.
                _job.Cancel();
                _delay.start();
                _first.clear();
            });
    connect(editor, &QPlainTextEdit::cursorPositionChanged, this, [this] { ShowCaretProblem(false); });
}

void TSourceChecker::CheckNow()
{
    _delay.stop();
    // Only the copy of the text is made here: a big program is checked on the
    // worker while the window goes on.
    const QString text = _editor->ProgramText();
    _job.Start([text] { return FindProblems(text); },
               [this](TFound found, std::exception_ptr failure) {
                   TVeskApplication::RunCommand([&] {
                       if (failure)
                           std::rethrow_exception(failure);
                       Show(std::move(found));
                   });
               });
}

TSourceChecker::TFound TSourceChecker::FindProblems(const QString& text)
{
    const std::vector<std::u16string> lines = TCodeEditor::ProgramLines(text);
    std::vector<std::u16string> prepared = lines;
    const std::optional<TSourceFault> fault = PrepareAndCheck(prepared);
    // Each message is put in the interface language once and shared by its marks.
    QHash<QString, QString> texts;
    const auto message = [&texts](const TCoreError& error) {
        const QString key = QString::number(int(error.code)) + QString::fromStdU16String(error.operand);
        auto it = texts.find(key);
        if (it == texts.end())
            it = texts.insert(key, CoreMessageText(error));
        return *it;
    };
    TFound found;
    TCodeEditor::TProblemMark beforeRun;
    if (fault) {
        // The run names no place for unpaired brackets; here the culprit is shown.
        const TTextPlace place = FaultPlace(lines, fault->line, fault->column).value_or(TTextPlace{fault->line, 0});
        beforeRun = {place.line, place.column, place.column + 1, place.column, message({fault->code, {}})};
    }
    for (const TStaticFault& fault : FindStaticFaults(prepared)) {
        const std::u16string& line = lines[std::size_t(fault.line)];
        const int column = MapErrorColumn(line, fault.column) - 1;
        found.marks.append({fault.line, MapErrorColumn(line, fault.start) - 1, column + 1, column,
                            message(fault.error)});
    }
    if (fault) {
        const auto after = [&beforeRun](const TCodeEditor::TProblemMark& mark) {
            return mark.line > beforeRun.line || (mark.line == beforeRun.line && mark.start > beforeRun.start);
        };
        const auto at = std::find_if(found.marks.begin(), found.marks.end(), after);
        found.first = at - found.marks.begin();
        found.marks.insert(at, beforeRun);
    } else if (!found.marks.isEmpty()) {
        found.first = 0;
    }
    return found;
}

void TSourceChecker::Show(TFound found)
{
    _first.clear();
    if (found.first >= 0) {
        const TCodeEditor::TProblemMark& first = found.marks.at(found.first);
        _first = tr("Строка: %1, символ: %2. %3").arg(first.line + 1).arg(first.column + 1).arg(first.message);
    }
    _editor->SetProblemMarks(std::move(found.marks));
    ShowCaretProblem(true);
}

void TSourceChecker::ShowCaretProblem(bool always)
{
    const QTextCursor caret = _editor->textCursor();
    const TCodeEditor::TProblemMark* problem = _editor->ProblemAt(caret.blockNumber(), caret.positionInBlock());
    const QString text = problem == nullptr
        ? _first
        : tr("Строка: %1, символ: %2. %3").arg(problem->line + 1).arg(problem->column + 1).arg(problem->message);
    if (!always && text == _shown)
        return;
    _shown = text;
    emit Checked(text);
}
