// TfMain: going back in the run: the commands in «Проект», the timeline under
// the editor and the question where a cell's value came from.
#include "ui/mainwindow/main.h"

#include <QAction>
#include <QMenu>
#include <QStatusBar>

#include "ui/debugger/cellspanel.h"
#include "ui/app/idesettings.h"
#include "ui/model/runcontroller.h"
#include "ui/debugger/timetravel.h"

void TfMain::BuildTravelMenus(QMenu* projectMenu)
{
    const THandler project = &TfMain::nProjectItemClick;
    AddSeparator(projectMenu, "nSeparatorTravel");
    AddItem(projectMenu, "nStepBackItem", tr("Шаг на&зад"), QKeySequence(Qt::SHIFT | Qt::Key_F8),
            &TfMain::nStepBackItemClick, project);
    AddItem(projectMenu, "nRunBackItem", tr("Выполнить н&азад"), QKeySequence(Qt::ALT | Qt::Key_F9),
            &TfMain::nRunBackItemClick, project);
    AddItem(projectMenu, "nStepBackOverItem", tr("Шаг назад с об&ходом"), QKeySequence(Qt::ALT | Qt::Key_F8),
            &TfMain::nStepBackOverItemClick, project);
    AddItem(projectMenu, "nStepBackOutItem", tr("Шаг назад с выходо&м"),
            QKeySequence(Qt::ALT | Qt::SHIFT | Qt::Key_F8), &TfMain::nStepBackOutItemClick, project);
    auto* whereFrom = new QAction(tr("Откуда это значение"), pCellsPanel);
    whereFrom->setObjectName(QStringLiteral("nWhereFromItem"));
    connect(whereFrom, &QAction::triggered, this, &TfMain::nWhereFromItemClick);
    pCellsPanel->AddCellAction(whereFrom);
}

void TfMain::BuildTimeTravel()
{
    // A paused run, or one that ended: its history stays until the next start.
    const auto halted = [this] {
        const TRunState state = _run->State();
        return state == TRunState::rsPaused || state == TRunState::rsIdle || state == TRunState::rsHalted;
    };
    _travel = std::make_unique<TTimeTravel>(_run->Core(), *_debugger, *pCellsPanel, *sTimeline, halted,
                                            TIdeSettings().HistoryBudget());
    connect(_travel.get(), &TTimeTravel::Message, this, [this](const QString& text) {
        statusBar()->showMessage(text, 10000);
    });
    connect(_travel.get(), &TTimeTravel::Travelled, this, &TfMain::TravelPaused);
    TTimeTravel* travel = _travel.get();
    connect(_run.get(), &TRunController::Started, travel, &TTimeTravel::RunStarted);
    connect(_run.get(), &TRunController::Paused, travel, &TTimeTravel::RunPaused);
    connect(_run.get(), &TRunController::Stopped, travel, [travel] { travel->RunHalted(false); });
    connect(_run.get(), &TRunController::ErrorRaised, travel, [travel] { travel->RunHalted(true); });
}

void TfMain::TravelPaused()
{
    // F9 and F8 go on from here, as after a pause.
    _run->PauseAtMoment();
    ShowRunState(tr("Приостановлено"));
}

void TfMain::nStepBackItemClick() { _travel->StepBack(); }

void TfMain::nRunBackItemClick() { _travel->RunBack(); }

void TfMain::nStepBackOverItemClick() { _travel->StepBackOver(); }

void TfMain::nStepBackOutItemClick() { _travel->StepBackOut(); }

void TfMain::nWhereFromItemClick() { _travel->WhereFrom(); }
