// The IDE's own figures, offscreen: start-up time to a shown main window; the
// tick rate of a real run in it, from the Run click until the results window
// opens, plain and with the cells panel open and the next operator followed,
// with the CPU time the IDE took; and the wall time of an unpaced run of
// 255^3 loops, without and with a watchpoint, against vesk-run's when its
// path is given.
// Usage: ide_bench [PATH/TO/vesk-run]
#include <QElapsedTimer>
#include <QEventLoop>
#include <QFile>
#include <QKeyEvent>
#include <QPlainTextEdit>
#include <QProcess>
#include <QTemporaryDir>
#include <QTimer>
#include <QWindow>
#include <cstdio>
#include <memory>
#include <sys/resource.h>

#include "ui/app/application.h"
#include "ui/mainwindow/main.h"
#include "ui/model/runcontroller.h"
#include "ui/results/results.h"
#include "ui/app/style.h"

namespace {

// 256 passes of 21 operators plus the loop's own ticks: well over 5,000 ticks.
QString BenchProgram()
{
    QString body;
    for (int i = 0; i < 20; ++i)
        body += QStringLiteral("+01");
    return QStringLiteral("$0001[FF:") + body + QStringLiteral("]\n$0002+01");
}

// Notes when the results window shows and closes it from the event loop.
class TResultsWatch final : public QObject {
public:
    TResultsWatch(const QElapsedTimer& clock, QEventLoop& loop) : _clock(clock), _loop(loop) {}
    qint64 shownAtNs = -1;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (event->type() == QEvent::Show && shownAtNs < 0) {
            if (auto* results = qobject_cast<TfResults*>(watched)) {
                shownAtNs = _clock.nsecsElapsed();
                QTimer::singleShot(0, results, &QDialog::reject);
                QTimer::singleShot(0, &_loop, &QEventLoop::quit);
            }
        }
        return false;
    }

private:
    const QElapsedTimer& _clock;
    QEventLoop& _loop;
};

// The same kind of loop on a line of over 1 MiB, a comment taking most of it:
// what each display update costs must not grow with the line.
QString LongLineProgram()
{
    QString body;
    for (int i = 0; i < 20; ++i)
        body += QStringLiteral("+01");
    return QStringLiteral("$0001[FF:") + body + QStringLiteral("] ' ")
           + QString(1 << 20, u'x') + QStringLiteral("\n$0002+01");
}

const QString kNestedLoops = QStringLiteral("$0001[FF:[FF:[FF:+01]]]");

// CPU time of this process so far, user and system, in seconds.
double CpuSeconds()
{
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    const auto seconds = [](const timeval& t) { return double(t.tv_sec) + double(t.tv_usec) / 1e6; };
    return seconds(usage.ru_utime) + seconds(usage.ru_stime);
}

struct TRunFigures {
    std::uint64_t ticks = 0;
    double seconds = 0; // from the key to the results window
    double cpuSeconds = 0;
};

// Runs the program with a key pressed in the editor, as a user would, and
// waits for the results window.
TRunFigures TimeRun(QApplication& app, TfMain& window, const QString& program, Qt::Key key,
                    Qt::KeyboardModifiers modifiers)
{
    auto* editor = window.findChild<QPlainTextEdit*>(QStringLiteral("mEditor"));
    editor->setPlainText(program);
    QEventLoop loop;
    QElapsedTimer clock;
    TResultsWatch watch(clock, loop);
    app.installEventFilter(&watch);
    const double cpu0 = CpuSeconds();
    clock.start();
    QKeyEvent press(QEvent::KeyPress, key, modifiers);
    QCoreApplication::sendEvent(editor, &press);
    loop.exec();
    app.removeEventFilter(&watch);
    return {window.Core()->Step(), double(watch.shownAtNs) / 1e9, CpuSeconds() - cpu0};
}

void PrintRun(const char* what, const TRunFigures& run)
{
    std::printf("%s: %llu ticks in %.3f s = %.1f ticks/s, CPU %.1f %% of one core\n", what,
                static_cast<unsigned long long>(run.ticks), run.seconds,
                double(run.ticks) / run.seconds, 100.0 * run.cpuSeconds / run.seconds);
}

// vesk-run's wall time on the same program, in seconds; negative when it failed.
double RunnerSeconds(const QString& runner, const QString& program)
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("nested.veskp"));
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        return -1;
    file.write(program.toLatin1());
    file.close();
    QProcess process;
    process.setStandardOutputFile(QProcess::nullDevice());
    QElapsedTimer clock;
    clock.start();
    process.start(runner, {path});
    if (!process.waitForFinished(-1) || process.exitCode() != 0)
        return -1;
    return double(clock.nsecsElapsed()) / 1e9;
}

double StartUpMs(int& argc, char** argv, std::unique_ptr<TVeskApplication>& app,
                 std::unique_ptr<TfMain>& window)
{
    QElapsedTimer clock;
    clock.start();
    app = std::make_unique<TVeskApplication>(argc, argv);
    TVeskApplication::SetTitle(QStringLiteral("Vesk"));
    ApplyApplicationStyle(*app);
    window = std::make_unique<TfMain>();
    window->show();
    while (!window->windowHandle() || !window->windowHandle()->isExposed())
        QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
    QCoreApplication::processEvents();
    return double(clock.nsecsElapsed()) / 1e6;
}

} // namespace

int main(int argc, char** argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    std::unique_ptr<TVeskApplication> app;
    std::unique_ptr<TfMain> window;
    const double startUpMs = StartUpMs(argc, argv, app, window);
    std::printf("start-up to a shown main window: %.1f ms\n", startUpMs);

    PrintRun("paced run", TimeRun(*app, *window, BenchProgram(), Qt::Key_F9, Qt::NoModifier));
    window->nCellsItemClick();
    PrintRun("paced run, cells panel open, next operator followed",
             TimeRun(*app, *window, BenchProgram(), Qt::Key_F9, Qt::NoModifier));

    PrintRun("paced run, loop on a 1 MiB line, cells panel open",
             TimeRun(*app, *window, LongLineProgram(), Qt::Key_F9, Qt::NoModifier));

    const TRunFigures unpaced =
        TimeRun(*app, *window, kNestedLoops, Qt::Key_F9, Qt::ShiftModifier);
    PrintRun("unpaced run of 255^3 loops, cells panel open", unpaced);
    // The same with a watchpoint on a cell the loops never touch: the run
    // takes the observed path all the way.
    window->Run()->Core().SetWatchpoints({*TWatchpoint::Make(u"0002", wkWrite | wkChange)});
    const TRunFigures watched =
        TimeRun(*app, *window, kNestedLoops, Qt::Key_F9, Qt::ShiftModifier);
    window->Run()->Core().SetWatchpoints({});
    PrintRun("unpaced run of 255^3 loops, one watchpoint", watched);
    if (argc > 1) {
        const double runner = RunnerSeconds(QString::fromLocal8Bit(argv[1]), kNestedLoops);
        std::printf("vesk-run on the same loops: %.3f s; the IDE takes %.2f times as long, "
                    "%.2f times with the watchpoint\n",
                    runner, unpaced.seconds / runner, watched.seconds / runner);
    }
    window.reset();
    app.reset();
    return 0;
}
