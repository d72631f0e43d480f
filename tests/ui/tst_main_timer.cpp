// The main window's timer for the interpreter: a handler that never runs more
// often than its interval allows, and that stops at once when turned off.
#include <QElapsedTimer>
#include <QTest>
#include <QThread>

#include "ui/model/qttimer.h"

class TestMainTimer : public QObject {
    Q_OBJECT
private slots:
    void neverOutrunsItsInterval_data();
    void neverOutrunsItsInterval();
    void makesUpOnlyAFewSlots();
    void offStopsTheCalls();
    void offAndOnInsideTheHandlerKeepsTicking();
};

void TestMainTimer::neverOutrunsItsInterval_data()
{
    QTest::addColumn<int>("intervalMs");
    QTest::addColumn<int>("stallMs"); // how long every tenth call blocks the loop
    QTest::newRow("1 ms") << 1 << 0;
    QTest::newRow("1 ms, stalls to make up") << 1 << 4;
    QTest::newRow("5 ms, stalls to make up") << 5 << 12;
}

void TestMainTimer::neverOutrunsItsInterval()
{
    QFETCH(int, intervalMs);
    QFETCH(int, stallMs);
    QObject owner;
    QElapsedTimer clock;
    int calls = 0;
    int worst = 0; // most calls ahead of the schedule at any call
    TQtTimer* timer = nullptr;
    timer = new TQtTimer(intervalMs, [&] {
        // The core's pattern: off first, on again at the end.
        timer->SetEnabled(false);
        ++calls;
        // The first slot is one interval after the start; 0.1 ms for clock skew.
        const qint64 elapsed = clock.nsecsElapsed() + 100000;
        const int allowed = int(elapsed / (qint64(intervalMs) * 1000000));
        worst = std::max(worst, calls - allowed);
        if (stallMs > 0 && calls % 10 == 0)
            QThread::msleep(stallMs);
        timer->SetEnabled(true);
    }, &owner);
    clock.start();
    timer->SetEnabled(true);
    QTRY_VERIFY_WITH_TIMEOUT(calls >= 60, 10000);
    timer->SetEnabled(false);
    QVERIFY2(worst <= 0, qPrintable(QStringLiteral("%1 calls ahead of the schedule").arg(worst)));
}

void TestMainTimer::makesUpOnlyAFewSlots()
{
    // One call blocks for twelve intervals. The overdue call comes, then the
    // calls that follow it without waiting: the three made-up slots and, at
    // most, the slot that fell due meanwhile.
    QObject owner;
    QElapsedTimer clock;
    std::vector<qint64> starts;
    TQtTimer* timer = nullptr;
    timer = new TQtTimer(5, [&] {
        timer->SetEnabled(false);
        starts.push_back(clock.nsecsElapsed());
        if (starts.size() == 3)
            QThread::msleep(60);
        timer->SetEnabled(starts.size() < 12);
    }, &owner);
    clock.start();
    timer->SetEnabled(true);
    QTRY_COMPARE_WITH_TIMEOUT(starts.size(), std::size_t(12), 10000);
    int quick = 0;
    for (std::size_t i = 4; i < starts.size() && starts[i] - starts[i - 1] < 2500000; ++i)
        ++quick;
    QVERIFY(quick >= 1);
    QVERIFY2(quick <= 4, qPrintable(QStringLiteral("%1 slots made up").arg(quick)));
}

void TestMainTimer::offStopsTheCalls()
{
    QObject owner;
    int calls = 0;
    TQtTimer* timer = nullptr;
    timer = new TQtTimer(1, [&] {
        ++calls;
        timer->SetEnabled(false);
    }, &owner);
    timer->SetEnabled(true);
    QVERIFY(timer->Enabled());
    QTRY_COMPARE_WITH_TIMEOUT(calls, 1, 5000);
    QVERIFY(!timer->Enabled());
    QTest::qWait(30);
    QCOMPARE(calls, 1);

    // Turned on again, it calls again.
    timer->SetEnabled(true);
    QTRY_COMPARE_WITH_TIMEOUT(calls, 2, 5000);
}

void TestMainTimer::offAndOnInsideTheHandlerKeepsTicking()
{
    QObject owner;
    int calls = 0;
    TQtTimer* timer = nullptr;
    timer = new TQtTimer(1, [&] {
        timer->SetEnabled(false);
        ++calls;
        timer->SetEnabled(calls < 20);
    }, &owner);
    timer->SetEnabled(true);
    QTRY_COMPARE_WITH_TIMEOUT(calls, 20, 5000);
    QTest::qWait(30);
    QCOMPARE(calls, 20);
}

QTEST_GUILESS_MAIN(TestMainTimer)
#include "tst_main_timer.moc"
