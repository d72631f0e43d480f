// The main window's run controls, error report and finish handler, driven
// through the real buttons, shortcuts and modal windows.
#include <QLabel>
#include <QTest>

#include "formats/results.h"
#include "mainfixture.h"
#include "modalhelper.h"
#include "resultsinspect.h"
#include "ui/results/results.h"

namespace {

const QString kEndless = QStringLiteral("$0001[+01]");
const int kWait = 5000;

void Click(const TfMain& window, const char* name) { Button(window, name)->click(); }

void Key(const TfMain& window, int key, Qt::KeyboardModifiers modifiers = Qt::NoModifier)
{
    QTest::keyClick(Editor(window), Qt::Key(key), modifiers);
}

std::uint64_t Steps(const TfMain& window) { return window.Core()->Step(); }

// Starts the endless program and waits until it has ticked a few times.
void StartEndless(const TfMain& window)
{
    SetProgram(window, kEndless);
    Click(window, "bBigRun");
    QTRY_VERIFY_WITH_TIMEOUT(Steps(window) > 5, kWait);
}

} // namespace

class TestMainRun : public QObject {
    Q_OBJECT
private slots:
    void opensStopped();
    void runPauseContinueStop();
    void pauseWhilePausedChangesNothing();
    void stopWhilePausedResetsWithoutResults();
    void continueIgnoresEditsUntilFreshRun();
    void commandsGiveEditorFocus_data();
    void commandsGiveEditorFocus();
    void shortcutsFollowButtons();
    void emptyEditorShowsEmptyResults();
    void oneEmptyLineRunsNormally();
    void finishedRunShowsCells();
    void errorReport_data();
    void errorReport();
    void closeWhileRunningAnsweredNo();
    void closeWhilePausedAskedOnce();
    void closeYesThenSaveCancelKeepsStoppedRun();
};

void TestMainRun::opensStopped()
{
    auto window = ShowMainWindow();
    QCOMPARE(RunControls(*window), kStopped);
    QCOMPARE(Button(*window, "bBigRun")->description(), QStringLiteral("Запуск программы на выполнение"));
    QCOMPARE(Button(*window, "bBigPause")->text(), QStringLiteral("Приостановить"));
    QCOMPARE(Button(*window, "bBigStop")->text(), QStringLiteral("Прервать"));
    QCOMPARE(Button(*window, "bBigRun")->focusPolicy(), Qt::NoFocus);
    // Every note is shown whole, whatever font the system gave: its wrapped lines
    // fit in the button's height. The widths for a known font: tst_style.
    const struct {
        const char* name;
        int width;
    } buttons[] = {{"bBigRun", 153}, {"bBigPause", 178}, {"bBigStop", 177}};
    for (const auto& expected : buttons) {
        const auto* button = Button(*window, expected.name);
        QCOMPARE(button->height(), 66);
        QVERIFY2(button->width() >= expected.width, expected.name);
        QVERIFY2(button->heightForWidth(button->width()) <= button->height(), expected.name);
    }
}

void TestMainRun::runPauseContinueStop()
{
    auto window = ShowMainWindow();
    TModalScript script;
    StartEndless(*window);
    QCOMPARE(RunControls(*window), kRunning);

    Click(*window, "bBigPause");
    QCOMPARE(RunControls(*window), kPaused);
    const auto paused = Steps(*window);
    QTest::qWait(40);
    QCOMPARE(Steps(*window), paused);

    // Continue keeps the core's state: no reset before Execute.
    Click(*window, "bBigRun");
    QCOMPARE(Steps(*window), paused);
    QCOMPARE(RunControls(*window), kRunning);
    QTRY_VERIFY_WITH_TIMEOUT(Steps(*window) > paused + 5, kWait);

    Click(*window, "bBigStop");
    QCOMPARE(RunControls(*window), kStopped);
    QCOMPARE(Steps(*window), 0u);
    QVERIFY(window->Core()->GetMemory().empty());
    QVERIFY(!window->Core()->IsRun());
    QVERIFY(script.Seen().empty());
}

void TestMainRun::pauseWhilePausedChangesNothing()
{
    auto window = ShowMainWindow();
    StartEndless(*window);
    Click(*window, "bBigPause");
    const auto paused = Steps(*window);
    Click(*window, "bBigPause");
    QCOMPARE(RunControls(*window), kPaused);
    QCOMPARE(Steps(*window), paused);
    // Still paused: Run continues rather than starting afresh.
    Click(*window, "bBigRun");
    QCOMPARE(Steps(*window), paused);
    QCOMPARE(RunControls(*window), kRunning);
}

void TestMainRun::stopWhilePausedResetsWithoutResults()
{
    auto window = ShowMainWindow();
    TModalScript script;
    StartEndless(*window);
    Click(*window, "bBigPause");
    Click(*window, "bBigStop");
    QCOMPARE(RunControls(*window), kStopped);
    QCOMPARE(Steps(*window), 0u);
    QTest::qWait(40);
    QVERIFY(script.Seen().empty());
    // After Stop, Run starts afresh.
    Click(*window, "bBigRun");
    QCOMPARE(Steps(*window), 0u);
    QCOMPARE(RunControls(*window), kRunning);
}

void TestMainRun::continueIgnoresEditsUntilFreshRun()
{
    auto window = ShowMainWindow();
    TModalScript script;
    StartEndless(*window);
    Click(*window, "bBigPause");
    // A text the source check rejects: continuing must not see it.
    SetProgram(*window, QStringLiteral("!"));
    Click(*window, "bBigRun");
    QCOMPARE(RunControls(*window), kRunning);
    QTest::qWait(30);
    QVERIFY(script.Seen().empty());

    Click(*window, "bBigStop");
    script.Answer(QMessageBox::Ok);
    Click(*window, "bBigRun");
    QTRY_VERIFY_WITH_TIMEOUT(script.Done(), kWait);
    QCOMPARE(script.Seen().size(), 1u);
    QVERIFY(script.Seen()[0].text.endsWith(QStringLiteral("Сообщение: Неизвестный символ.")));
    QCOMPARE(RunControls(*window), kStopped);
}

void TestMainRun::commandsGiveEditorFocus_data()
{
    QTest::addColumn<QString>("command");
    QTest::newRow("buttons") << QStringLiteral("buttons");
    QTest::newRow("menu items") << QStringLiteral("menu");
}

void TestMainRun::commandsGiveEditorFocus()
{
    QFETCH(QString, command);
    auto window = ShowMainWindow();
    SetProgram(*window, kEndless);
    const bool menu = command == QStringLiteral("menu");
    auto run = [&](const char* button, const char* item) {
        Editor(*window)->clearFocus();
        QVERIFY(!Editor(*window)->hasFocus());
        if (menu) {
            window->nProjectItemClick();
            Child<QAction>(*window, item)->trigger();
        } else {
            Click(*window, button);
        }
        QVERIFY(Editor(*window)->hasFocus());
    };
    run("bBigRun", "nRunItem");
    QCOMPARE(RunControls(*window), kRunning);
    run("bBigPause", "nPauseItem");
    QCOMPARE(RunControls(*window), kPaused);
    run("bBigStop", "nStopItem");
    QCOMPARE(RunControls(*window), kStopped);
}

void TestMainRun::shortcutsFollowButtons()
{
    auto window = ShowMainWindow();
    TModalScript script;
    SetProgram(*window, kEndless);

    // Stopped: Ctrl+F2 does nothing, F9 starts.
    Key(*window, Qt::Key_F2, Qt::ControlModifier);
    QCOMPARE(RunControls(*window), kStopped);
    Key(*window, Qt::Key_F9);
    QCOMPARE(RunControls(*window), kRunning);
    QTRY_VERIFY_WITH_TIMEOUT(Steps(*window) > 5, kWait);

    // Running: F9 would restart the program if it were carried out.
    const auto before = Steps(*window);
    Key(*window, Qt::Key_F9);
    QVERIFY(Steps(*window) >= before);
    QCOMPARE(RunControls(*window), kRunning);

    // Paused: F9 continues, Ctrl+F2 stops and resets.
    Click(*window, "bBigPause");
    const auto paused = Steps(*window);
    Key(*window, Qt::Key_F9);
    QCOMPARE(Steps(*window), paused);
    QCOMPARE(RunControls(*window), kRunning);
    Key(*window, Qt::Key_F2, Qt::ControlModifier);
    QCOMPARE(RunControls(*window), kStopped);
    QCOMPARE(Steps(*window), 0u);
    // Running: Ctrl+F2 stops.
    Key(*window, Qt::Key_F9);
    QCOMPARE(RunControls(*window), kRunning);
    Key(*window, Qt::Key_F2, Qt::ControlModifier);
    QCOMPARE(RunControls(*window), kStopped);
    QCOMPARE(Editor(*window)->toPlainText(), kEndless);
    QVERIFY(script.Seen().empty());
}

void TestMainRun::emptyEditorShowsEmptyResults()
{
    auto window = ShowMainWindow();
    TModalScript script;
    TResultsSeen seen;
    InspectResults(script, *window, seen);
    Click(*window, "bBigRun");
    // The results window opens from inside Execute.
    QVERIFY(script.Done());
    QVERIFY(seen.rows.empty());
    QCOMPARE(seen.time, QStringLiteral("0.000 сек."));
    QCOMPARE(seen.steps, QStringLiteral("0"));
    QCOMPARE(seen.controls, kStopped);
    QCOMPARE(RunControls(*window), kStopped);
}

void TestMainRun::oneEmptyLineRunsNormally()
{
    auto window = ShowMainWindow();
    TModalScript script;
    TResultsSeen seen;
    InspectResults(script, *window, seen);
    SetProgram(*window, QStringLiteral("\n"));
    Click(*window, "bBigRun");
    QCOMPARE(RunControls(*window), kRunning);
    QTRY_VERIFY_WITH_TIMEOUT(script.Done(), kWait);
    QCOMPARE(seen.steps, QStringLiteral("2"));
    QVERIFY(seen.rows.empty());
    QCOMPARE(RunControls(*window), kStopped);
}

void TestMainRun::finishedRunShowsCells()
{
    auto window = ShowMainWindow();
    TModalScript script;
    TResultsSeen seen;
    InspectResults(script, *window, seen);
    SetProgram(*window, QStringLiteral("$0001+05$00ff+ff"));
    Click(*window, "bBigRun");
    QTRY_VERIFY_WITH_TIMEOUT(script.Done(), kWait);

    QStringList rows;
    for (const TResultRow& row : seen.rows)
        rows << QString::fromStdU16String(row.address + u'|' + row.binary + u'|' + row.hex + u'|'
                                          + row.character);
    QCOMPARE(rows, (QStringList{QStringLiteral("$0001|00000101|05|\u0005"),
                                QStringLiteral("$00ff|11111111|FF|\u00FF")}));
    // Four operators, the line advance and the final tick.
    QCOMPARE(seen.steps, QStringLiteral("6"));
    QCOMPARE(seen.time, seen.expectedTime);
    QVERIFY(seen.time != QStringLiteral("0.000 сек."));
    QCOMPARE(seen.controls, kStopped);
    QCOMPARE(RunControls(*window), kStopped);
    // A finished run is not reset: its cells stay until the next fresh Run.
    QCOMPARE(window->Core()->GetMemory().size(), 2u);
}

void TestMainRun::errorReport_data()
{
    QTest::addColumn<QString>("program");
    QTest::addColumn<bool>("runs");               // false: the source check rejects it
    QTest::addColumn<QString>("editedDuringRun"); // empty: left alone
    QTest::addColumn<QString>("position");
    QTest::addColumn<QString>("message");

    QTest::newRow("source check") << QStringLiteral("\n$0001 ([)]") << false << QString()
                                  << QStringLiteral("Строка: 1, символ: 0.")
                                  << QStringLiteral("Неверное сочетание программных скобок.");
    const QString missing = QStringLiteral("Не обнаружена ячейка для уничтожения.");
    QTest::newRow("worked example") << QStringLiteral("' first\n\n$00FF\t+01 ~0001") << true
                                    << QString() << QStringLiteral("Строка: 3, символ: 11.")
                                    << missing;
    const QString late = QStringLiteral("$0001[20:+01]\n  ~0002");
    QTest::newRow("line as it ran") << late << true << QString()
                                    << QStringLiteral("Строка: 2, символ: 3.") << missing;
    QTest::newRow("line re-indented during the run")
        << late << true << QStringLiteral("$0001[20:+01]\n\t\t\t~0002")
        << QStringLiteral("Строка: 2, символ: 4.") << missing;
    QTest::newRow("line deleted during the run")
        << late << true << QStringLiteral("$0001[20:+01]") << QStringLiteral("Строка: 2, символ: 1.")
        << missing;
}

void TestMainRun::errorReport()
{
    QFETCH(QString, program);
    QFETCH(bool, runs);
    QFETCH(QString, editedDuringRun);
    QFETCH(QString, position);
    QFETCH(QString, message);
    auto window = ShowMainWindow();
    TModalScript script;
    QString controlsDuringBox;
    script.Then([&](QWidget* modal) {
        controlsDuringBox = RunControls(*window);
        qobject_cast<QMessageBox*>(modal)->button(QMessageBox::Ok)->click();
    });
    SetProgram(*window, program);
    Click(*window, "bBigRun");
    if (runs) {
        QCOMPARE(RunControls(*window), kRunning);
        if (!editedDuringRun.isEmpty())
            SetProgram(*window, editedDuringRun);
        QTRY_VERIFY_WITH_TIMEOUT(script.Done(), kWait);
    } else {
        // The report opens from inside Execute, before the run starts.
        QVERIFY(script.Done());
    }

    const TModalSeen& box = script.Seen().at(0);
    QCOMPARE(box.title, QStringLiteral("Ошибка"));
    QCOMPARE(box.icon, QMessageBox::Warning);
    QCOMPARE(box.text, QStringLiteral("Произошла ошибка при выполнении программы\n") + position +
                           QStringLiteral("\nСообщение: ") + message);
    // OnStop came first: the buttons are stopped while the box is open.
    QCOMPARE(controlsDuringBox, kStopped);
    QCOMPARE(RunControls(*window), kStopped);
    // Not reset: the cells of the failed run stay.
    if (runs)
        QVERIFY(!window->Core()->GetMemory().empty());
}

void TestMainRun::closeWhileRunningAnsweredNo()
{
    auto window = ShowMainWindow();
    TModalScript script;
    StartEndless(*window);
    script.Answer(QMessageBox::No);
    QVERIFY(!window->close());
    QVERIFY(script.Done());
    QCOMPARE(script.Seen().at(0).title, QStringLiteral("Завершение работы"));
    QCOMPARE(script.Seen().at(0).text, QStringLiteral("Программа в данный момент выполняется. Прервать?"));
    QCOMPARE(script.Seen().at(0).icon, QMessageBox::Question);
    QVERIFY(window->isVisible());
    QCOMPARE(RunControls(*window), kPaused);
    const auto paused = Steps(*window);
    QTest::qWait(30);
    QCOMPARE(Steps(*window), paused);

    // "Продолжить" goes on where the question paused it.
    Click(*window, "bBigRun");
    QCOMPARE(Steps(*window), paused);
    QTRY_VERIFY_WITH_TIMEOUT(Steps(*window) > paused + 5, kWait);
    QCOMPARE(RunControls(*window), kRunning);

    // Yes stops the program; with no changes to save, the window closes.
    script.Answer(QMessageBox::Yes);
    QVERIFY(window->close());
    QVERIFY(script.Done());
    QCOMPARE(script.Seen().size(), 2u);
    QVERIFY(!window->isVisible());
}

void TestMainRun::closeWhilePausedAskedOnce()
{
    auto window = ShowMainWindow();
    TModalScript script;
    StartEndless(*window);
    Click(*window, "bBigPause");
    script.Answer(QMessageBox::No);
    QVERIFY(!window->close());
    QVERIFY(script.Done());
    QCOMPARE(script.Seen().size(), 1u);
    QCOMPARE(RunControls(*window), kPaused);
}

void TestMainRun::closeYesThenSaveCancelKeepsStoppedRun()
{
    auto window = ShowMainWindow();
    TModalScript script;
    StartEndless(*window);
    Editor(*window)->document()->setModified(true);
    script.Answer(QMessageBox::Yes);
    script.Answer(QMessageBox::Cancel);
    QVERIFY(!window->close());
    QVERIFY(script.Done());
    QCOMPARE(script.Seen().at(1).text, QStringLiteral("Сохранить изменения в текущем проекте?"));
    QCOMPARE(script.Seen().at(1).title, QStringLiteral("Завершение работы"));
    QCOMPARE(RunControls(*window), kStopped);

    // Stopped by the question, yet still counted as paused: Run continues
    // the stopped program instead of starting afresh...
    const auto stopped = Steps(*window);
    QVERIFY(stopped > 0);
    Click(*window, "bBigRun");
    QCOMPARE(Steps(*window), stopped);
    QCOMPARE(RunControls(*window), kRunning);
    // ...and the next close attempt asks the first question again.
    script.Answer(QMessageBox::No);
    QVERIFY(!window->close());
    QVERIFY(script.Done());
    QCOMPARE(script.Seen().back().text, QStringLiteral("Программа в данный момент выполняется. Прервать?"));
}

VESK_MAIN_WINDOW_TEST(TestMainRun)
#include "tst_main_run.moc"
