// TfMain: the run commands, the states of their controls, the error report and
// the finish handler.
#include "ui/mainwindow/main.h"

#include <QCommandLinkButton>
#include <QCoreApplication>
#include <QMessageBox>
#include <QPlainTextEdit>

#include "formats/errorreport.h"
#include "formats/results.h"
#include "ui/app/application.h"
#include "ui/app/coremessage.h"
#include "ui/results/results.h"

namespace {

// Built when asked, so that they come out in the interface language.
QString RunCaption() { return QCoreApplication::translate("TfMain", "Выполнить"); }
QString ContinueCaption() { return QCoreApplication::translate("TfMain", "Продолжить"); }

} // namespace

void TfMain::BindRun()
{
    connect(_run.get(), &TRunController::StateChanged, this, [this](TRunState state) {
        SetRunControls(state);
        if (state == TRunState::rsPreparing) {
            ShowRunState(tr("Подготовка к выполнению"));
            ShowSteps(_run->Core().Step()); // the last run's count would stand until the first step
        }
    });
    // The wall clock first: the results window opens from CoreFinish.
    connect(_run.get(), &TRunController::Started, this, &TfMain::WallClockStart);
    connect(_run.get(), &TRunController::Paused, this, &TfMain::WallClockHalt);
    connect(_run.get(), &TRunController::Stopped, this, &TfMain::WallClockHalt);
    connect(_run.get(), &TRunController::Finished, this, [this] {
        WallClockHalt();
        ShowWallTime();
    });
    connect(_run.get(), &TRunController::Started, this, &TfMain::CoreStart);
    connect(_run.get(), &TRunController::Paused, this, &TfMain::CorePause);
    connect(_run.get(), &TRunController::Stopped, this, &TfMain::CoreStop);
    connect(_run.get(), &TRunController::Finished, this, &TfMain::CoreFinish);
    connect(_run.get(), &TRunController::ErrorRaised, this,
            [this](std::int32_t line, std::int32_t column, const TCoreError& error) {
                MarkCoreError(line, column);
                CoreError(line, column, error);
            });
}

void TfMain::bBigRunClick()
{
    mEditor->setFocus();
    _run->Run();
}

void TfMain::bBigPauseClick()
{
    _run->Pause();
    mEditor->setFocus();
}

void TfMain::bBigStopClick()
{
    _run->Stop();
    mEditor->setFocus();
}

void TfMain::SetRunControls(TRunState state)
{
    const TRunControls controls = RunControlsFor(state);
    bBigRun->setEnabled(controls.run);
    bBigPause->setEnabled(controls.pause);
    bBigStop->setEnabled(controls.stop);
    bBigRun->setText(controls.continueCaption ? ContinueCaption() : RunCaption());
}

void TfMain::CoreStart()
{
    SetRunControls(_run->State());
    ShowRunState(_run->Unpaced() ? tr("Выполняется без задержки") : tr("Выполняется"));
}

void TfMain::CorePause()
{
    SetRunControls(_run->State());
    ShowRunState(tr("Приостановлено"));
    ShowPauseCause();
}

void TfMain::CoreStop()
{
    SetRunControls(_run->State());
    ShowRunState(tr("Остановлено"));
}

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
    ShowRunState(tr("Завершено"));
    const TVeskCore& core = _run->Core();
    const TMemory memory = core.GetMemory();
    const std::vector<std::u16string> names = core.GetVariables();
    TfResults results(this);
    results.AddRows(ResultRows(names, memory)); // in one insertion: a list of 65,536 rows opens at once
    results.SetTimeText(
        tr("%1 сек.").arg(QString::fromStdU16String(SecondsText(core.EndTime()))));
    results.SetStepsCount(core.Step());
    results.SetChangedByHand(core.CellsChangedByHand());
    SetRunControls(_run->State());
    results.exec();
}
