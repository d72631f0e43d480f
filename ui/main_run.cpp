// TfMain: the run commands, the states of their controls, the error report and
// the finish handler.
#include "main.h"

#include <QCommandLinkButton>
#include <QCoreApplication>
#include <QMessageBox>
#include <QPlainTextEdit>
#include <utility>

#include "formats/errorreport.h"
#include "formats/results.h"
#include "ui/application.h"
#include "ui/coremessage.h"
#include "ui/results.h"

namespace {

// Built when asked, so that they come out in the interface language.
QString RunCaption() { return QCoreApplication::translate("TfMain", "Выполнить"); }
QString ContinueCaption() { return QCoreApplication::translate("TfMain", "Продолжить"); }

// From this many characters on, a program is made ready on a worker thread,
// where splitting, preparing, checking and decoding it would otherwise hold
// the window still: a few milliseconds' worth stays in the window's thread.
constexpr qsizetype kPrepareApartFrom = 256 * 1024;

} // namespace

void TfMain::bBigRunClick() { StartRun(0); }

void TfMain::StartRun(double slice, std::function<void()> started)
{
    if (Preparing())
        return; // a start is under way
    mEditor->setFocus();
    if (_paused) {
        if (slice > 0)
            _core->SetTimerSlice(slice);
        LaunchRun(started);
        return;
    }
    _core->Reset();
    _core->SetTimerSlice(slice);
    const QString text = EditorText();
    if (text.size() < kPrepareApartFrom) {
        _core->ProgramCode() = TCodeEditor::ProgramLines(text);
        LaunchRun(started);
        return;
    }
    // The text as it is now runs, whatever is typed meanwhile. Until the
    // program comes, Pause and Stop work as on a run.
    CoreStart();
    ShowRunState(tr("Подготовка к выполнению"));
    ShowSteps(_core->Step()); // the last run's count would stand until the first step
    _pauseWhenReady = false;
    const auto work = [text] { return TPreparedProgram(TCodeEditor::ProgramLines(text)); };
    _preparer->Start(work, [this, started = std::move(started)](TPreparedProgram program,
                                                                std::exception_ptr failure) {
        TVeskApplication::RunCommand([&] {
            if (failure) {
                _core->Stop();
                std::rethrow_exception(failure);
            }
            _core->LoadPrepared(std::move(program));
            // A Pause that came meanwhile: start, and pause before the first step.
            LaunchRun(std::exchange(_pauseWhenReady, false) ? [this] { PauseAtStart(); } : started);
        });
    });
}

void TfMain::LaunchRun(const std::function<void()>& started)
{
    // A target of «Выполнить до курсора» that a pause cut short is not kept.
    _core->SetRunToLine(-1);
    _core->Execute();
    _paused = false;
    if (started)
        started();
}

bool TfMain::Preparing() const { return _preparer && _preparer->Busy(); }

void TfMain::PauseAtStart()
{
    if (_core->IsRun())
        PauseRun();
}

void TfMain::PauseRun()
{
    if (Preparing()) {
        _pauseWhenReady = true;
        return;
    }
    _core->Pause();
    _paused = true;
}

void TfMain::StopRun()
{
    _preparer->Cancel();
    _pauseWhenReady = false;
    _core->Stop();
}

void TfMain::bBigPauseClick()
{
    PauseRun();
    mEditor->setFocus();
}

void TfMain::bBigStopClick()
{
    StopRun();
    _core->Reset();
    _paused = false;
    mEditor->setFocus();
}

void TfMain::SetRunControls(bool run, bool pause, bool stop, const QString& runCaption)
{
    bBigRun->setEnabled(run);
    bBigPause->setEnabled(pause);
    bBigStop->setEnabled(stop);
    bBigRun->setText(runCaption);
}

void TfMain::CoreStart() { SetRunControls(false, true, true, ContinueCaption()); }

void TfMain::CorePause() { SetRunControls(true, true, true, ContinueCaption()); }

void TfMain::CoreStop() { SetRunControls(true, false, false, RunCaption()); }

void TfMain::CoreError(std::int32_t errorLine, std::int32_t errorPos, const TCoreError& error)
{
    // The column is mapped on the editor's text as it is now.
    const TErrorReport report = MakeErrorReport(SourceLines(), errorLine, errorPos, CoreErrorText(error));
    const QString text =
        tr("Произошла ошибка при выполнении программы\nСтрока: %1, символ: %2.\nСообщение: %3")
            .arg(report.line + 1)
            .arg(report.column)
            .arg(CoreMessageText(error));

    QMessageBox box(QMessageBox::Warning, tr("Ошибка"), text, QMessageBox::Ok, this);
    box.setWindowModality(Qt::ApplicationModal);
    box.exec();
    bBigRun->setText(RunCaption());
}

void TfMain::CoreFinish()
{
    const TMemory memory = _core->GetMemory();
    const std::vector<std::u16string> names = _core->GetVariables();
    TfResults results(this);
    results.AddRows(ResultRows(names, memory)); // in one insertion: a list of 65,536 rows opens at once
    results.SetTimeText(
        tr("%1 сек.").arg(QString::fromStdU16String(SecondsText(_core->EndTime()))));
    results.SetStepsCount(_core->Step());
    SetRunControls(true, false, false, RunCaption());
    results.exec();
}
