#include "ui/sourcechecker.h"

#include <QTextDocument>
#include <exception>

#include "core/sourcecheck.h"
#include "core/staticcheck.h"
#include "formats/errorreport.h"
#include "ui/application.h"
#include "ui/codeeditor.h"
#include "ui/coremessage.h"

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
               [this](std::vector<TProblem> problems, std::exception_ptr failure) {
                   TVeskApplication::RunCommand([&] {
                       if (failure)
                           std::rethrow_exception(failure);
                       Show(problems);
                   });
               });
}

std::vector<TSourceChecker::TProblem> TSourceChecker::FindProblems(const QString& text)
{
    const std::vector<std::u16string> lines = TCodeEditor::ProgramLines(text);
    std::vector<std::u16string> prepared = lines;
    for (std::u16string& line : prepared)
        PrepareLine(line);
    std::vector<TProblem> problems;
    if (const std::optional<TSourceFault> fault = FindSourceFault(prepared)) {
        // The run names no place for unpaired brackets; here the culprit is shown.
        TProblem problem{{fault->line, 0}, 0, std::u16string(fault->message)};
        if (fault->column == 0)
            problem.place = FindUnpairedBracket(lines).value_or(problem.place);
        else
            problem.place.column = MapErrorColumn(lines[std::size_t(fault->line)], fault->column) - 1;
        problem.start = problem.place.column;
        problems.push_back(std::move(problem));
    }
    for (TStaticFault& fault : FindStaticFaults(prepared)) {
        const std::u16string& line = lines[std::size_t(fault.line)];
        problems.push_back({{fault.line, MapErrorColumn(line, fault.column) - 1},
                            MapErrorColumn(line, fault.start) - 1,
                            std::move(fault.message)});
    }
    return problems;
}

void TSourceChecker::Show(const std::vector<TProblem>& problems)
{
    QList<TCodeEditor::TProblemMark> marks;
    marks.reserve(qsizetype(problems.size()));
    for (const TProblem& problem : problems) {
        marks.append({problem.place.line, problem.start, problem.place.column + 1, problem.place.column,
                      CoreMessageText(problem.message)});
    }
    _first.clear();
    if (!marks.isEmpty()) {
        const TCodeEditor::TProblemMark& first = marks.front();
        _first = tr("Строка: %1, символ: %2. %3").arg(first.line + 1).arg(first.column + 1).arg(first.message);
    }
    _editor->SetProblemMarks(std::move(marks));
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
