#include "ui/debugger/cellspanel.h"

#include <QAction>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QSortFilterProxyModel>
#include <QSplitter>
#include <QStyle>
#include <QTableView>
#include <QVBoxLayout>

#include "ui/debugger/cellsmodel.h"

namespace {

QWidget* Titled(const QString& title, QWidget* content, QWidget* parent)
{
    auto* box = new QWidget(parent);
    auto* column = new QVBoxLayout(box);
    column->setContentsMargins(0, 0, 0, 0);
    column->setSpacing(2);
    column->addWidget(new QLabel(title, box));
    column->addWidget(content, 1);
    return box;
}

// The lists are refreshed many times a second: items are kept and only texts
// that differ are set, so an unchanged list costs no repaint.
void SetItems(QListWidget* list, const QStringList& items)
{
    while (list->count() > items.size())
        delete list->takeItem(list->count() - 1);
    for (int i = 0; i < items.size(); ++i) {
        if (i < list->count()) {
            QListWidgetItem* item = list->item(i);
            if (item->text() != items[i])
                item->setText(items[i]);
        } else {
            list->addItem(items[i]);
        }
    }
}

} // namespace

TCellsPanel::TCellsPanel(QWidget* parent) : QDockWidget(tr("Ячейки"), parent)
{
    setObjectName(QStringLiteral("pCellsPanel"));
    auto* splitter = new QSplitter(Qt::Vertical, this);
    BuildCells(splitter);
    BuildStacks(splitter);
    splitter->setStretchFactor(0, 3);
    splitter->setStretchFactor(1, 1);
    setWidget(splitter);
}

void TCellsPanel::BuildCells(QWidget* parent)
{
    auto* box = new QWidget(parent);
    auto* column = new QVBoxLayout(box);
    column->setContentsMargins(2, 2, 2, 2);
    mCellsFilter = new QLineEdit(box);
    mCellsFilter->setObjectName(QStringLiteral("mCellsFilter"));
    mCellsFilter->setPlaceholderText(tr("Фильтр по адресу"));
    mCellsFilter->setClearButtonEnabled(true);

    _model = new TCellsModel(this);
    _filtered = new QSortFilterProxyModel(this);
    _filtered->setSourceModel(_model);
    _filtered->setFilterKeyColumn(TCellsModel::cAddress);
    _filtered->setFilterCaseSensitivity(Qt::CaseInsensitive);
    // A row's address never changes (a destroyed cell resets the model), so
    // changed values need no new filtering.
    _filtered->setDynamicSortFilter(false);
    connect(mCellsFilter, &QLineEdit::textChanged, _filtered,
            &QSortFilterProxyModel::setFilterFixedString);

    lCellsTable = new QTableView(box);
    lCellsTable->setObjectName(QStringLiteral("lCellsTable"));
    lCellsTable->setModel(_filtered);
    lCellsTable->setSelectionBehavior(QAbstractItemView::SelectRows);
    lCellsTable->setEditTriggers(QAbstractItemView::NoEditTriggers);
    lCellsTable->verticalHeader()->hide();
    // Fixed row heights: the view never measures 65,536 rows.
    lCellsTable->verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    lCellsTable->verticalHeader()->setDefaultSectionSize(fontMetrics().height() + 4);
    lCellsTable->horizontalHeader()->setSectionResizeMode(QHeaderView::Interactive);
    lCellsTable->horizontalHeader()->setStretchLastSection(true);
    const int widths[] = {60, 78, 36, 70, 46};
    for (int i = 0; i < TCellsModel::cColumns; ++i)
        lCellsTable->setColumnWidth(i, widths[i]);
    column->addWidget(mCellsFilter);
    column->addWidget(lCellsTable, 1);
}

void TCellsPanel::BuildStacks(QWidget* parent)
{
    auto* box = new QWidget(parent);
    auto* row = new QHBoxLayout(box);
    row->setContentsMargins(2, 2, 2, 2);
    lAddressStack = new QListWidget(box);
    lAddressStack->setObjectName(QStringLiteral("lAddressStack"));
    lLoopStack = new QListWidget(box);
    lLoopStack->setObjectName(QStringLiteral("lLoopStack"));
    row->addWidget(Titled(tr("Стек адресов"), lAddressStack, box), 1);
    row->addWidget(Titled(tr("Стек циклов"), lLoopStack, box), 2);
    // The lists' own size hints would share the width out unevenly.
    for (auto* list : {lAddressStack, lLoopStack})
        list->setMinimumWidth(40);
    lAddressStack->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Expanding);
    lLoopStack->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Expanding);
}

void TCellsPanel::SetStacks(const QStringList& addressStack, const QStringList& loopStack)
{
    SetItems(lAddressStack, addressStack);
    SetItems(lLoopStack, loopStack);
}

int TCellsPanel::WholeColumnsWidth() const
{
    int columns = 0;
    for (int i = 0; i < TCellsModel::cColumns; ++i)
        columns += lCellsTable->horizontalHeader()->sectionSize(i);
    // The table's frame and scroll bar, the box's margins and the dock's frame.
    const int table = columns + 2 * lCellsTable->frameWidth() +
                      style()->pixelMetric(QStyle::PM_ScrollBarExtent);
    return table + 4 + 2 * style()->pixelMetric(QStyle::PM_DockWidgetFrameWidth) + 8;
}

QWidget* TCellsPanel::Filter() const { return mCellsFilter; }

QWidget* TCellsPanel::AddressStack() const { return lAddressStack; }

QWidget* TCellsPanel::LoopStack() const { return lLoopStack; }

void TCellsPanel::ShowCurrentCell()
{
    const int row = _model->CurrentRow();
    if (row < 0)
        return;
    const QModelIndex shown = _filtered->mapFromSource(_model->index(row, 0));
    if (shown.isValid())
        lCellsTable->scrollTo(shown);
}

QString TCellsPanel::SelectedAddress() const
{
    const QModelIndexList rows = lCellsTable->selectionModel()->selectedRows(TCellsModel::cAddress);
    return rows.isEmpty() ? QString() : rows.first().data().toString();
}

void TCellsPanel::AddCellAction(QAction* action)
{
    lCellsTable->setContextMenuPolicy(Qt::ActionsContextMenu);
    lCellsTable->addAction(action);
}
