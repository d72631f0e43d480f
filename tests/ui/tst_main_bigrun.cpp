// Runs of a program big enough to be made ready on a worker thread: the window
// goes on while it is prepared, Pause, Stop, closing, stepping and errors work
// on a run that has not begun yet, and the outcome is the same as ever.
#include <QLabel>
#include <QTest>
#include <QTextBlock>

#include "formats/results.h"
#include "mainfixture.h"
#include "modalhelper.h"
#include "resultsinspect.h"

namespace {

const int kWait = 10000;
const QString kPreparing = QStringLiteral("Подготовка к выполнению");

// `$0001` and then `count` lines that each add 1, padded by a comment to over
// 256 KiB of text in all; `last` ends it.
QString BigProgram(const QString& last, int count = 8000)
{
    QString text = QStringLiteral("$0001\n");
    const QString line = QStringLiteral("+01 ' a comment that pads the line out to forty\n");
    text.reserve(line.size() * count + 64);
    for (int i = 0; i < count; ++i)
        text += line;
    return text + last;
}

QString State(const TfMain& window) { return Child<QLabel>(window, "lStatusState")->text(); }

void Click(const TfMain& window, const char* name) { Button(window, name)->click(); }

void Key(const TfMain& window, int key, Qt::KeyboardModifiers modifiers = Qt::NoModifier)
{
    QTest::keyClick(Editor(window), Qt::Key(key), modifiers);
}

// Right after the command: the run has not begun and the controls say it will.
bool Preparing(const TfMain& window)
{
    return State(window) == kPreparing && RunControls(window) == kRunning && !window.Core()->IsRun()
        && window.Core()->Step() == 0
        && Child<QLabel>(window, "lStatusSteps")->text() == QStringLiteral("Шагов: 0");
}

} // namespace

class TestMainBigRun : public QObject {
    Q_OBJECT
private slots:
    void unpacedRunKeepsTheTextOfItsStart();
    void errorsAreReported_data();
    void errorsAreReported();
    void pauseBeforeTheStartPausesAtTheFirstStep();
    void stopBeforeTheStartDropsTheRun();
    void stepAndRunToCursorStartPreparedRuns();
    void closeBeforeTheStart();
};

void TestMainBigRun::unpacedRunKeepsTheTextOfItsStart()
{
    auto window = ShowMainWindow();
    TModalScript script;
    TResultsSeen seen;
    InspectResults(script, *window, seen);
    SetProgram(*window, BigProgram(QStringLiteral("$0002+02")));
    Key(*window, Qt::Key_F9, Qt::ShiftModifier);
    QVERIFY(Preparing(*window));
    // Typed while it is prepared: the run goes on with the text of its start.
    SetProgram(*window, QStringLiteral("$0003+03"));
    QTRY_VERIFY_WITH_TIMEOUT(script.Done(), kWait);

    QCOMPARE(seen.rows.size(), 2u);
    QCOMPARE(seen.rows[0].address, u"$0001");
    QCOMPARE(seen.rows[0].hex, u"40"); // 8000 additions, modulo 256
    QCOMPARE(seen.rows[1].hex, u"02");
    // Two steps a line (the operator and its advance) and the final tick, as
    // any run counts them.
    QCOMPARE(seen.steps, QString::number(2 * 8002 + 1 + 1));
    QCOMPARE(seen.time, seen.expectedTime);
    QCOMPARE(RunControls(*window), kStopped);
}

void TestMainBigRun::errorsAreReported_data()
{
    QTest::addColumn<QString>("last");
    QTest::addColumn<QString>("position");
    QTest::addColumn<QString>("message");
    QTest::newRow("refused by the check") << QStringLiteral("]") << QStringLiteral("Строка: 1, символ: 0.")
                                          << QStringLiteral("Неверное сочетание программных скобок.");
    QTest::newRow("raised by a step") << QStringLiteral("  ~0002") << QStringLiteral("Строка: 8002, символ: 3.")
                                      << QStringLiteral("Не обнаружена ячейка для уничтожения.");
}

void TestMainBigRun::errorsAreReported()
{
    QFETCH(QString, last);
    QFETCH(QString, position);
    QFETCH(QString, message);
    auto window = ShowMainWindow();
    TModalScript script;
    script.Answer(QMessageBox::Ok);
    SetProgram(*window, BigProgram(last));
    Key(*window, Qt::Key_F9, Qt::ShiftModifier);
    QVERIFY(Preparing(*window));
    QTRY_VERIFY_WITH_TIMEOUT(script.Done(), kWait);
    QCOMPARE(script.Seen().at(0).text, QStringLiteral("Произошла ошибка при выполнении программы\n") + position
                                           + QStringLiteral("\nСообщение: ") + message);
    QCOMPARE(RunControls(*window), kStopped);
}

void TestMainBigRun::pauseBeforeTheStartPausesAtTheFirstStep()
{
    auto window = ShowMainWindow();
    SetProgram(*window, BigProgram(QString()));
    Click(*window, "bBigRun");
    QVERIFY(Preparing(*window));
    Click(*window, "bBigPause");
    QTRY_COMPARE_WITH_TIMEOUT(RunControls(*window), kPaused, kWait);
    QCOMPARE(State(*window), QStringLiteral("Приостановлено"));
    QCOMPARE(window->Core()->Step(), 0u);
    QTest::qWait(50);
    QCOMPARE(window->Core()->Step(), 0u);

    // Continue goes on at once: the program is ready.
    Click(*window, "bBigRun");
    QVERIFY(window->Core()->IsRun());
    QTRY_VERIFY_WITH_TIMEOUT(window->Core()->Step() > 3, kWait);
    Click(*window, "bBigStop");
}

void TestMainBigRun::stopBeforeTheStartDropsTheRun()
{
    auto window = ShowMainWindow();
    TModalScript script; // records any window that comes up: none may
    SetProgram(*window, BigProgram(QString()));
    Click(*window, "bBigRun");
    QVERIFY(Preparing(*window));
    Click(*window, "bBigStop");
    QCOMPARE(RunControls(*window), kStopped);
    QCOMPARE(State(*window), QStringLiteral("Остановлено"));
    QTest::qWait(300);
    QVERIFY(!window->Core()->IsRun());
    QCOMPARE(window->Core()->Step(), 0u);
    QCOMPARE(RunControls(*window), kStopped);
    QVERIFY(script.Seen().empty());

    // Run again and the next program comes: the preparer is free again.
    Click(*window, "bBigRun");
    QVERIFY(Preparing(*window));
    QTRY_VERIFY_WITH_TIMEOUT(window->Core()->Step() > 3, kWait);
    QCOMPARE(State(*window), QStringLiteral("Выполняется"));
    Click(*window, "bBigStop");
    // The steps of the run before do not stand while the next is prepared.
    Click(*window, "bBigRun");
    QVERIFY(Preparing(*window));
    QCOMPARE(Child<QLabel>(*window, "lStatusSteps")->text(), QStringLiteral("Шагов: 0"));
    Click(*window, "bBigStop");
}

void TestMainBigRun::stepAndRunToCursorStartPreparedRuns()
{
    auto window = ShowMainWindow();
    SetProgram(*window, BigProgram(QString()));
    // F8 from a stopped program pauses before the first step...
    Key(*window, Qt::Key_F8);
    QVERIFY(Preparing(*window));
    QTRY_COMPARE_WITH_TIMEOUT(RunControls(*window), kPaused, kWait);
    QCOMPARE(window->Core()->Step(), 0u);
    // ...and the next F8 runs one.
    Key(*window, Qt::Key_F8);
    QTRY_COMPARE_WITH_TIMEOUT(window->Core()->Step(), 1u, kWait);
    QCOMPARE(RunControls(*window), kPaused);
    Click(*window, "bBigStop");

    // F4 runs to the caret's line once the program is there.
    QTextCursor caret(Editor(*window)->document()->findBlockByNumber(3));
    Editor(*window)->setTextCursor(caret);
    Key(*window, Qt::Key_F4);
    QVERIFY(Preparing(*window));
    QTRY_COMPARE_WITH_TIMEOUT(RunControls(*window), kPaused, kWait);
    QCOMPARE(window->Core()->NextPosition().line, 3);
    QCOMPARE(window->Core()->LastPauseCause(), TVeskCore::TPauseCause::pcRunToLine);
    Click(*window, "bBigStop");
}

void TestMainBigRun::closeBeforeTheStart()
{
    auto window = ShowMainWindow();
    SetProgram(*window, BigProgram(QString()));
    Editor(*window)->document()->setModified(false);
    TModalScript script;
    // No: the run begins and waits paused, as a running one would.
    Click(*window, "bBigRun");
    QVERIFY(Preparing(*window));
    script.Answer(QMessageBox::No);
    QVERIFY(!window->close());
    QVERIFY(script.Done());
    QCOMPARE(script.Seen().at(0).text, QStringLiteral("Программа в данный момент выполняется. Прервать?"));
    QTRY_COMPARE_WITH_TIMEOUT(RunControls(*window), kPaused, kWait);
    QCOMPARE(window->Core()->Step(), 0u);

    // Yes while it is still being prepared: the window closes and nothing comes after.
    Click(*window, "bBigStop");
    Click(*window, "bBigRun");
    QVERIFY(Preparing(*window));
    script.Answer(QMessageBox::Yes);
    QVERIFY(window->close());
    QVERIFY(script.Done());
    QVERIFY(!window->Core());
    QTest::qWait(300);
    QVERIFY(script.Seen().size() == 2u);
}

VESK_MAIN_WINDOW_TEST(TestMainBigRun)
#include "tst_main_bigrun.moc"
