// The IDE's command line: what the real binary prints and returns.
#include <QProcess>
#include <QProcessEnvironment>
#include <QTest>

namespace {

struct TRun {
    int exitCode = -1;
    QByteArray out;
    QByteArray err;
};

// The platform is left to the binary: without one it must still answer
// --help and --version, having no display to open.
TRun RunVesk(const QStringList& args, const QString& platform = {})
{
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    for (const char* name : {"DISPLAY", "WAYLAND_DISPLAY", "QT_QPA_PLATFORM"})
        environment.remove(QString::fromLatin1(name));
    if (!platform.isEmpty())
        environment.insert(QStringLiteral("QT_QPA_PLATFORM"), platform);
    QProcess process;
    process.setProcessEnvironment(environment);
    process.start(QStringLiteral(VESK_PATH), args);
    TRun run;
    if (!process.waitForFinished(60000) || process.exitStatus() != QProcess::NormalExit) {
        process.kill();
        process.waitForFinished();
        return run;
    }
    run.exitCode = process.exitCode();
    run.out = process.readAllStandardOutput();
    run.err = process.readAllStandardError();
    return run;
}

} // namespace

class TestCommandLine : public QObject {
    Q_OBJECT
private slots:
    void helpAndVersionNeedNoDisplay_data();
    void helpAndVersionNeedNoDisplay();
    void unknownOptionIsUsageError();
};

void TestCommandLine::helpAndVersionNeedNoDisplay_data()
{
    QTest::addColumn<QStringList>("args");
    QTest::addColumn<QByteArray>("start");
    const QByteArray usage = "Usage: vesk [options] [FILE]\n";
    const QByteArray version = "vesk " VESK_EXPECTED_VERSION "\n";
    QTest::newRow("--help") << QStringList{"--help"} << usage;
    QTest::newRow("-h after a file") << QStringList{"a.veskp", "-h"} << usage;
    QTest::newRow("--version") << QStringList{"--version"} << version;
    QTest::newRow("-v among toolkit options") << QStringList{"-style", "fusion", "-reverse", "-v"}
                                              << version;
}

void TestCommandLine::helpAndVersionNeedNoDisplay()
{
    QFETCH(QStringList, args);
    QFETCH(QByteArray, start);
    const TRun run = RunVesk(args);
    QCOMPARE(run.exitCode, 0);
    QVERIFY2(run.out.startsWith(start), run.out.constData());
    QCOMPARE(run.err, QByteArray());
    if (start.startsWith("vesk "))
        QCOMPARE(run.out, start);
    else
        QVERIFY(run.out.contains("-v, --version") && run.out.contains("FILE"));
}

void TestCommandLine::unknownOptionIsUsageError()
{
    const TRun run = RunVesk({QStringLiteral("-platform"), QStringLiteral("offscreen"),
                              QStringLiteral("--bogus"), QStringLiteral("a.veskp")},
                             QStringLiteral("offscreen"));
    QCOMPARE(run.exitCode, 2);
    QVERIFY2(run.err.contains("vesk: unknown option 'bogus'\nUsage: vesk [options] [FILE]\n"),
             run.err.constData());
    // The usage stays in one language even though the toolkit's texts are Russian by then.
    QVERIFY(run.err.contains("\nOptions:\n"));
    QCOMPARE(run.out, QByteArray());
}

QTEST_GUILESS_MAIN(TestCommandLine)
#include "tst_commandline.moc"
