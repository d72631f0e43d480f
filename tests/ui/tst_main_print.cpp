// Printing from the main window: the print dialog, the job it produces (to a
// PDF file) and the page-setup dialog's stored margins.
#include <QComboBox>
#include <QLineEdit>
#include <QPageSetupDialog>
#include <QPrintDialog>
#include <QPrinter>
#include <QProcess>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTest>

#include "mainfixture.h"
#include "modalhelper.h"

namespace {

struct TPrintDialogSeen {
    bool toFile = false;
    bool pageRange = true;
    bool selection = true;
    bool currentPage = true;
};

// Chooses "print to file" in the platform's print dialog and prints to path.
void PrintToFile(QWidget* modal, const QString& path, TPrintDialogSeen& seen)
{
    auto* dialog = qobject_cast<QPrintDialog*>(modal);
    auto* fileName = modal->findChild<QLineEdit*>(QStringLiteral("filename"));
    if (!dialog || !fileName) {
        TModalScript::Dismiss(modal);
        return;
    }
    seen.toFile = dialog->testOption(QAbstractPrintDialog::PrintToFile);
    seen.pageRange = dialog->testOption(QAbstractPrintDialog::PrintPageRange);
    seen.selection = dialog->testOption(QAbstractPrintDialog::PrintSelection);
    seen.currentPage = dialog->testOption(QAbstractPrintDialog::PrintCurrentPage);
    fileName->setText(path);
    dialog->accept();
}

QString Run(const QString& program, const QStringList& arguments)
{
    QProcess process;
    process.start(program, arguments);
    if (!process.waitForFinished(20000))
        return QStringLiteral("<%1 did not finish>").arg(program);
    return QString::fromUtf8(process.readAllStandardOutput());
}

// The page-setup dialog shows A4 with 25 mm margins.
void CheckPageSetup(const TfMain& window, TModalScript& script)
{
    QMarginsF margins;
    QSizeF paper;
    script.Then([&](QWidget* modal) {
        if (auto* dialog = qobject_cast<QPageSetupDialog*>(modal)) {
            margins = dialog->printer()->pageLayout().margins(QPageLayout::Millimeter);
            paper = dialog->printer()->pageLayout().pageSize().size(QPageSize::Millimeter);
        }
        TModalScript::Dismiss(modal);
    });
    Child<QAction>(window, "nPageItem")->trigger();
    QVERIFY(script.Done());
    QCOMPARE(margins, QMarginsF(25, 25, 25, 25));
    QCOMPARE(paper, QSizeF(210, 297));
}

} // namespace

class TestMainPrint : public QObject {
    Q_OBJECT
private slots:
    void printsNumberedLinesUnderProjectTitle();
    void pageSetupKeepsItsMargins();
};

void TestMainPrint::printsNumberedLinesUnderProjectTitle()
{
    QTemporaryDir dir;
    auto window = ShowMainWindow();
    SetProgram(*window, QStringLiteral("$0001+01\n$0002\n"));
    TModalScript script;
    const QString pdf = dir.filePath(QStringLiteral("out.pdf"));
    TPrintDialogSeen seen;
    script.Then([&](QWidget* modal) { PrintToFile(modal, pdf, seen); });
    QTest::keyClick(Editor(*window), Qt::Key_P, Qt::ControlModifier);
    QVERIFY(script.Done());
    QVERIFY(seen.toFile);
    QVERIFY(!seen.pageRange);
    QVERIFY(!seen.selection);
    QVERIFY(!seen.currentPage);
    QVERIFY(QFileInfo::exists(pdf));

    // One numbered paragraph per line, none for the empty last line.
    const QStringList lines =
        Run(QStringLiteral("pdftotext"), {QStringLiteral("-layout"), pdf, QStringLiteral("-")})
            .split(u'\n', Qt::SkipEmptyParts);
    QStringList printed;
    for (const QString& line : lines) {
        if (!line.trimmed().isEmpty() && line.trimmed() != QStringLiteral("\f"))
            printed << line.simplified();
    }
    QCOMPARE(printed, (QStringList{QStringLiteral("1 $0001+01"), QStringLiteral("2 $0002")}));
    // The job is titled with the project's name.
    QVERIFY(Run(QStringLiteral("pdfinfo"), {pdf}).contains(QStringLiteral("Безымянный")));
    // No 25 mm page-setup margin on the left: the text starts near the page edge.
    const QString boxes = Run(QStringLiteral("pdftotext"), {QStringLiteral("-bbox"), pdf, QStringLiteral("-")});
    const auto first = QRegularExpression(QStringLiteral("xMin=\"([0-9.]+)\"")).match(boxes);
    QVERIFY2(first.hasMatch(), qPrintable(boxes.left(400)));
    QVERIFY2(first.captured(1).toDouble() < 30.0, qPrintable(first.captured(1)));
    // Yet the page setup still holds its own margins.
    CheckPageSetup(*window, script);
}

void TestMainPrint::pageSetupKeepsItsMargins()
{
    auto window = ShowMainWindow();
    TModalScript script;
    CheckPageSetup(*window, script);
}

VESK_MAIN_WINDOW_TEST(TestMainPrint)
#include "tst_main_print.moc"
