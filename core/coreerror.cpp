#include "core/coreerror.h"

std::u16string CoreErrorText(const TCoreError& error)
{
    switch (error.code) {
    case TErrorCode::ecUnknownChar: return u"Неизвестный символ.";
    case TErrorCode::ecBadBrackets: return u"Неверное сочетание программных скобок.";
    case TErrorCode::ecUnknownFailure: return u"Неизвестное исключение.";
    case TErrorCode::ecBadAddress: return u"Неверно указан адрес ячейки.";
    case TErrorCode::ecLostCurrentAddress: return u"Потерян адрес обрабатываемой ячейки.";
    case TErrorCode::ecNoCopyTarget: return u"Не обнаружена ячейка для пересылки.";
    case TErrorCode::ecNoCellToDestroy: return u"Не обнаружена ячейка для уничтожения.";
    case TErrorCode::ecNoOperandCell: return u"Не обнаружена ячейка для выполнения действия.";
    case TErrorCode::ecNoCompareCell: return u"Не обнаружена ячейка для сравнения.";
    case TErrorCode::ecMemoryAccess: return u"Ошибка при доступе к памяти.";
    case TErrorCode::ecBareNumber: return u"Использование числовых данных без операторов";
    case TErrorCode::ecBareAddress: return u"Обращение к адресу без использования операторов.";
    case TErrorCode::ecLostLoopStart: return u"Потеряно начало цикла.";
    case TErrorCode::ecColonOutsideBlock:
        return u"Использование символа деления ветвей вне блока обработки условия.";
    case TErrorCode::ecLostBlockEnd: return u"Потеряна закрывающая скобка ветви обработки условия.";
    case TErrorCode::ecNoConditionBlock: return u"Не найден блок обработки условия.";
    case TErrorCode::ecBadNumber: return u"Невозможно распознать число '" + error.operand + u"'.";
    }
    return u"Неизвестное исключение.";
}
