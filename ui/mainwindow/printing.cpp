#include "ui/mainwindow/printing.h"

#include <QAbstractTextDocumentLayout>
#include <QCoreApplication>
#include <QFont>
#include <QFontMetricsF>
#include <QPainter>
#include <QPrinter>
#include <QTextBlockFormat>
#include <QTextBlock>
#include <QTextCharFormat>
#include <QTextCursor>
#include <QTextDocument>
#include <QTextLayout>
#include <QTextOption>
#include <cmath>
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

// The page a laid-out line belongs to. The layout moves a line that would
// cross a page's bottom to the next page, so the line lies wholly on one page;
// its middle decides, safe from rounding at the page's edges.
int PageOfLine(qreal top, qreal height, qreal pageHeight)
{
    return int(std::floor((top + height / 2) / pageHeight));
}

// Paints every line on exactly one page. Painting the document one page-high
// slice at a time would repeat a paragraph that the layout pushed down to the
// next page, since its block still starts inside the earlier slice: the clip
// hides the copy on screen, but a PDF keeps both.
void PaintPages(QTextDocument& document, QPainter& painter, QPrinter& printer)
{
    const qreal pageHeight = document.pageSize().height();
    document.pageCount(); // lays the whole document out
    painter.setPen(Qt::black);
    int page = 0;
    for (QTextBlock block = document.begin(); block.isValid(); block = block.next()) {
        const QTextLayout* layout = block.layout();
        const QPointF origin = layout->position();
        for (int i = 0; i < layout->lineCount(); ++i) {
            const QTextLine line = layout->lineAt(i);
            const int linePage = PageOfLine(origin.y() + line.y(), line.height(), pageHeight);
            for (; page < linePage; ++page) {
                if (!printer.newPage())
                    throw PrintFailure(
                        QT_TRANSLATE_NOOP("PrintProgram", "Не удалось начать новую страницу печати."));
            }
            line.draw(&painter, QPointF(origin.x(), origin.y() - page * pageHeight));
        }
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
