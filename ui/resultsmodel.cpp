#include "resultsmodel.h"

#include <QCoreApplication>
#include <utility>

namespace {

// In the interface language, as the results window words them.
QString Header(int section)
{
    static constexpr const char* headers[TResultsModel::kColumnCount] = {
        QT_TRANSLATE_NOOP("TfResults", "Адрес"),
        QT_TRANSLATE_NOOP("TfResults", "Значение (двоичное)"),
        QT_TRANSLATE_NOOP("TfResults", "Значение (16-е)"),
        QT_TRANSLATE_NOOP("TfResults", "Символ"),
    };
    return QCoreApplication::translate("TfResults", headers[section]);
}

// What a cell of the list shows; the character U+0000 shows as nothing.
QString CellText(const TResultRow& row, int column)
{
    switch (column) {
    case 0: return QString::fromStdU16String(row.address);
    case 1: return QString::fromStdU16String(row.binary);
    case 2: return QString::fromStdU16String(row.hex);
    default: break;
    }
    if (row.character.size() == 1 && row.character[0] == u'\0')
        return {};
    return QString::fromStdU16String(row.character);
}

} // namespace

TResultsModel::TResultsModel(QObject* parent) : QAbstractTableModel(parent) {}

void TResultsModel::Append(std::vector<TResultRow> rows)
{
    if (rows.empty())
        return;
    const int first = int(_rows.size());
    beginInsertRows({}, first, first + int(rows.size()) - 1);
    if (_rows.empty())
        _rows = std::move(rows);
    else
        _rows.insert(_rows.end(), std::make_move_iterator(rows.begin()),
                     std::make_move_iterator(rows.end()));
    for (int i = first; i < int(_rows.size()); ++i)
        _order.push_back(i);
    endInsertRows();
}

std::vector<TResultRow> TResultsModel::ShownRows() const
{
    std::vector<TResultRow> rows;
    rows.reserve(_order.size());
    for (int index : _order)
        rows.push_back(_rows[std::size_t(index)]);
    return rows;
}

void TResultsModel::SetOrder(std::vector<int> order)
{
    if (order.size() != _order.size())
        return;
    emit layoutAboutToBeChanged({}, QAbstractItemModel::VerticalSortHint);
    std::vector<int> placeOf(order.size());
    for (std::size_t place = 0; place < order.size(); ++place)
        placeOf[std::size_t(order[place])] = int(place);
    const QModelIndexList before = persistentIndexList();
    QModelIndexList after;
    after.reserve(before.size());
    for (const QModelIndex& index : before) {
        const int created = _order[std::size_t(index.row())];
        after.append(this->index(placeOf[std::size_t(created)], index.column()));
    }
    _order = std::move(order);
    changePersistentIndexList(before, after);
    emit layoutChanged({}, QAbstractItemModel::VerticalSortHint);
}

int TResultsModel::rowCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : int(_rows.size());
}

int TResultsModel::columnCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : kColumnCount;
}

QVariant TResultsModel::data(const QModelIndex& index, int role) const
{
    if (role != Qt::DisplayRole || !index.isValid() || index.row() >= int(_order.size()))
        return {};
    return CellText(_rows[std::size_t(_order[std::size_t(index.row())])], index.column());
}

QVariant TResultsModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (orientation != Qt::Horizontal || role != Qt::DisplayRole || section < 0
        || section >= kColumnCount)
        return QAbstractTableModel::headerData(section, orientation, role);
    return Header(section);
}

Qt::ItemFlags TResultsModel::flags(const QModelIndex& index) const
{
    return index.isValid() ? Qt::ItemIsEnabled | Qt::ItemIsSelectable : Qt::NoItemFlags;
}
