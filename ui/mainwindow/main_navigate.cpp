// TfMain: moving about the program (go to a line, the partner of a bracket),
// the menu items for that and for find next and previous, and opening the
// sample programs.
#include "ui/mainwindow/main.h"

#include <QInputDialog>
#include <QMenu>

#include "formats/projectread.h"
#include "ui/app/application.h"
#include "ui/editor/codeeditor.h"
#include "ui/mainwindow/examplesmenu.h"

void TfMain::BuildNavigationMenus(QMenu* editMenu, QMenu* helpMenu)
{
    const THandler edit = &TfMain::nEditItemClick;
    AddItem(editMenu, "nFindNextItem", tr("&Найти далее"), QKeySequence(Qt::Key_F3),
            &TfMain::nFindNextItemClick, edit);
    AddItem(editMenu, "nFindPreviousItem", tr("Найти ран&ее"), QKeySequence(Qt::SHIFT | Qt::Key_F3),
            &TfMain::nFindPreviousItemClick, edit);
    AddItem(editMenu, "nGoToLineItem", tr("Перейти к &строке..."), QKeySequence(Qt::CTRL | Qt::Key_G),
            &TfMain::nGoToLineItemClick, edit);
    AddItem(editMenu, "nBracketItem", tr("К п&арной скобке"), QKeySequence(Qt::CTRL | Qt::Key_B),
            &TfMain::nBracketItemClick, edit);

    auto* examples = new TExamplesMenu(helpMenu);
    helpMenu->addMenu(examples);
    connect(examples, &TExamplesMenu::Chosen, this, &TfMain::nExampleItemClick);
}

void TfMain::nGoToLineItemClick()
{
    const int lines = mEditor->document()->blockCount();
    QInputDialog dialog(this);
    dialog.setObjectName(QStringLiteral("dGoToLineDialog"));
    dialog.setWindowTitle(tr("Переход к строке"));
    dialog.setLabelText(tr("Номер строки (1–%1):").arg(lines));
    dialog.setInputMode(QInputDialog::IntInput);
    dialog.setIntRange(1, lines);
    dialog.setIntValue(mEditor->textCursor().blockNumber() + 1);
    if (dialog.exec() != QDialog::Accepted)
        return;
    mEditor->GoToLine(dialog.intValue() - 1);
    // The keys go back to the editor, at its new line.
    activateWindow();
    mEditor->setFocus();
}

void TfMain::nBracketItemClick() { mEditor->JumpToBracketPartner(); }

void TfMain::nExampleItemClick(const QString& path)
{
    TVeskApplication::RunCommand([this, path] {
        // An untitled copy: saving never writes over the installed sample.
        const TProjectRead read = ReadProjectFile(path);
        if (!read.error.isEmpty()) {
            TVeskApplication::ShowError(read.error);
            return;
        }
        if (!SaveChangesFirst(tr("Открытие проекта")) || !NewProject())
            return;
        mEditor->setPlainText(QString::fromStdU16String(read.text));
        mEditor->document()->setModified(false);
    });
}
