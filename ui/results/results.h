// The results window: every cell of a finished run, sortable, savable.
#pragma once

#include <QDialog>
#include <QString>
#include <cstdint>
#include <vector>

#include "formats/results.h"
#include "ui/results/resultsmodel.h"

class QFileDialog;
class QLabel;
class QPushButton;
class QTreeView;

// Sort state shared by every results window; each new window resets it.
extern std::int32_t SortColumn; // column last used for sorting
extern std::int32_t SortOrder;  // +1 ascending, -1 descending

// The list's comparison of two rows: TResultsModel::CompareRows multiplied by SortOrder.
[[nodiscard]] int CompareItems(const TResultRow& a, const TResultRow& b, int column);

class TfResults : public QDialog {
    Q_OBJECT
public:
    explicit TfResults(QWidget* parent = nullptr);

    // Filled by the main window's finish handler before the window is shown.
    void AddRow(const TResultRow& row);
    void AddRows(std::vector<TResultRow> rows); // many at once, in one insertion
    void SetTimeText(const QString& text);
    void SetStepsCount(std::uint64_t steps);
    // A line under the list says the run's cells were changed by hand.
    void SetChangedByHand(bool changed);

    // Rows in the order the list shows them now.
    [[nodiscard]] std::vector<TResultRow> Rows() const;

    // Writes the rows as the list shows them to fileName, replacing it whole or
    // not at all; throws std::runtime_error naming the file and the reason.
    void SaveTo(const QString& fileName) const;

protected:
    void resizeEvent(QResizeEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

private slots:
    void lVariablesListColumnClick(int column);
    void bSaveButtonClick();

private:
    void FormCreate();
    void CreateLabels();
    // Where a value goes after its caption, placed at russianX in Russian.
    [[nodiscard]] static int ValueX(const QLabel* caption, const char* russian, int russianX);
    void CreateList();
    void CreateButtons();
    void CreateSaveDialog();
    void PlaceAnchoredControls();
    void KeepMinimumWidth(int section, int newSize);
    void SortRows(int column);

    QLabel* lSuccesLabel = nullptr;
    QLabel* sLabel1 = nullptr;
    QLabel* lTime = nullptr;
    QLabel* sLabel2 = nullptr;
    QLabel* lStepsCount = nullptr;
    QLabel* lVariablesLabel = nullptr;
    QTreeView* lVariablesList = nullptr;
    TResultsModel* _rows = nullptr;
    QLabel* lByHandLabel = nullptr;
    QPushButton* bSaveButton = nullptr;
    QPushButton* bCloseButton = nullptr;
    QFileDialog* dSaveDialog = nullptr;
    QString _lastFileName = QStringLiteral("results");
};
