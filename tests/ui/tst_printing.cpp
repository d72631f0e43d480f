// The printed program: the document's paragraphs and a real print to PDF read
// back with the poppler tools.
#include <QFontInfo>
#include <QPrinter>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTextBlock>
#include <QTextDocument>
#include <QtTest>
#include <stdexcept>

#include "pdftext.h"
#include "ui/mainwindow/printing.h"

namespace {

// A font that tools/install-deps installs, so that the line and page breaks
// are the same on every machine.
const QString kPrintFamily = QStringLiteral("Liberation Mono");

QFont PrintFont()
{
    QFont font(kPrintFamily);
    font.setPointSize(10);
    return font;
}

struct TPdf {
    QString path;
    QString text; // as pdftotext -layout reads it
    [[nodiscard]] QString Info(const QString& field) const { return PdfInfo(path, field); }
};

TPdf PrintToPdf(const QString& path, const QStringList& lines, const QString& title)
{
    QPrinter printer(QPrinter::HighResolution);
    printer.setOutputFormat(QPrinter::PdfFormat);
    printer.setOutputFileName(path);
    printer.setPageSize(QPageSize(QPageSize::A4));
    printer.setPageOrientation(QPageLayout::Portrait);
    printer.setPageMargins(QMarginsF(10, 10, 10, 10), QPageLayout::Millimeter);
    PrintProgram(printer, lines, PrintFont(), title);
    return {path, PdfText(path)};
}

} // namespace

class TestPrinting : public QObject {
    Q_OBJECT
private slots:
    void initTestCase();
    void documentParagraphs_data();
    void documentParagraphs();
    void documentFontAndColour();
    void printedLinesAreNumbered();
    void longLineContinues();
    void manyLinesMakePages();
    void wrappedParagraphCrossesPageBreak();
    void emptyProgramPrintsNoText();
    void failedStartThrows();
};

void TestPrinting::initTestCase()
{
    QVERIFY2(QFontInfo(PrintFont()).family() == kPrintFamily,
             "the print font is missing: run tools/install-deps");
}

void TestPrinting::documentParagraphs_data()
{
    QTest::addColumn<QStringList>("lines");
    QTest::addColumn<QStringList>("paragraphs");
    QTest::newRow("none") << QStringList() << QStringList({""});
    QTest::newRow("three") << QStringList({"$0001+05", "", "[0A:-01]"})
                           << QStringList({"1\t$0001+05", "2\t", "3\t[0A:-01]"});
    QStringList ten, tenNumbered;
    for (int i = 1; i <= 11; ++i) {
        ten << QStringLiteral("строка %1").arg(i);
        tenNumbered << QStringLiteral("%1\tстрока %1").arg(i);
    }
    QTest::newRow("eleven, no padding") << ten << tenNumbered;
    QTest::newRow("tab inside") << QStringList({"\t+01"}) << QStringList({"1\t\t+01"});
}

void TestPrinting::documentParagraphs()
{
    QFETCH(QStringList, lines);
    QFETCH(QStringList, paragraphs);
    const std::unique_ptr<QTextDocument> document = MakePrintDocument(lines, PrintFont());
    QStringList blocks;
    for (QTextBlock block = document->begin(); block.isValid(); block = block.next())
        blocks << block.text();
    QCOMPARE(blocks, paragraphs);
}

void TestPrinting::documentFontAndColour()
{
    const QFont font = PrintFont();
    const std::unique_ptr<QTextDocument> document =
        MakePrintDocument({QStringLiteral("a"), QStringLiteral("б")}, font);
    for (QTextBlock block = document->begin(); block.isValid(); block = block.next()) {
        for (auto it = block.begin(); !it.atEnd(); ++it) {
            const QTextCharFormat format = it.fragment().charFormat();
            QCOMPARE(format.font().family(), font.family());
            QCOMPARE(format.font().pointSizeF(), font.pointSizeF());
            QCOMPARE(format.foreground().color(), QColor(Qt::black));
        }
    }
}

void TestPrinting::printedLinesAreNumbered()
{
    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    QStringList lines;
    for (int i = 1; i <= 12; ++i)
        lines << QStringLiteral("$%1+01 ячейка").arg(i, 4, 10, QLatin1Char('0'));
    lines[4] = QStringLiteral("Привет, МИР");
    const QString title = QStringLiteral("/home/user/проекты/пример.veskp");
    const TPdf pdf = PrintToPdf(dir.filePath(QStringLiteral("out.pdf")), lines, title);

    const QList<QPair<int, QString>> printed = NumberedLines(pdf.text);
    QCOMPARE(printed.size(), 12);
    for (int i = 0; i < 12; ++i) {
        QCOMPARE(printed[i].first, i + 1);
        QCOMPARE(printed[i].second, lines[i]);
    }
    // No leading zeros or blanks before the short numbers.
    QVERIFY(pdf.text.contains(QRegularExpression(QStringLiteral("(^|\\n)1 +\\$0001"))));
    QVERIFY(!pdf.text.contains(QRegularExpression(QStringLiteral("(^|\\n)\\s*0"))));
    QCOMPARE(pdf.Info(QStringLiteral("Title")), title);
    QCOMPARE(pdf.Info(QStringLiteral("Pages")), QStringLiteral("1"));
}

void TestPrinting::longLineContinues()
{
    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    QStringList words;
    for (int i = 0; i < 60; ++i)
        words << QStringLiteral("слово%1").arg(i);
    const QString longLine = words.join(u' ');
    const QString unbroken = QString(300, u'7') + QStringLiteral("конец");
    const TPdf pdf = PrintToPdf(dir.filePath(QStringLiteral("long.pdf")),
                                {longLine, unbroken, QStringLiteral("после")},
                                QStringLiteral("Безымянный"));

    const QList<QPair<int, QString>> printed = NumberedLines(pdf.text);
    QVERIFY2(printed.size() > 3, qPrintable(pdf.text));
    QCOMPARE(printed.first().first, 1);
    QVERIFY(printed.first().second.startsWith(QStringLiteral("слово0 слово1 ")));
    QVERIFY(!printed.first().second.contains(QStringLiteral("слово59")));
    QCOMPARE(printed.last(), qMakePair(3, QStringLiteral("после")));
    // Every character arrives, in order, only spread over several lines.
    QString joined = pdf.text;
    joined.remove(QRegularExpression(QStringLiteral("\\s")));
    QString expected = QStringLiteral("1") + longLine + QStringLiteral("2") + unbroken
                       + QStringLiteral("3после");
    expected.remove(u' ');
    QCOMPARE(joined, expected);
    QCOMPARE(pdf.Info(QStringLiteral("Title")), QStringLiteral("Безымянный"));
}

void TestPrinting::manyLinesMakePages()
{
    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    QStringList lines;
    for (int i = 1; i <= 250; ++i)
        lines << QStringLiteral("+%1").arg(i);
    const TPdf pdf = PrintToPdf(dir.filePath(QStringLiteral("many.pdf")), lines,
                                QStringLiteral("many"));
    QVERIFY(pdf.Info(QStringLiteral("Pages")).toInt() >= 2);
    const QList<QPair<int, QString>> printed = NumberedLines(pdf.text);
    QCOMPARE(printed.size(), 250);
    for (int i = 0; i < 250; ++i)
        QCOMPARE(printed[i], qMakePair(i + 1, lines[i]));
}

void TestPrinting::wrappedParagraphCrossesPageBreak()
{
    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    // How many lines fill the first page, with this font and paper.
    QStringList filler;
    for (int i = 1; i <= 250; ++i)
        filler << QStringLiteral("+%1").arg(i);
    const TPdf full = PrintToPdf(dir.filePath(QStringLiteral("full.pdf")), filler,
                                 QStringLiteral("full"));
    const qsizetype perPage = NumberedLines(full.text.section(u'\f', 0, 0)).size();
    QVERIFY2(perPage > 10 && perPage < 250, qPrintable(QString::number(perPage)));

    // A paragraph of several printed lines that starts two lines above the break.
    QStringList lines = filler.mid(0, perPage - 2);
    QStringList words;
    for (int i = 0; i < 120; ++i)
        words << QStringLiteral("w%1").arg(i, 3, 10, QLatin1Char('0'));
    lines << words.join(u' ') << QStringLiteral("после");
    const TPdf pdf = PrintToPdf(dir.filePath(QStringLiteral("wrapped.pdf")), lines,
                                QStringLiteral("wrapped"));
    QCOMPARE(pdf.Info(QStringLiteral("Pages")), QStringLiteral("2"));
    const QString first = pdf.text.section(u'\f', 0, 0);
    const QString second = pdf.text.section(u'\f', 1);
    QVERIFY2(first.contains(words.first()), qPrintable(first.right(300)));
    QVERIFY2(second.contains(words.last()), qPrintable(second.left(300)));
    // Each word printed once, on one page only.
    for (const QString& word : words)
        QVERIFY2(pdf.text.count(word) == 1, qPrintable(word));
    const QList<QPair<int, QString>> printed = NumberedLines(pdf.text);
    QCOMPARE(printed.last(), qMakePair(int(perPage), QStringLiteral("после")));
    QString joined = pdf.text;
    joined.remove(QRegularExpression(QStringLiteral("\\s")));
    QString expected;
    for (qsizetype i = 0; i < lines.size(); ++i)
        expected += QString::number(i + 1) + lines[i];
    expected.remove(u' ');
    QCOMPARE(joined, expected);
}

void TestPrinting::emptyProgramPrintsNoText()
{
    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    const QString path = dir.filePath(QStringLiteral("empty.pdf"));
    const TPdf pdf = PrintToPdf(path, {}, QStringLiteral("Безымянный"));
    QVERIFY(QFileInfo::exists(path));
    QVERIFY(pdf.text.trimmed().remove(u'\f').isEmpty());
    QCOMPARE(pdf.Info(QStringLiteral("Pages")), QStringLiteral("1"));
}

void TestPrinting::failedStartThrows()
{
    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    QPrinter printer;
    printer.setOutputFormat(QPrinter::PdfFormat);
    printer.setOutputFileName(dir.filePath(QStringLiteral("missing/dir/out.pdf")));
    QVERIFY_THROWS_EXCEPTION(std::runtime_error,
                             PrintProgram(printer, {QStringLiteral("a")}, PrintFont(),
                                          QStringLiteral("t")));
    QCOMPARE(printer.docName(), QStringLiteral("t"));
}

QTEST_MAIN(TestPrinting)
#include "tst_printing.moc"
