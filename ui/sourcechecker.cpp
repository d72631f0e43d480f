#include "ui/sourcechecker.h"

#include <QTextDocument>
#include <exception>

#include "core/sourcecheck.h"
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
            });
}

void TSourceChecker::CheckNow()
{
    _delay.stop();
    // Only the copy of the text is made here: a big program is checked on the
    // worker while the window goes on.
    const QString text = _editor->ProgramText();
    _job.Start([text] { return FindProblem(text); },
               [this](TProblem problem, std::exception_ptr failure) {
                   TVeskApplication::RunCommand([&] {
                       if (failure)
                           std::rethrow_exception(failure);
                       Show(problem);
                   });
               });
}

TSourceChecker::TProblem TSourceChecker::FindProblem(const QString& text)
{
    const std::vector<std::u16string> lines = TCodeEditor::ProgramLines(text);
    std::vector<std::u16string> prepared = lines;
    const std::optional<TSourceFault> fault = PrepareAndCheck(prepared);
    if (!fault)
        return {};
    // The run names no place for unpaired brackets; here the culprit is shown.
    const TTextPlace at{fault->line, 0};
    return {true, FaultPlace(lines, fault->line, fault->column).value_or(at), {fault->code, {}}};
}

void TSourceChecker::Show(const TProblem& problem)
{
    if (!problem.found) {
        _editor->ClearProblemMark();
        emit Checked({});
        return;
    }
    _editor->SetProblemMark(problem.place.line, problem.place.column);
    emit Checked(tr("Строка: %1, символ: %2. %3")
                     .arg(problem.place.line + 1)
                     .arg(problem.place.column + 1)
                     .arg(CoreMessageText(problem.error)));
}
