// TfMain: stepping over and out of loops and blocks, and watchpoints on cells.
#include "ui/mainwindow/main.h"

#include <QCheckBox>
#include <QDialog>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QLineEdit>
#include <QMenu>
#include <QMessageBox>

#include "ui/debugger/cellspanel.h"
#include "ui/model/runcontroller.h"

namespace {

[[nodiscard]] QString Hex2(int value) { return QStringLiteral("%1").arg(value, 2, 16, QChar(u'0')).toUpper(); }

[[nodiscard]] QString CellName(std::int32_t code)
{
    return QStringLiteral("%1").arg(code, 4, 16, QChar(u'0')).toUpper();
}

} // namespace

void TfMain::BuildWatchMenus(QMenu* projectMenu)
{
    const THandler project = &TfMain::nProjectItemClick;
    AddSeparator(projectMenu, "nSeparator9");
    AddItem(projectMenu, "nStepOverItem", tr("Шаг с &обходом"), QKeySequence(Qt::CTRL | Qt::Key_F8),
            &TfMain::nStepOverItemClick, project);
    AddItem(projectMenu, "nStepOutItem", tr("Шаг с в&ыходом"), QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_F8),
            &TfMain::nStepOutItemClick, project);
    AddItem(projectMenu, "nWatchItem", tr("Точка &наблюдения..."), QKeySequence(Qt::CTRL | Qt::Key_F5),
            &TfMain::nWatchItemClick, project);
    nWatchListMenu = projectMenu->addMenu(tr("Точки наблю&дения"));
    nWatchListMenu->setObjectName(QStringLiteral("nWatchListMenu"));
    nWatchListMenu->menuAction()->setObjectName(QStringLiteral("nWatchListItem"));
    connect(nWatchListMenu, &QMenu::aboutToShow, this, &TfMain::FillWatchList);
}

void TfMain::nStepOverItemClick()
{
    mEditor->setFocus();
    _run->StepOver();
}

void TfMain::nStepOutItemClick()
{
    mEditor->setFocus();
    _run->StepOut();
}

void TfMain::nWatchItemClick() { AddWatchpoint(QString()); }

void TfMain::nCellWatchItemClick() { AddWatchpoint(pCellsPanel->SelectedAddress()); }

void TfMain::AddWatchpoint(const QString& shownAddress)
{
    QDialog dialog(this);
    dialog.setWindowTitle(tr("Точка наблюдения"));
    auto* layout = new QFormLayout(&dialog);
    auto* address = new QLineEdit(&dialog);
    address->setObjectName(QStringLiteral("mWatchAddress"));
    address->setMaxLength(4);
    // The panel shows addresses with their "$".
    address->setText(shownAddress.startsWith(u'$') ? shownAddress.mid(1) : shownAddress);
    layout->addRow(tr("Адрес ячейки:"), address);
    struct TKindBox {
        TWatchKind kind;
        QCheckBox* box;
    };
    const TKindBox kinds[] = {
        {wkWrite, new QCheckBox(tr("запись"), &dialog)},
        {wkChange, new QCheckBox(tr("изменение значения"), &dialog)},
        {wkCreate, new QCheckBox(tr("создание"), &dialog)},
        {wkDestroy, new QCheckBox(tr("уничтожение"), &dialog)},
    };
    kinds[1].box->setChecked(true);
    for (const TKindBox& kind : kinds)
        layout->addRow(kind.box);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, &dialog);
    layout->addRow(buttons);
    // A bad address or no kind is refused at once; the dialog stays open.
    connect(buttons, &QDialogButtonBox::accepted, &dialog, [&] {
        std::uint8_t chosen = 0;
        for (const TKindBox& kind : kinds)
            chosen |= kind.box->isChecked() ? kind.kind : 0;
        if (!TWatchpoint::Make(address->text().toStdU16String(), chosen)) {
            QMessageBox::warning(&dialog, windowTitle(),
                                 tr("Укажите адрес из четырёх шестнадцатеричных цифр и хотя бы одно событие."));
            return;
        }
        dialog.accept();
    });
    connect(buttons, &QDialogButtonBox::rejected, &dialog, &QDialog::reject);
    if (dialog.exec() != QDialog::Accepted)
        return;
    std::uint8_t chosen = 0;
    for (const TKindBox& kind : kinds)
        chosen |= kind.box->isChecked() ? kind.kind : 0;
    std::vector<TWatchpoint> watchpoints = _run->Core().Watchpoints();
    watchpoints.push_back(*TWatchpoint::Make(address->text().toStdU16String(), chosen));
    _run->Core().SetWatchpoints(std::move(watchpoints));
}

void TfMain::FillWatchList()
{
    nWatchListMenu->clear();
    const std::vector<TWatchpoint>& watchpoints = _run->Core().Watchpoints();
    if (watchpoints.empty()) {
        nWatchListMenu->addAction(tr("Нет точек наблюдения"))->setEnabled(false);
        return;
    }
    for (std::size_t i = 0; i < watchpoints.size(); ++i) {
        // Choosing an entry removes it.
        nWatchListMenu->addAction(tr("Удалить %1").arg(CellName(watchpoints[i].cell)), this, [this, i] {
            std::vector<TWatchpoint> kept = _run->Core().Watchpoints();
            if (i < kept.size())
                kept.erase(kept.begin() + static_cast<std::ptrdiff_t>(i));
            _run->Core().SetWatchpoints(std::move(kept));
        });
    }
}

QString TfMain::WatchHitText(const TWatchHit& hit) const
{
    const QString cell = CellName(hit.cell);
    switch (hit.what) {
    case wkChange: return tr("Ячейка %1 изменена: %2 → %3").arg(cell, Hex2(hit.before), Hex2(hit.after));
    case wkWrite: return tr("Ячейка %1 записана: %2").arg(cell, Hex2(hit.after));
    case wkCreate: return tr("Ячейка %1 создана").arg(cell);
    case wkDestroy: return tr("Ячейка %1 уничтожена").arg(cell);
    }
    return {};
}

void TfMain::ShowPauseCause()
{
    const TVeskCore& core = _run->Core();
    if (core.LastPauseCause() == TVeskCore::TPauseCause::pcWatchpoint)
        ShowRunState(WatchHitText(core.LastWatchHit()));
}
