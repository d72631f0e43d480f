// TfMain: the debugger's commands (the unpaced run, step, run to the caret,
// breakpoints) and the cells panel with its «Вид» menu.
#include "ui/mainwindow/main.h"

#include <QMenu>

#include "ui/debugger/cellspanel.h"
#include "ui/editor/codeeditor.h"
#include "ui/debugger/debugger.h"
#include "ui/debugger/timetravel.h"

void TfMain::BuildDebugMenus(QMenu* projectMenu)
{
    const THandler project = &TfMain::nProjectItemClick;
    AddSeparator(projectMenu, "nSeparator7");
    nRunUnpacedItem = AddItem(projectMenu, "nRunUnpacedItem",
                              tr("Выполнить &без задержки"),
                              QKeySequence(Qt::SHIFT | Qt::Key_F9), &TfMain::nRunUnpacedItemClick,
                              project);
    nStepItem = AddItem(projectMenu, "nStepItem", tr("&Шаг"), QKeySequence(Qt::Key_F8),
                        &TfMain::nStepItemClick, project);
    nRunToCursorItem = AddItem(projectMenu, "nRunToCursorItem",
                               tr("Выполнить до &курсора"), QKeySequence(Qt::Key_F4),
                               &TfMain::nRunToCursorItemClick, project);
    AddSeparator(projectMenu, "nSeparator8");
    AddItem(projectMenu, "nBreakpointItem", tr("&Точка останова"),
            QKeySequence(Qt::Key_F5), &TfMain::nBreakpointItemClick, project);
    BuildWatchMenus(projectMenu);
    BuildTravelMenus(projectMenu);
    BuildCellEditActions();

    auto* view = AddMenu("nViewItem", tr("&Вид"));
    nCellsItem = AddItem(view, "nCellsItem", tr("&Ячейки"), QKeySequence(Qt::Key_F12),
                         &TfMain::nCellsItemClick, nullptr);
    nCellsItem->setCheckable(true);
    // The panel's own close box hides it too.
    connect(pCellsPanel, &QDockWidget::visibilityChanged, nCellsItem,
            [this] { nCellsItem->setChecked(!pCellsPanel->isHidden()); });
}

void TfMain::BuildCellsPanel()
{
    pCellsPanel = new TCellsPanel(this);
    pCellsPanel->setFont(InterfaceFont());
    addDockWidget(Qt::RightDockWidgetArea, pCellsPanel);
    // Hidden until asked for: the window opens as it always has.
    pCellsPanel->hide();
}

void TfMain::nRunUnpacedItemClick()
{
    mEditor->setFocus();
    _run->RunUnpaced();
}

void TfMain::nStepItemClick()
{
    mEditor->setFocus();
    _run->Step();
}

void TfMain::nRunToCursorItemClick()
{
    mEditor->setFocus();
    _debugger->RunToCaret();
}

void TfMain::nBreakpointItemClick() { _debugger->ToggleBreakpointAtCaret(); }

void TfMain::nCellsItemClick()
{
    const bool first = !_cellsPanelShown;
    pCellsPanel->setVisible(pCellsPanel->isHidden());
    nCellsItem->setChecked(!pCellsPanel->isHidden());
    if (first && pCellsPanel->isVisible()) {
        // The editor keeps most of the window; later the user's width stays.
        _cellsPanelShown = true;
        resizeDocks({pCellsPanel}, {pCellsPanel->WholeColumnsWidth()}, Qt::Horizontal);
    }
}
