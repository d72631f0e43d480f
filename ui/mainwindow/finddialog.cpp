#include "ui/mainwindow/finddialog.h"

#include <QCheckBox>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

TFindDialog::TFindDialog(QWidget* parent) : QDialog(parent)
{
    setWindowTitle(tr("Поиск"));
    setModal(false);

    auto* label = new QLabel(tr("Что:"), this);
    eFindText = new QLineEdit(this);
    eFindText->setObjectName(QStringLiteral("eFindText"));
    eFindText->setMaxLength(255);
    label->setBuddy(eFindText);
    cbMatchCase = new QCheckBox(tr("С учётом регистра"), this);
    cbMatchCase->setObjectName(QStringLiteral("cbMatchCase"));
    bFindNext = new QPushButton(tr("Найти далее"), this);
    bFindNext->setObjectName(QStringLiteral("bFindNext"));
    bFindNext->setDefault(true);
    bFindNext->setEnabled(false);
    bCloseButton = new QPushButton(tr("Закрыть"), this);
    bCloseButton->setObjectName(QStringLiteral("bCloseButton"));
    bCloseButton->setAutoDefault(false);

    auto* layout = new QGridLayout(this);
    layout->addWidget(label, 0, 0);
    layout->addWidget(eFindText, 0, 1);
    layout->addWidget(bFindNext, 0, 2);
    layout->addWidget(cbMatchCase, 1, 0, 1, 2);
    layout->addWidget(bCloseButton, 1, 2);
    layout->setColumnStretch(1, 1);

    connect(eFindText, &QLineEdit::textChanged, this,
            [this](const QString& text) { bFindNext->setEnabled(!text.isEmpty()); });
    connect(bFindNext, &QPushButton::clicked, this, &TFindDialog::FindNextClick);
    connect(bCloseButton, &QPushButton::clicked, this, &QDialog::hide);
}

QString TFindDialog::FindText() const
{
    return eFindText->text();
}

bool TFindDialog::MatchCase() const
{
    return cbMatchCase->isChecked();
}

void TFindDialog::ShowOrRaise()
{
    show();
    raise();
    activateWindow();
    eFindText->setFocus();
    eFindText->selectAll();
}

void TFindDialog::FindNextClick()
{
    if (!eFindText->text().isEmpty())
        emit Find();
}
