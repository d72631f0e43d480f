// The cells of a run as a table: one row per cell in creation order, with its
// address and its value in decimal, hexadecimal, binary and as a character.
// A refresh compares with what is shown and reports only what changed, so a
// table of 65,536 cells stays cheap to keep up to date while a program runs.
#pragma once

#include <QAbstractTableModel>
#include <cstdint>
#include <string>
#include <vector>

class TCellsModel final : public QAbstractTableModel {
    Q_OBJECT
public:
    enum TColumn { cAddress, cDecimal, cHex, cBinary, cCharacter, cColumns };
    enum TRole {
        CurrentRole = Qt::UserRole + 1, // bool: the run's current cell
        ChangedRole,                    // bool: changed since the last pause or step
    };

    explicit TCellsModel(QObject* parent = nullptr);

    // The cells as the core holds them now: names and values in creation
    // order, and the current cell's index (-1 for none).
    void Refresh(const std::vector<std::u16string>& names, const std::vector<std::uint8_t>& values,
                 int current);
    // The values shown now become the ones later refreshes compare with:
    // called at every pause and step, after the refresh that shows it.
    void SettleChanges();
    // Empties the table and forgets the compared values: a fresh run.
    void Clear();

    [[nodiscard]] int CurrentRow() const { return _current; }

    [[nodiscard]] int rowCount(const QModelIndex& parent = {}) const override;
    [[nodiscard]] int columnCount(const QModelIndex& parent = {}) const override;
    [[nodiscard]] QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    [[nodiscard]] QVariant headerData(int section, Qt::Orientation orientation,
                                      int role = Qt::DisplayRole) const override;

private:
    [[nodiscard]] bool SettledDiffers(std::size_t row, std::uint8_t value) const;
    void Rebuild(const std::vector<std::u16string>& names, const std::vector<std::uint8_t>& values,
                 std::size_t count);
    void Append(const std::vector<std::u16string>& names, const std::vector<std::uint8_t>& values,
                std::size_t from, std::size_t count);
    void EmitRows(int first, int last);

    std::vector<std::u16string> _names; // as the core holds them
    std::vector<std::int32_t> _codes;   // address code of each row's cell
    std::vector<std::uint8_t> _values;  // as shown
    std::vector<std::uint8_t> _changed; // as shown: 1 when changed
    int _current = -1;
    // The value of each address at the last pause or step; -1 where no cell was.
    std::vector<std::int16_t> _settled;
};
