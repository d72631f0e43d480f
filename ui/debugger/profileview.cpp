#include "ui/debugger/profileview.h"

#include <QHeaderView>
#include <QTableWidget>
#include <QVBoxLayout>
#include <algorithm>
#include <functional>

namespace {

QTableWidget* MakeTable(const QString& what, const QString& count, QWidget* parent)
{
    auto* table = new QTableWidget(0, 2, parent);
    table->setHorizontalHeaderLabels({what, count});
    table->verticalHeader()->hide();
    table->setEditTriggers(QAbstractItemView::NoEditTriggers);
    table->setSelectionBehavior(QAbstractItemView::SelectRows);
    table->horizontalHeader()->setStretchLastSection(true);
    return table;
}

// Keeps the largest rows, largest first; equal counts in reading order.
template <typename TKey>
void Fill(QTableWidget& table, std::vector<std::pair<TKey, std::uint64_t>> rows,
          const std::function<QString(TKey)>& name)
{
    std::stable_sort(rows.begin(), rows.end(), [](const auto& a, const auto& b) { return a.second > b.second; });
    rows.resize(std::min<std::size_t>(rows.size(), TProfileView::kRows));
    table.setRowCount(int(rows.size()));
    for (int row = 0; row < int(rows.size()); ++row) {
        table.setItem(row, 0, new QTableWidgetItem(name(rows[std::size_t(row)].first)));
        auto* count = new QTableWidgetItem(QString::number(rows[std::size_t(row)].second));
        count->setTextAlignment(Qt::AlignRight | Qt::AlignVCenter);
        table.setItem(row, 1, count);
    }
}

} // namespace

TProfileView::TProfileView(QWidget* parent) : QDockWidget(tr("Профиль"), parent)
{
    setObjectName(QStringLiteral("pProfileView"));
    auto* body = new QWidget(this);
    auto* layout = new QVBoxLayout(body);
    _lines = MakeTable(tr("Строка"), tr("Шагов"), body);
    _lines->setObjectName(QStringLiteral("tProfileLines"));
    _cells = MakeTable(tr("Ячейка"), tr("Записей"), body);
    _cells->setObjectName(QStringLiteral("tProfileCells"));
    layout->addWidget(_lines);
    layout->addWidget(_cells);
    setWidget(body);
}

void TProfileView::SetProfile(const QList<quint64>& lineSteps,
                              const std::vector<std::pair<std::int32_t, std::uint64_t>>& cellWrites)
{
    std::vector<std::pair<int, std::uint64_t>> lines;
    for (int line = 0; line < lineSteps.size(); ++line) {
        if (lineSteps[line] != 0)
            lines.emplace_back(line, lineSteps[line]);
    }
    Fill<int>(*_lines, std::move(lines), [](int line) { return QString::number(line + 1); });
    Fill<std::int32_t>(*_cells, cellWrites, [](std::int32_t code) {
        return QStringLiteral("%1").arg(code, 4, 16, QLatin1Char('0')).toUpper();
    });
}
