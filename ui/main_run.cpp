// TfMain: the run commands, the states of their controls, the error report and
// the finish handler.
#include "main.h"

#include <QCommandLinkButton>
#include <QCoreApplication>
#include <QMessageBox>
#include <QPlainTextEdit>

#include "formats/errorreport.h"
#include "formats/results.h"
#include "ui/coremessage.h"
#include "ui/results.h"

namespace {

// Built when asked, so that they come out in the interface language.
QString RunCaption() { return QCoreApplication::translate("TfMain", "Выполнить"); }
QString ContinueCaption() { return QCoreApplication::translate("TfMain", "Продолжить"); }

} // namespace

void TfMain::bBigRunClick() { StartRun(0); }

void TfMain::StartRun(double slice)
{
    if (!_paused) {
        _core->Reset();
        _core->SetTimerSlice(slice);
        _core->ProgramCode() = SourceLines();
    } else if (slice > 0) {
        _core->SetTimerSlice(slice);
    }
    // A target of «Выполнить до курсора» that a pause cut short is not kept.
    _core->SetRunToLine(-1);
    _core->Execute();
    _paused = false;
    mEditor->setFocus();
}

void TfMain::bBigPauseClick()
{
    _core->Pause();
    _paused = true;
    mEditor->setFocus();
}

void TfMain::bBigStopClick()
{
    _core->Stop();
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

void TfMain::CoreError(std::int32_t errorLine, std::int32_t errorPos, const std::u16string& message)
{
    // The column is mapped on the editor's text as it is now.
    const TErrorReport report = MakeErrorReport(SourceLines(), errorLine, errorPos, message);
    const QString text =
        tr("Произошла ошибка при выполнении программы\nСтрока: %1, символ: %2.\nСообщение: %3")
            .arg(report.line + 1)
            .arg(report.column)
            .arg(CoreMessageText(report.message));

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
