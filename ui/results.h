// The results window: every cell of a finished run, sortable, savable.
#pragma once

#include <QDialog>
#include <cstdint>

#include "formats/results.h"

class QLabel;
class QPushButton;
class QTreeWidget;
class QTreeWidgetItem;

class TfResults : public QDialog {
    Q_OBJECT
public:
    explicit TfResults(QWidget* parent = nullptr);

    // Filled by the main window's finish handler before the window is shown.
    void AddRow(const TResultRow& row);
    void SetTimeText(const QString& text);
    void SetStepsCount(std::uint64_t steps);

    // Rows in the order the list shows them now.
    [[nodiscard]] std::vector<TResultRow> Rows() const;

private slots:
    void lVariablesListColumnClick(int column);
    void bSaveButtonClick();

private:
    void FormCreate();
    // (labels, list, buttons and the last chosen file name: the author's layout)
};
