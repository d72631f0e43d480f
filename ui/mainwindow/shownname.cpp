#include "ui/mainwindow/shownname.h"

namespace {

[[nodiscard]] bool ReordersText(char16_t c)
{
    return c == 0x061C || c == 0x200E || c == 0x200F || (c >= 0x202A && c <= 0x202E)
           || (c >= 0x2066 && c <= 0x2069);
}

} // namespace

QString WithVisibleControls(const QString& text)
{
    QString shown;
    shown.reserve(text.size());
    for (const QChar c : text) {
        if (ReordersText(c.unicode()))
            shown += QStringLiteral("<U+%1>").arg(QString::number(c.unicode(), 16).toUpper().rightJustified(4, u'0'));
        else
            shown += c;
    }
    return shown;
}

QString ElidedInTheMiddle(const QString& text, qsizetype maxLength)
{
    if (text.size() <= maxLength || maxLength < 3)
        return text;
    qsizetype head = (maxLength - 1) / 2;
    qsizetype tailStart = text.size() - (maxLength - 1 - head);
    if (head > 0 && text[head - 1].isHighSurrogate())
        --head;
    if (tailStart < text.size() && text[tailStart].isLowSurrogate())
        ++tailStart;
    return text.left(head) + u'…' + text.mid(tailStart);
}
