// The rows of the results list, held as values: every cell of a finished run
// in creation order, and the order in which the list shows them.
#pragma once

#include <QAbstractTableModel>
#include <QString>
#include <cstdint>
#include <vector>

#include "formats/results.h"

// The list's one fixed collation, whatever the process locale says; it orders
// as the usual Russian and English locales do. First without regard to letter
// case, other characters before digits before letters; texts equal so far are
// decided by their first difference in case, lower case first.
[[nodiscard]] int CompareTexts(const QString& a, const QString& b);

class TResultsModel final : public QAbstractTableModel {
    Q_OBJECT
public:
    // Address, base 2, base 16, character.
    static constexpr int kColumnCount = 4;

    explicit TResultsModel(QObject* parent = nullptr);

    // Appends rows below the shown ones, in one insertion.
    void Append(std::vector<TResultRow> rows);
    // The rows in creation order.
    [[nodiscard]] const std::vector<TResultRow>& Rows() const { return _rows; }
    // The rows in the order shown.
    [[nodiscard]] std::vector<TResultRow> ShownRows() const;
    // Creation index of the row shown at each place of the list.
    [[nodiscard]] const std::vector<int>& Order() const { return _order; }

    // Shows the rows in a new order, a permutation of the creation indices.
    // The current row and the selection follow their rows.
    void SetOrder(std::vector<int> order);

    // Compares two rows by CompareTexts: column 0 by the addresses, any other
    // column by the base-2 texts.
    [[nodiscard]] static int CompareRows(const TResultRow& a, const TResultRow& b, int column);
    // Sorts the shown order by a column, ascending for a positive `order` and
    // descending for a negative one; equal rows keep their places.
    void Sort(int column, int order);

    [[nodiscard]] int rowCount(const QModelIndex& parent = {}) const override;
    [[nodiscard]] int columnCount(const QModelIndex& parent = {}) const override;
    [[nodiscard]] QVariant data(const QModelIndex& index, int role) const override;
    [[nodiscard]] QVariant headerData(int section, Qt::Orientation orientation,
                                      int role) const override;
    [[nodiscard]] Qt::ItemFlags flags(const QModelIndex& index) const override;

private:
    std::vector<TResultRow> _rows;
    std::vector<int> _order;
    // Packed sort keys by creation index, while every row has them: a sort of
    // many rows then compares plain numbers.
    std::vector<std::uint64_t> _addressKeys;
    std::vector<std::uint64_t> _binaryKeys;
    bool _packed = true;
};
