// TfMain: changing a cell of the paused run by hand, from the cells panel. It
// is a debugging act outside the program: the run's later history is dropped
// and its results say so; the project file is not touched.
#include "ui/mainwindow/main.h"

#include <QAction>
#include <QDialog>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QLineEdit>
#include <QMessageBox>
#include <QStatusBar>

#include "core/cellmemory.h"
#include "ui/debugger/cellspanel.h"
#include "ui/debugger/cellvalue.h"
#include "ui/debugger/debugger.h"
#include "ui/debugger/timetravel.h"
#include "ui/model/runcontroller.h"

void TfMain::BuildCellEditActions()
{
    auto* change = new QAction(tr("Изменить значение ячейки..."), pCellsPanel);
    change->setObjectName(QStringLiteral("nCellValueItem"));
    connect(change, &QAction::triggered, this, &TfMain::nCellValueItemClick);
    pCellsPanel->AddCellAction(change);
    auto* add = new QAction(tr("Добавить ячейку..."), pCellsPanel);
    add->setObjectName(QStringLiteral("nAddCellItem"));
    connect(add, &QAction::triggered, this, &TfMain::nAddCellItemClick);
    pCellsPanel->AddCellAction(add);
    auto* watch = new QAction(tr("Точка наблюдения..."), pCellsPanel);
    watch->setObjectName(QStringLiteral("nCellWatchItem"));
    connect(watch, &QAction::triggered, this, &TfMain::nCellWatchItemClick);
    pCellsPanel->AddCellAction(watch);
}

void TfMain::nCellValueItemClick() { EditCellByHand(pCellsPanel->SelectedAddress()); }

void TfMain::nAddCellItemClick() { EditCellByHand(QString()); }

void TfMain::EditCellByHand(const QString& shownAddress)
{
    if (_run->State() != TRunState::rsPaused) {
        QMessageBox::information(this, windowTitle(), tr("Ячейки можно изменять, только пока выполнение приостановлено."));
        return;
    }
    // The panel shows addresses with their "$".
    QString address = shownAddress;
    if (address.startsWith(u'$'))
        address.remove(0, 1);

    QDialog dialog(this);
    dialog.setWindowTitle(tr("Значение ячейки"));
    auto* layout = new QFormLayout(&dialog);
    auto* addressEdit = new QLineEdit(address, &dialog);
    addressEdit->setObjectName(QStringLiteral("mCellAddress"));
    addressEdit->setMaxLength(4);
    layout->addRow(tr("Адрес ячейки:"), addressEdit);
    auto* valueEdit = new QLineEdit(&dialog);
    valueEdit->setObjectName(QStringLiteral("mCellValue"));
    valueEdit->setPlaceholderText(tr("31, 0x1F, $1F или 0b11111"));
    layout->addRow(tr("Значение:"), valueEdit);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, &dialog);
    layout->addRow(buttons);
    (address.isEmpty() ? addressEdit : valueEdit)->setFocus();
    // A bad address or value is refused at once; the dialog stays open.
    connect(buttons, &QDialogButtonBox::accepted, &dialog, [&] {
        if (TCellMemory::CodeOf(addressEdit->text().toStdU16String()) < 0) {
            QMessageBox::warning(&dialog, windowTitle(), tr("Укажите адрес из четырёх шестнадцатеричных цифр."));
            return;
        }
        if (!ParseCellValue(valueEdit->text())) {
            QMessageBox::warning(&dialog, windowTitle(),
                                 tr("Значение должно быть числом от 0 до 255: десятичным, шестнадцатеричным "
                                    "(0x1F или $1F) или двоичным (0b11111)."));
            return;
        }
        dialog.accept();
    });
    connect(buttons, &QDialogButtonBox::rejected, &dialog, &QDialog::reject);
    if (dialog.exec() != QDialog::Accepted)
        return;

    const std::u16string name = addressEdit->text().toStdU16String();
    if (!_run->SetCellByHand(addressEdit->text(), *ParseCellValue(valueEdit->text())))
        return;
    // What came after this moment was computed from the old value.
    const std::uint64_t dropped = _travel->History().Branch(_run->Core(), {TCellMemory::CodeOf(name)});
    _debugger->ShowMoment();
    _travel->RunPaused(); // the timeline ends at this moment now
    statusBar()->showMessage(dropped > 0 ? tr("Ячейка изменена вручную: дальнейшая история отброшена")
                                         : tr("Ячейка изменена вручную"),
                             10000);
}
