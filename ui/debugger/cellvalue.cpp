#include "ui/debugger/cellvalue.h"

#include <cctype>

std::optional<std::uint8_t> ParseCellValue(const QString& text)
{
    QString digits = text.trimmed();
    int base = 10;
    if (digits.startsWith(u'$')) {
        base = 16;
        digits.remove(0, 1);
    } else if (digits.startsWith(QLatin1String("0x"), Qt::CaseInsensitive)) {
        base = 16;
        digits.remove(0, 2);
    } else if (digits.startsWith(QLatin1String("0b"), Qt::CaseInsensitive)) {
        base = 2;
        digits.remove(0, 2);
    }
    // QString::toUInt would take a sign or inner blanks: only digits of the base pass.
    if (digits.isEmpty())
        return std::nullopt;
    for (const QChar c : digits) {
        const bool digit = base == 16 ? c.unicode() < 128 && std::isxdigit(c.unicode()) != 0
                                      : c >= u'0' && c < QChar(u'0' + base);
        if (!digit)
            return std::nullopt;
    }
    bool ok = false;
    const uint value = digits.toUInt(&ok, base);
    if (!ok || value > 255)
        return std::nullopt;
    return static_cast<std::uint8_t>(value);
}
