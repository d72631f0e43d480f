// The dock «Ячейки»: the cells of the run with a filter by address, and the
// address and loop stacks.
#pragma once

#include <QDockWidget>
#include <QStringList>

class QAction;
class QLineEdit;
class QListWidget;
class QSortFilterProxyModel;
class QTableView;
class TCellsModel;

class TCellsPanel final : public QDockWidget {
    Q_OBJECT
public:
    explicit TCellsPanel(QWidget* parent = nullptr);

    [[nodiscard]] TCellsModel& Model() { return *_model; }

    // Stack entries as they are to be read, the top first.
    void SetStacks(const QStringList& addressStack, const QStringList& loopStack);
    // Scrolls the current cell into view, when the filter lets it show.
    void ShowCurrentCell();
    // The address of the selected cell as the table shows it, empty for none.
    [[nodiscard]] QString SelectedAddress() const;
    // A command on the selected cell, offered in the table's context menu.
    void AddCellAction(QAction* action);

    // The parts that the keyboard reaches by their own commands.
    [[nodiscard]] QWidget* Filter() const;
    [[nodiscard]] QWidget* AddressStack() const;
    [[nodiscard]] QWidget* LoopStack() const;
    // The width at which every column of the cells shows whole.
    [[nodiscard]] int WholeColumnsWidth() const;

private:
    void BuildCells(QWidget* parent);
    void BuildStacks(QWidget* parent);

    TCellsModel* _model = nullptr;
    QSortFilterProxyModel* _filtered = nullptr;
    QLineEdit* mCellsFilter = nullptr;
    QTableView* lCellsTable = nullptr;
    QListWidget* lAddressStack = nullptr;
    QListWidget* lLoopStack = nullptr;
};
