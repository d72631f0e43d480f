// The rows of the results list, held as values: every cell of a finished run
// in creation order, and the order in which the list shows them.
#pragma once

#include <QAbstractTableModel>
#include <vector>

#include "formats/results.h"

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

    [[nodiscard]] int rowCount(const QModelIndex& parent = {}) const override;
    [[nodiscard]] int columnCount(const QModelIndex& parent = {}) const override;
    [[nodiscard]] QVariant data(const QModelIndex& index, int role) const override;
    [[nodiscard]] QVariant headerData(int section, Qt::Orientation orientation,
                                      int role) const override;
    [[nodiscard]] Qt::ItemFlags flags(const QModelIndex& index) const override;

private:
    std::vector<TResultRow> _rows;
    std::vector<int> _order;
};
