#include "ui/app/coremessage.h"

#include <QCoreApplication>

// The Russian source texts are the core's own words, so the Russian interface
// shows exactly what the runner prints.
QString CoreMessageText(const TCoreError& error)
{
    switch (error.code) {
    case TErrorCode::ecUnknownChar:
        return QCoreApplication::translate("CoreMessage", "Неизвестный символ.");
    case TErrorCode::ecBadBrackets:
        return QCoreApplication::translate("CoreMessage", "Неверное сочетание программных скобок.");
    case TErrorCode::ecUnknownFailure:
        return QCoreApplication::translate("CoreMessage", "Неизвестное исключение.");
    case TErrorCode::ecBadAddress:
        return QCoreApplication::translate("CoreMessage", "Неверно указан адрес ячейки.");
    case TErrorCode::ecLostCurrentAddress:
        return QCoreApplication::translate("CoreMessage", "Потерян адрес обрабатываемой ячейки.");
    case TErrorCode::ecNoCopyTarget:
        return QCoreApplication::translate("CoreMessage", "Не обнаружена ячейка для пересылки.");
    case TErrorCode::ecNoCellToDestroy:
        return QCoreApplication::translate("CoreMessage", "Не обнаружена ячейка для уничтожения.");
    case TErrorCode::ecNoOperandCell:
        return QCoreApplication::translate("CoreMessage", "Не обнаружена ячейка для выполнения действия.");
    case TErrorCode::ecNoCompareCell:
        return QCoreApplication::translate("CoreMessage", "Не обнаружена ячейка для сравнения.");
    case TErrorCode::ecMemoryAccess:
        return QCoreApplication::translate("CoreMessage", "Ошибка при доступе к памяти.");
    case TErrorCode::ecBareNumber:
        return QCoreApplication::translate("CoreMessage", "Использование числовых данных без операторов");
    case TErrorCode::ecBareAddress:
        return QCoreApplication::translate("CoreMessage", "Обращение к адресу без использования операторов.");
    case TErrorCode::ecLostLoopStart:
        return QCoreApplication::translate("CoreMessage", "Потеряно начало цикла.");
    case TErrorCode::ecColonOutsideBlock:
        return QCoreApplication::translate(
            "CoreMessage", "Использование символа деления ветвей вне блока обработки условия.");
    case TErrorCode::ecLostBlockEnd:
        return QCoreApplication::translate("CoreMessage", "Потеряна закрывающая скобка ветви обработки условия.");
    case TErrorCode::ecNoConditionBlock:
        return QCoreApplication::translate("CoreMessage", "Не найден блок обработки условия.");
    case TErrorCode::ecBadNumber:
        return QCoreApplication::translate("CoreMessage", "Невозможно распознать число '%1'.")
            .arg(QString::fromStdU16String(error.operand));
    }
    return QString::fromStdU16String(CoreErrorText(error));
}
