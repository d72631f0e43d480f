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

    // Shows the dialog, or brings it to the front when it is already open.
    void ShowOrRaise();

signals:
    // Find Next was pressed (never with an empty text).
    void Find();

private:
    void FindNextClick();

    QLineEdit* eFindText = nullptr;
    QCheckBox* cbMatchCase = nullptr;
    QPushButton* bFindNext = nullptr;
    QPushButton* bCloseButton = nullptr;
};
