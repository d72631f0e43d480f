#include "runreport.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

#include <limits>

namespace {

[[nodiscard]] QString ToQString(std::u16string_view text)
{
    return QString::fromUtf16(text.data(), static_cast<qsizetype>(text.size()));
}

[[nodiscard]] QString StepsString(std::uint64_t steps) { return QString::number(steps); }

// JSON numbers are doubles to most readers; a count that a signed 64-bit
// integer holds is written exactly.
[[nodiscard]] QJsonValue StepsValue(std::uint64_t steps)
{
    if (steps <= static_cast<std::uint64_t>(std::numeric_limits<qint64>::max()))
        return QJsonValue(static_cast<qint64>(steps));
    return QJsonValue(static_cast<double>(steps));
}

[[nodiscard]] QString StatusName(TRunStatus status)
{
    switch (status) {
    case TRunStatus::rsFinished: return QStringLiteral("finished");
    case TRunStatus::rsError: return QStringLiteral("error");
    case TRunStatus::rsLimit: return QStringLiteral("limit");
    }
    return QStringLiteral("error");
}

} // namespace

TRunReport::TRunReport(const TRunOutcome& outcome)
    : _outcome(outcome), _rows(ResultRows(outcome.names, outcome.values))
{
}

QString TRunReport::TimeString() const { return ToQString(TimeText(_outcome.days)); }

QString TRunReport::PlainResults() const
{
    QString text;
    for (const std::u16string& line : ResultsLines(_rows))
        text += ToQString(line) + u'\n';
    text += QStringLiteral("Время выполнения: ") + TimeString() + u'\n';
    text += QStringLiteral("Выполнено операторов: ") + StepsString(_outcome.steps) + u'\n';
    return text;
}

QString TRunReport::PlainError() const
{
    if (!_outcome.error)
        return {};
    return ToQString(_outcome.error->text) + u'\n';
}

QString TRunReport::PlainLimit() const
{
    return QStringLiteral("vesk-run: step limit reached after %1 steps; the program did not finish\n")
        .arg(StepsString(_outcome.steps));
}

QByteArray TRunReport::Json() const
{
    QJsonArray cells;
    for (std::size_t i = 0; i < _outcome.values.size() && i < _outcome.names.size(); ++i) {
        cells.append(QJsonObject{{QStringLiteral("name"), ToQString(_outcome.names[i])},
                                 {QStringLiteral("value"), static_cast<int>(_outcome.values[i])}});
    }
    QJsonObject root{{QStringLiteral("status"), StatusName(_outcome.status)},
                     {QStringLiteral("steps"), StepsValue(_outcome.steps)},
                     {QStringLiteral("time"), TimeString()},
                     {QStringLiteral("cells"), cells}};
    if (_outcome.status == TRunStatus::rsError && _outcome.error) {
        const TErrorReport& error = *_outcome.error;
        root.insert(QStringLiteral("error"),
                    QJsonObject{{QStringLiteral("line"), static_cast<qint64>(error.line) + 1},
                                {QStringLiteral("column"), error.column},
                                {QStringLiteral("message"), ToQString(error.message)}});
    }
    return QJsonDocument(root).toJson(QJsonDocument::Compact) + '\n';
}

QByteArray TRunReport::ResultsFile() const
{
    const std::string bytes = EncodeResultsFile(_rows);
    return QByteArray(bytes.data(), static_cast<qsizetype>(bytes.size()));
}
