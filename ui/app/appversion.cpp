#include "ui/app/appversion.h"

#include <QFile>
#include <QList>
#include <optional>

namespace {

constexpr char kTag[] = "vesk-file-version";

std::optional<quint32> ParseWord(const QByteArray& text)
{
    if (text.size() != 8)
        return std::nullopt;
    for (const char c : text) {
        const bool hex = (c >= '0' && c <= '9') || (c >= 'a' && c <= 'f') || (c >= 'A' && c <= 'F');
        if (!hex)
            return std::nullopt;
    }
    return text.toUInt(nullptr, 16);
}

QString Halves(quint32 word)
{
    return QString::number(word >> 16) + u'.' + QString::number(word & 0xFFFFu);
}

} // namespace

QString VersionTextFromResource(const QByteArray& data)
{
    const QList<QByteArray> fields = data.simplified().split(' ');
    if (fields.size() != 3 || fields[0] != kTag)
        return {};
    const std::optional<quint32> high = ParseWord(fields[1]);
    const std::optional<quint32> low = ParseWord(fields[2]);
    if (!high || !low)
        return {};
    return Halves(*high) + u'.' + Halves(*low);
}

QString GetAppVersion()
{
    QFile resource(QString::fromLatin1(kVersionResource));
    if (!resource.open(QIODevice::ReadOnly))
        return {};
    return VersionTextFromResource(resource.read(256));
}
