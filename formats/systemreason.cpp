#include "formats/systemreason.h"

#include <QDir>

#include <system_error>

QString SystemReason(int error)
{
    return QString::fromLocal8Bit(std::generic_category().message(error));
}

QString FileFailureText(const QString& pattern, const QString& path, const QString& reason)
{
    QString text = pattern.arg(QDir::toNativeSeparators(path), reason);
    if (!text.endsWith(u'.'))
        text += u'.';
    return text;
}
