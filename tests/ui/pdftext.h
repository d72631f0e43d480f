// Reads a printed PDF back with the poppler tools, whose paths the build found:
// its text, its document information and the numbered lines of a printed program.
#pragma once

#include <QList>
#include <QPair>
#include <QProcess>
#include <QRegularExpression>
#include <QSizeF>
#include <QString>
#include <QStringList>

// What the tool wrote to its standard output; empty when it failed.
inline QString RunTool(const QString& program, const QStringList& arguments)
{
    QProcess process;
    process.start(program, arguments);
    if (!process.waitForFinished(60000) || process.exitCode() != 0)
        return {};
    return QString::fromUtf8(process.readAllStandardOutput());
}

inline QString PdfText(const QString& path, const QString& mode = QStringLiteral("-layout"))
{
    return RunTool(QStringLiteral(VESK_PDFTOTEXT), {mode, path, QStringLiteral("-")});
}

// One field of pdfinfo's report, e.g. "Title" or "Pages".
inline QString PdfInfo(const QString& path, const QString& field)
{
    for (const QString& line : RunTool(QStringLiteral(VESK_PDFINFO), {path}).split(u'\n')) {
        if (line.startsWith(field + u':'))
            return line.mid(field.size() + 1).trimmed();
    }
    return {};
}

// The first page's size in points, as pdfinfo reports it ("595 x 842").
inline QSizeF PdfPageSize(const QString& path)
{
    static const QRegularExpression size(QStringLiteral("^([0-9.]+) x ([0-9.]+)"));
    const QRegularExpressionMatch match = size.match(PdfInfo(path, QStringLiteral("Page size")));
    if (!match.hasMatch())
        return {};
    return {match.captured(1).toDouble(), match.captured(2).toDouble()};
}

// Printed lines as (number, text) pairs; continuation lines of a wrapped
// paragraph have no number and are returned with number 0.
inline QList<QPair<int, QString>> NumberedLines(const QString& text)
{
    static const QRegularExpression numbered(QStringLiteral("^\\s*(\\d+)\\s+(\\S.*)$"));
    QList<QPair<int, QString>> result;
    for (const QString& line : text.split(u'\n')) {
        const QString trimmed = line.trimmed().remove(u'\f');
        if (trimmed.isEmpty())
            continue;
        const QRegularExpressionMatch match = numbered.match(line);
        if (match.hasMatch())
            result.append({match.captured(1).toInt(), match.captured(2).trimmed()});
        else
            result.append({0, trimmed});
    }
    return result;
}
