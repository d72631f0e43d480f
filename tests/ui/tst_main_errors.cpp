// Failing commands end at their own boundary: the general error handler shows
// the failure captioned with the application title, and the window goes on.
// No exception may reach Qt's event dispatch; one that did would end this test.
#include <QDir>
#include <QLineEdit>
#include <QPrintDialog>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <stdexcept>

#include "mainfixture.h"
#include "modalhelper.h"
#include "pdftext.h"
#include "ui/results/results.h"


namespace {

// Prints through the print dialog into path.
void PrintTo(TModalScript& script, const QString& path)
{
    script.Then([path](QWidget* modal) {
        auto* dialog = qobject_cast<QPrintDialog*>(modal);
        auto* fileName = modal->findChild<QLineEdit*>(QStringLiteral("filename"));
        if (!dialog || !fileName) {
            TModalScript::Dismiss(modal);
            return;
        }
        fileName->setText(path);
        dialog->accept();
    });
}


} // namespace

class TestMainErrors : public QObject {
    Q_OBJECT
private slots:
    void commandFailureReachesHandler_data();
    void commandFailureReachesHandler();
    void failedPrintIsReported();
    void failedResultsSaveDuringRunIsReported();
};

void TestMainErrors::commandFailureReachesHandler_data()
{
    QTest::addColumn<int>("kind");
    QTest::addColumn<QString>("text");
    QTest::newRow("runs through") << 0 << QString();
    QTest::newRow("standard exception") << 1 << QStringLiteral("Диск заполнен.");
    QTest::newRow("anything else") << 2 << QStringLiteral("Неизвестная ошибка.");
}

void TestMainErrors::commandFailureReachesHandler()
{
    QFETCH(int, kind);
    QFETCH(QString, text);
    TVeskApplication::SetTitle(QStringLiteral("Vesk - пример.veskp"));
    TModalScript script;
    if (kind != 0)
        script.Answer(QMessageBox::Ok);
    bool after = false;
    const bool ranThrough = TVeskApplication::RunCommand([&] {
        if (kind == 1)
            throw std::runtime_error("Диск заполнен.");
        if (kind == 2)
            throw 42;
        after = true;
    });
    TVeskApplication::SetTitle(QStringLiteral("Vesk"));
    QVERIFY(script.Done());
    QCOMPARE(ranThrough, kind == 0);
    QCOMPARE(after, kind == 0);
    QCOMPARE(script.Seen().size(), kind == 0 ? 0u : 1u);
    if (kind != 0) {
        QCOMPARE(script.Seen()[0].icon, QMessageBox::Critical);
        QCOMPARE(script.Seen()[0].title, QStringLiteral("Vesk - пример.veskp"));
        QCOMPARE(script.Seen()[0].text, text);
    }
}

void TestMainErrors::failedPrintIsReported()
{
    QTemporaryDir dir;
    auto window = ShowMainWindow();
    SetProgram(*window, QStringLiteral("$0001+01\n"));
    TModalScript script;
    PrintTo(script, dir.filePath(QStringLiteral("missing/out.pdf")));
    script.Answer(QMessageBox::Ok);
    QTest::keyClick(Editor(*window), Qt::Key_P, Qt::ControlModifier);
    QVERIFY(script.Done());
    QCOMPARE(script.Seen().size(), 2u);
    QCOMPARE(script.Seen()[1].icon, QMessageBox::Critical);
    QCOMPARE(script.Seen()[1].title, QStringLiteral("Vesk - Безымянный"));

    // The window goes on: the next print works.
    const QString pdf = dir.filePath(QStringLiteral("out.pdf"));
    PrintTo(script, pdf);
    Child<QAction>(*window, "nPrintItem")->trigger();
    QVERIFY(script.Done());
    const QList<QPair<int, QString>> printed = {{1, QStringLiteral("$0001+01")}};
    QCOMPARE(NumberedLines(PdfText(pdf)), printed);
}

void TestMainErrors::failedResultsSaveDuringRunIsReported()
{
    // The results window opens from the core's finish event, inside a timer tick.
    QTemporaryDir dir;
    QVERIFY(QDir(dir.path()).mkdir(QStringLiteral("gone")));
    const QString gone = dir.filePath(QStringLiteral("gone"));
    auto window = ShowMainWindow();
    SetProgram(*window, QStringLiteral("$0001+01"));
    TModalScript script;
    bool stillOpen = false;
    script.Then([&](QWidget* modal) {
        if (auto* save = modal->findChild<QPushButton*>(QStringLiteral("bSaveButton")))
            save->click(); // the save dialog and the error box are answered below
        stillOpen = modal->isVisible();
        TModalScript::Dismiss(modal);
    });
    // The folder chosen in the dialog vanishes before the file is written.
    script.Then([&](QWidget* modal) {
        auto* dialog = qobject_cast<QFileDialog*>(modal);
        if (!dialog) {
            TModalScript::Dismiss(modal);
            return;
        }
        TModalScript::TypeFileName(dialog, gone + QStringLiteral("/r.txt"));
        static_cast<QDialog*>(dialog)->accept();
        QDir(gone).removeRecursively();
    });
    script.Answer(QMessageBox::Ok);
    QTest::keyClick(Editor(*window), Qt::Key_F9);
    QTRY_VERIFY_WITH_TIMEOUT(script.Seen().size() == 3u && script.Pending() == 0, 5000);
    QTRY_COMPARE(RunControls(*window), kStopped);
    QVERIFY(script.Done());
    QCOMPARE(script.Seen()[2].icon, QMessageBox::Critical);
    QCOMPARE(script.Seen()[2].title, QStringLiteral("Vesk - Безымянный"));
    QVERIFY2(script.Seen()[2].text.contains(QStringLiteral("r.txt")),
             qPrintable(script.Seen()[2].text));
    QVERIFY(stillOpen);
    // The window goes on: the next run finishes normally.
    script.Cancel();
    QTest::keyClick(Editor(*window), Qt::Key_F9);
    QTRY_VERIFY_WITH_TIMEOUT(script.Pending() == 0, 5000);
    QVERIFY(script.Done());
    QCOMPARE(script.Seen().back().kind, QStringLiteral("TfResults"));
}

VESK_MAIN_WINDOW_TEST(TestMainErrors)
#include "tst_main_errors.moc"
