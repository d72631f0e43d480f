#include "profilejson.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

QByteArray ProfileJson(const TRunOutcome& outcome)
{
    QJsonArray lines;
    const std::vector<std::uint64_t> none;
    const std::vector<std::uint64_t>& steps = outcome.lineSteps ? *outcome.lineSteps : none;
    for (std::size_t i = 0; i < steps.size(); ++i) {
        lines.append(QJsonObject{{QStringLiteral("line"), static_cast<qint64>(i) + 1},
                                 {QStringLiteral("steps"), static_cast<qint64>(steps[i])}});
    }
    QJsonArray cells;
    for (const auto& [code, writes] : outcome.cellWrites) {
        cells.append(QJsonObject{
            {QStringLiteral("cell"), QStringLiteral("%1").arg(code, 4, 16, QChar(u'0')).toUpper()},
            {QStringLiteral("writes"), static_cast<qint64>(writes)}});
    }
    const QJsonObject root{{QStringLiteral("steps"), static_cast<qint64>(outcome.steps)},
                           {QStringLiteral("lines"), lines},
                           {QStringLiteral("cells"), cells}};
    return QJsonDocument(root).toJson(QJsonDocument::Compact) + '\n';
}
