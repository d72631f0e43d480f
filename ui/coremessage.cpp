#include "coremessage.h"

#include <QCoreApplication>
#include <iterator>

namespace {

// Every fixed message of the core, as it words them.
constexpr const char* kMessages[] = {
    QT_TRANSLATE_NOOP("CoreMessage", "Неизвестный символ."),
    QT_TRANSLATE_NOOP("CoreMessage", "Неверное сочетание программных скобок."),
    QT_TRANSLATE_NOOP("CoreMessage", "Неизвестное исключение."),
    QT_TRANSLATE_NOOP("CoreMessage", "Неверно указан адрес ячейки."),
    QT_TRANSLATE_NOOP("CoreMessage", "Потерян адрес обрабатываемой ячейки."),
    QT_TRANSLATE_NOOP("CoreMessage", "Не обнаружена ячейка для пересылки."),
    QT_TRANSLATE_NOOP("CoreMessage", "Не обнаружена ячейка для уничтожения."),
    QT_TRANSLATE_NOOP("CoreMessage", "Не обнаружена ячейка для выполнения действия."),
    QT_TRANSLATE_NOOP("CoreMessage", "Не обнаружена ячейка для сравнения."),
    QT_TRANSLATE_NOOP("CoreMessage", "Ошибка при доступе к памяти."),
    QT_TRANSLATE_NOOP("CoreMessage", "Использование числовых данных без операторов"),
    QT_TRANSLATE_NOOP("CoreMessage", "Обращение к адресу без использования операторов."),
    QT_TRANSLATE_NOOP("CoreMessage", "Потеряно начало цикла."),
    QT_TRANSLATE_NOOP("CoreMessage",
                      "Использование символа деления ветвей вне блока обработки условия."),
    QT_TRANSLATE_NOOP("CoreMessage", "Потеряна закрывающая скобка ветви обработки условия."),
    QT_TRANSLATE_NOOP("CoreMessage", "Не найден блок обработки условия."),
};

// The one message that carries a part of the program: the number it could not read.
constexpr std::u16string_view kNumberHead = u"Невозможно распознать число '";
constexpr std::u16string_view kNumberTail = u"'.";

} // namespace

QString CoreMessageText(std::u16string_view message)
{
    const QString text = QString::fromStdU16String(std::u16string(message));
    for (const char* known : kMessages) {
        if (text == QString::fromUtf8(known))
            return QCoreApplication::translate("CoreMessage", known);
    }
    if (message.size() >= kNumberHead.size() + kNumberTail.size() &&
        message.starts_with(kNumberHead) && message.ends_with(kNumberTail)) {
        const std::u16string_view number = message.substr(
            kNumberHead.size(), message.size() - kNumberHead.size() - kNumberTail.size());
        return QCoreApplication::translate("CoreMessage",
                                           "Невозможно распознать число '%1'.")
            .arg(QString::fromStdU16String(std::u16string(number)));
    }
    return text;
}
