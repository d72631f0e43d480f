// The worker behind the preparation of big programs and the check while
// typing: results come back in the caller's thread, only the latest job's, and
// what the work throws comes back instead of ending the program.
#include <QTest>
#include <QThread>
#include <atomic>
#include <stdexcept>
#include <vector>

#include "ui/model/latestjob.h"

class TestLatestJob : public QObject {
    Q_OBJECT
private slots:
    void resultComesBackInTheCallersThread();
    void onlyTheLatestJobCounts();
    void failureComesBackAsTheException();
    void destructionWaitsForTheJobUnderWay();
    void cancelStopsTheWorkUnderWay();
};

void TestLatestJob::resultComesBackInTheCallersThread()
{
    TLatestJob<int> job;
    QThread* worker = nullptr;
    QThread* delivered = nullptr;
    int result = 0;
    job.Start(
        [&worker] {
            worker = QThread::currentThread();
            return 42;
        },
        [&](int value, std::exception_ptr failure) {
            QVERIFY(!failure);
            delivered = QThread::currentThread();
            result = value;
        });
    QVERIFY(job.Busy());
    // Never delivered inside Start: only once the event loop turns.
    QCOMPARE(result, 0);
    QTRY_COMPARE(result, 42);
    QVERIFY(!job.Busy());
    QVERIFY(worker != QThread::currentThread());
    QCOMPARE(delivered, QThread::currentThread());
}

void TestLatestJob::onlyTheLatestJobCounts()
{
    TLatestJob<int> job;
    std::vector<int> results;
    const auto record = [&results](int value, std::exception_ptr) { results.push_back(value); };
    job.Start([] { return 1; }, record);
    job.Start([] { return 2; }, record);
    QTRY_VERIFY(!job.Busy());
    QTest::qWait(50);
    QCOMPARE(results, std::vector<int>{2});

    // Cancelled: nothing comes, and the job is free for the next one.
    job.Start([] { return 3; }, record);
    job.Cancel();
    QVERIFY(!job.Busy());
    QTest::qWait(50);
    QCOMPARE(results, std::vector<int>{2});
    job.Start([] { return 4; }, record);
    QTRY_COMPARE(results, (std::vector<int>{2, 4}));
}

void TestLatestJob::failureComesBackAsTheException()
{
    TLatestJob<std::vector<int>> job;
    bool called = false;
    job.Start([]() -> std::vector<int> { throw std::bad_alloc(); },
              [&](std::vector<int> value, std::exception_ptr failure) {
                  called = true;
                  QVERIFY(value.empty());
                  QVERIFY(failure);
                  QVERIFY_THROWS_EXCEPTION(std::bad_alloc, std::rethrow_exception(failure));
              });
    QTRY_VERIFY(called);
}

void TestLatestJob::destructionWaitsForTheJobUnderWay()
{
    std::atomic<bool> started = false;
    std::atomic<bool> finished = false;
    bool called = false;
    {
        TLatestJob<int> job;
        job.Start(
            [&started, &finished] {
                started = true;
                QThread::msleep(100);
                finished = true;
                return 1;
            },
            [&called](int, std::exception_ptr) { called = true; });
        QTRY_VERIFY(started.load());
    }
    QVERIFY(finished);
    // Its result has nowhere to go and is dropped.
    QTest::qWait(50);
    QVERIFY(!called);
}

void TestLatestJob::cancelStopsTheWorkUnderWay()
{
    // Work that would go on for ever unless asked to stop: Cancel and a newer
    // job each end it, and the owner never waits for it.
    std::atomic<int> started = 0;
    std::atomic<int> ended = 0;
    bool called = false;
    const auto endless = [&started, &ended](std::stop_token stop) {
        ++started;
        while (!stop.stop_requested())
            QThread::msleep(1);
        ++ended;
        return 0;
    };
    TLatestJob<int> job;
    job.Start(endless, [&called](int, std::exception_ptr) { called = true; });
    QTRY_COMPARE(started.load(), 1);
    job.Start(endless, [&called](int, std::exception_ptr) { called = true; });
    QTRY_COMPARE(ended.load(), 1);
    QTRY_COMPARE(started.load(), 2);
    job.Cancel();
    QTRY_COMPARE(ended.load(), 2);
    QTest::qWait(20);
    QVERIFY(!called);
}

QTEST_MAIN(TestLatestJob)
#include "tst_latestjob.moc"
