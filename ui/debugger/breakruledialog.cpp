#include "ui/debugger/breakruledialog.h"

#include <QCoreApplication>
#include <QDialog>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QLineEdit>
#include <QMessageBox>
#include <QSpinBox>
#include <algorithm>

#include "core/breakcondition.h"

bool AskBreakpointRule(QWidget* parent, TCodeEditor::TBreakpointRule& rule)
{
    QDialog dialog(parent);
    dialog.setWindowTitle(QCoreApplication::translate("TBreakRuleDialog", "Условие точки останова"));
    auto* layout = new QFormLayout(&dialog);
    auto* condition = new QLineEdit(rule.condition, &dialog);
    condition->setObjectName(QStringLiteral("mBreakCondition"));
    condition->setPlaceholderText(QStringLiteral("$0010 ?00"));
    layout->addRow(QCoreApplication::translate("TBreakRuleDialog", "Условие (пусто: всегда):"), condition);
    auto* hits = new QSpinBox(&dialog);
    hits->setObjectName(QStringLiteral("mBreakHitCount"));
    hits->setRange(0, 1'000'000'000);
    hits->setValue(static_cast<int>(std::min<quint32>(rule.hitCount, 1'000'000'000)));
    hits->setSpecialValueText(QCoreApplication::translate("TBreakRuleDialog", "каждый раз"));
    layout->addRow(QCoreApplication::translate("TBreakRuleDialog", "Остановиться на попадании номер:"), hits);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, &dialog);
    layout->addRow(buttons);
    QObject::connect(buttons, &QDialogButtonBox::accepted, &dialog, [&] {
        const QString text = condition->text().trimmed();
        if (!text.isEmpty() && !TBreakCondition::Parse(text.toStdU16String())) {
            QMessageBox::warning(&dialog, dialog.windowTitle(),
                                 QCoreApplication::translate("TBreakRuleDialog", "Условие не распознано. Пример: $0010 ?00, $0010 ?@0011 или $0010 ??"));
            return;
        }
        dialog.accept();
    });
    QObject::connect(buttons, &QDialogButtonBox::rejected, &dialog, &QDialog::reject);
    if (dialog.exec() != QDialog::Accepted)
        return false;
    rule.condition = condition->text().trimmed();
    rule.hitCount = static_cast<quint32>(hits->value());
    return true;
}
