// Printing from the main window: the print dialog, the job it produces (to a
// PDF file) and the page-setup dialog's stored margins on the shared printer.
#include <QComboBox>
#include <QGroupBox>
#include <QLineEdit>
#include <QPageSetupDialog>
#include <QPrintDialog>
#include <QPrinter>
#include <QPushButton>
#include <QRadioButton>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTest>
#include <functional>

#include "mainfixture.h"
#include "modalhelper.h"
#include "pdftext.h"

namespace {

struct TPrintDialogSeen {
    bool toFile = false;
    bool pageRange = true;
    bool selection = true;
    bool currentPage = true;
    bool rangeChoosable = true; // the dialog's own page-range button, as the user finds it
};

// Whether the user could pick a page range once the dialog's options are expanded.
bool RangeChoosable(const QWidget& dialog)
{
    const auto* group = dialog.findChild<QGroupBox*>(QStringLiteral("gbPrintRange"));
    const auto* range = dialog.findChild<QRadioButton*>(QStringLiteral("printRange"));
    return group && range && !group->isHidden() && !range->isHidden() && range->isEnabled();
}

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
    seen.rangeChoosable = RangeChoosable(*modal);
    fileName->setText(path);
    dialog->accept();
}

// Prints through the print dialog to path; choose, when given, runs on the
// dialog's properties window, whose page settings the job then uses.
void PrintToFileWithProperties(TModalScript& script, const QString& path,
                               std::function<void(QWidget*)> choose = {})
{
    script.Then([path, choose](QWidget* modal) {
        auto* dialog = qobject_cast<QPrintDialog*>(modal);
        auto* fileName = modal->findChild<QLineEdit*>(QStringLiteral("filename"));
        auto* properties = modal->findChild<QPushButton*>(QStringLiteral("properties"));
        if (!dialog || !fileName || !properties) {
            TModalScript::Dismiss(modal);
            return;
        }
        fileName->setText(path);
        if (choose)
            properties->click(); // modal: the next action answers it
        dialog->accept();
    });
    if (choose)
        script.Then(choose);
}

// Picks an orientation ("portrait", "landscape") and, if given, a paper in the
// page settings of a page-setup or properties dialog, and confirms them;
// shown, when given, receives the orientation the dialog opened with.
std::function<void(QWidget*)> ChoosePage(const char* orientation, const QString& paper = {},
                                         QString* shown = nullptr)
{
    return [orientation, paper, shown](QWidget* modal) {
        auto* radio = modal->findChild<QRadioButton*>(QString::fromLatin1(orientation));
        auto* sizes = modal->findChild<QComboBox*>(QStringLiteral("pageSizeCombo"));
        auto* dialog = qobject_cast<QDialog*>(modal);
        if (!radio || !sizes || !dialog) {
            TModalScript::Dismiss(modal);
            return;
        }
        if (shown) {
            for (const char* name : {"portrait", "landscape"}) {
                auto* choice = modal->findChild<QRadioButton*>(QString::fromLatin1(name));
                if (choice && choice->isChecked())
                    *shown = QString::fromLatin1(name);
            }
        }
        if (!paper.isEmpty())
            sizes->setCurrentIndex(sizes->findText(paper, Qt::MatchStartsWith));
        radio->click();
        dialog->accept();
    };
}

// The first page's size in whole points, as the PDF holds it.
QSize PageSizeOf(const QString& path) { return PdfPageSize(path).toSize(); }

} // namespace

class TestMainPrint : public QObject {
    Q_OBJECT
private slots:
    void printsEditorUnderProjectTitle();
    void pageChoicesReachEveryNextJob();
};

void TestMainPrint::printsEditorUnderProjectTitle()
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
    QVERIFY(!seen.rangeChoosable);
    QVERIFY(QFileInfo::exists(pdf));

    // The editor's lines, none for the empty last line.
    const QList<QPair<int, QString>> expected = {{1, QStringLiteral("$0001+01")},
                                                 {2, QStringLiteral("$0002")}};
    QCOMPARE(NumberedLines(PdfText(pdf)), expected);
    // The job is titled with the project's name.
    QCOMPARE(PdfInfo(pdf, QStringLiteral("Title")), QStringLiteral("Безымянный"));
    // No 25 mm page-setup margin on the left: the text starts near the page edge.
    const QString boxes = PdfText(pdf, QStringLiteral("-bbox"));
    const auto first = QRegularExpression(QStringLiteral("xMin=\"([0-9.]+)\"")).match(boxes);
    QVERIFY2(first.hasMatch(), qPrintable(boxes.left(400)));
    QVERIFY2(first.captured(1).toDouble() < 30.0, qPrintable(first.captured(1)));

    // Yet the page setup, on the same printer, still shows A4 with its 25 mm margins.
    QMarginsF margins;
    QSizeF paper;
    script.Then([&](QWidget* modal) {
        if (auto* dialog = qobject_cast<QPageSetupDialog*>(modal)) {
            margins = dialog->printer()->pageLayout().margins(QPageLayout::Millimeter);
            paper = dialog->printer()->pageLayout().pageSize().size(QPageSize::Millimeter);
        }
        TModalScript::Dismiss(modal);
    });
    Child<QAction>(*window, "nPageItem")->trigger();
    QVERIFY(script.Done());
    QCOMPARE(margins, QMarginsF(25, 25, 25, 25));
    QCOMPARE(paper, QSizeF(210, 297));
}

void TestMainPrint::pageChoicesReachEveryNextJob()
{
    QTemporaryDir dir;
    auto window = ShowMainWindow();
    SetProgram(*window, QStringLiteral("$0001+01\n"));
    const auto print = [&](const QString& name, std::function<void(QWidget*)> choose = {}) {
        TModalScript script;
        const QString pdf = dir.filePath(name);
        PrintToFileWithProperties(script, pdf, std::move(choose));
        Child<QAction>(*window, "nPrintItem")->trigger();
        return script.Done() ? PageSizeOf(pdf) : QSize();
    };
    const auto pageSetup = [&](std::function<void(QWidget*)> choose) {
        TModalScript script;
        script.Then(std::move(choose));
        Child<QAction>(*window, "nPageItem")->trigger();
        return script.Done();
    };
    const QSize a4(595, 842), a4Landscape(842, 595), a5Landscape(595, 420);

    QCOMPARE(print(QStringLiteral("first.pdf")), a4);
    // The page setup turns the page, after the print dialog has been used once.
    QVERIFY(pageSetup(ChoosePage("landscape")));
    QCOMPARE(print(QStringLiteral("landscape.pdf")), a4Landscape);
    QCOMPARE(print(QStringLiteral("still.pdf")), a4Landscape);
    // The print dialog turns it back, and the page setup shows what it chose.
    QCOMPARE(print(QStringLiteral("portrait.pdf"), ChoosePage("portrait")), a4);
    QString shown;
    QVERIFY(pageSetup(ChoosePage("landscape", QStringLiteral("A5"), &shown)));
    QCOMPARE(shown, QStringLiteral("portrait"));
    QCOMPARE(print(QStringLiteral("a5.pdf")), a5Landscape);
    QCOMPARE(print(QStringLiteral("a5portrait.pdf"), ChoosePage("portrait")),
             a5Landscape.transposed());
}

VESK_MAIN_WINDOW_TEST(TestMainPrint)
#include "tst_main_print.moc"
