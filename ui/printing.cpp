#include "printing.h"

#include <QAbstractTextDocumentLayout>
#include <QCoreApplication>
#include <QFont>
#include <QFontMetricsF>
#include <QPainter>
#include <QPrinter>
#include <QTextBlockFormat>
#include <QTextCharFormat>
#include <QTextCursor>
#include <QTextDocument>
#include <QTextOption>
#include <stdexcept>

namespace {

// Tab stops every eight average characters of the print font.
constexpr int kTabStopCharacters = 8;

// Reaches the application's error handler, worded in the interface language.
std::runtime_error PrintFailure(const char* text)
{
    return std::runtime_error(QCoreApplication::translate("PrintProgram", text).toStdString());
}

void SetLayoutForPrinter(QTextDocument& document, QPrinter& printer, const QFont& font)
{
    // Laid out in the printer's own units over its whole paintable area, so no
    // margin of our own and no scaling step come between layout and page.
    document.documentLayout()->setPaintDevice(&printer);
    document.setDocumentMargin(0);
    QTextOption option = document.defaultTextOption();
    option.setWrapMode(QTextOption::WrapAtWordBoundaryOrAnywhere);
    // Tab stops are given in screen units; the layout scales them to the printer.
    option.setTabStopDistance(QFontMetricsF(font).averageCharWidth() * kTabStopCharacters);
    document.setDefaultTextOption(option);
    document.setPageSize(printer.pageRect(QPrinter::DevicePixel).size());
}

void PaintPages(QTextDocument& document, QPainter& painter, QPrinter& printer)
{
    const QSizeF page = document.pageSize();
    const int pages = document.pageCount();
    for (int i = 0; i < pages; ++i) {
        if (i > 0 && !printer.newPage())
            throw PrintFailure(
                QT_TRANSLATE_NOOP("PrintProgram", "Не удалось начать новую страницу печати."));
        const QRectF slice(0, i * page.height(), page.width(), page.height());
        painter.save();
        painter.translate(0, -slice.top());
        document.drawContents(&painter, slice);
        painter.restore();
    }
}

} // namespace

std::unique_ptr<QTextDocument> MakePrintDocument(const QStringList& lines, const QFont& font)
{
    auto document = std::make_unique<QTextDocument>();
    document->setDefaultFont(font);
    if (lines.isEmpty())
        return document;
    QTextCharFormat text;
    text.setFont(font);
    text.setForeground(Qt::black);
    QTextCursor cursor(document.get());
    cursor.setCharFormat(text);
    cursor.setBlockCharFormat(text);
    for (qsizetype i = 0; i < lines.size(); ++i) {
        if (i > 0)
            cursor.insertBlock(QTextBlockFormat(), text);
        cursor.insertText(QString::number(i + 1) + u'\t' + lines[i], text);
    }
    return document;
}

void PrintProgram(QPrinter& printer, const QStringList& lines, const QFont& font,
                  const QString& jobTitle)
{
    printer.setDocName(jobTitle);
    if (!printer.isValid())
        throw PrintFailure(QT_TRANSLATE_NOOP("PrintProgram", "Принтер недоступен."));
    std::unique_ptr<QTextDocument> document = MakePrintDocument(lines, font);
    QPainter painter;
    if (!painter.begin(&printer))
        throw PrintFailure(QT_TRANSLATE_NOOP("PrintProgram", "Не удалось начать печать."));
    SetLayoutForPrinter(*document, printer, font);
    if (!lines.isEmpty())
        PaintPages(*document, painter, printer);
    painter.end();
}
