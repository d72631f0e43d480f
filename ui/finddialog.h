// The modeless find dialog: a text of at most 255 characters, a match-case box
// and a Find Next button. It only asks; the main window searches.
#pragma once

#include <QDialog>

class QCheckBox;
class QLineEdit;
class QPushButton;

class TFindDialog : public QDialog {
    Q_OBJECT
public:
    explicit TFindDialog(QWidget* parent = nullptr);

    [[nodiscard]] QString FindText() const;
    [[nodiscard]] bool MatchCase() const;

signals:
    // Find Next was pressed (never with an empty text).
    void Find();
};
