// The editor with big programs, offscreen unless a display is chosen: the time
// from creating the main window with a 100,002-line file to its first paint,
// the check that runs while typing on that file, the longest the window stands
// still in runs of it, and the processor time the idle window takes with a
// file that is one 10 MiB line.
#include <QApplication>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QFile>
#include <QKeyEvent>
#include <QTextBlock>
#include <QPlainTextEdit>
#include <QTemporaryDir>
#include <QTimer>
#include <QWindow>
#include <algorithm>
#include <cstdio>
#include <ctime>
#include <memory>

#include "ui/app/application.h"
#include "ui/mainwindow/main.h"
#include "ui/editor/sourcechecker.h"
#include "ui/app/style.h"

namespace {

QByteArray BigProgram()
{
    const QByteArray line =
        "+01 -01 $0ABC +@0001 ^0002 < > * ' comment text here to pad the line out\r\n";
    QByteArray text = "$0001[02:\r\n";
    text.reserve(line.size() * 100000 + 16);
    for (int i = 0; i < 100000; ++i)
        text += line;
    return text + "]\r\n";
}

// The big program with a fault on every line: a number that cannot be read.
QByteArray FaultyProgram()
{
    QByteArray text = BigProgram();
    text.replace("here to pad the line out\r\n", "\r\n+1\r\n");
    return text;
}

QByteArray LongLine() { return QByteArray("+01 ").repeated(10 * 1024 * 1024 / 4); }

QString WriteFile(const QTemporaryDir& dir, const char* name, const QByteArray& bytes)
{
    const QString path = dir.filePath(QString::fromLatin1(name));
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size())
        qFatal("cannot write %s", qPrintable(path));
    return path;
}

// Peak resident memory of the process so far, in MB.
double PeakMb()
{
    QFile status(QStringLiteral("/proc/self/status"));
    if (!status.open(QIODevice::ReadOnly))
        return 0;
    for (const QByteArray& line : status.readAll().split('\n')) {
        if (line.startsWith("VmHWM:"))
            return line.mid(6).trimmed().split(' ').first().toDouble() / 1024.0;
    }
    return 0;
}

// The processor time of the calling thread alone: on a busy machine the wall
// time of the window's share counts the other processes too.
double ThreadCpuMs()
{
    timespec now{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &now);
    return double(now.tv_sec) * 1e3 + double(now.tv_nsec) / 1e6;
}

double CpuSeconds()
{
    timespec now{};
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &now);
    return double(now.tv_sec) + double(now.tv_nsec) / 1e9;
}

void Wait(int ms)
{
    QEventLoop loop;
    QTimer::singleShot(ms, &loop, &QEventLoop::quit);
    loop.exec();
}

// The longest the event loop went without turning while `run` was under way
// for `ms`: a 5 ms timer notes every turn.
template <typename F>
double LongestStallMs(int ms, F run)
{
    QElapsedTimer clock;
    clock.start();
    qint64 last = 0;
    qint64 longest = 0;
    QTimer beat;
    QObject::connect(&beat, &QTimer::timeout, [&] {
        longest = std::max(longest, clock.nsecsElapsed() - last);
        last = clock.nsecsElapsed();
    });
    beat.start(5);
    QTimer::singleShot(0, run);
    // A run that ends opens its results window: closed, so the wait can end.
    QTimer closer;
    QObject::connect(&closer, &QTimer::timeout, [] {
        if (QWidget* modal = QApplication::activeModalWidget())
            modal->close();
    });
    closer.start(50);
    Wait(ms);
    return double(longest) / 1e6;
}

// A command's own time: from the call to its return.
template <typename F>
double CommandMs(F command)
{
    QElapsedTimer clock;
    clock.start();
    command();
    return double(clock.nsecsElapsed()) / 1e6;
}

// The slowest of `count` blanks typed at (line, column), each up to the
// repaint: blanks keep a program valid.
double SlowestKeyMs(QPlainTextEdit& editor, int line, int column, int count)
{
    editor.setFocus();
    QTextCursor caret(editor.document()->findBlockByNumber(line));
    caret.setPosition(caret.position() + column);
    editor.setTextCursor(caret);
    QCoreApplication::processEvents();
    double slowest = 0;
    for (int i = 0; i < count; ++i) {
        QKeyEvent press(QEvent::KeyPress, Qt::Key_Space, Qt::NoModifier, QStringLiteral(" "));
        QKeyEvent release(QEvent::KeyRelease, Qt::Key_Space, Qt::NoModifier, QStringLiteral(" "));
        slowest = std::max(slowest, CommandMs([&] {
            QApplication::sendEvent(&editor, &press);
            QApplication::sendEvent(&editor, &release);
            editor.viewport()->repaint();
        }));
    }
    return slowest;
}

double SetTextMs(QPlainTextEdit& editor, const QString& text)
{
    editor.resize(800, 500);
    editor.show();
    QCoreApplication::processEvents();
    QElapsedTimer clock;
    clock.start();
    editor.setPlainText(text);
    editor.repaint();
    return double(clock.nsecsElapsed()) / 1e6;
}

// From creating the window with the file to the window shown and painted.
std::unique_ptr<TfMain> OpenTimed(const QString& path, double& ms)
{
    QElapsedTimer clock;
    clock.start();
    auto window = std::make_unique<TfMain>(path.isEmpty() ? QStringList() : QStringList{path});
    window->show();
    while (!window->windowHandle() || !window->windowHandle()->isExposed())
        QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
    QCoreApplication::processEvents();
    ms = double(clock.nsecsElapsed()) / 1e6;
    window->activateWindow();
    return window;
}

} // namespace

int main(int argc, char** argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    TVeskApplication app(argc, argv);
    TVeskApplication::SetTitle(QStringLiteral("Vesk"));
    ApplyApplicationStyle(app);
    QTemporaryDir dir;
    const QString big = WriteFile(dir, "big.veskp", BigProgram());
    const QString longLine = WriteFile(dir, "longline.veskp", LongLine());
    const QString faulty = WriteFile(dir, "faulty.veskp", FaultyProgram());

    // "big" or "long" runs one part alone, e.g. under a profiler.
    const QString only = argc > 1 ? QString::fromLocal8Bit(argv[1]) : QString();
    double ms = 0;
    OpenTimed({}, ms).reset(); // fonts and styles load once
    std::printf("empty main window, shown: %.1f ms\n", ms);
    if (only != QStringLiteral("long")) {
        auto window = OpenTimed(big, ms);
        std::printf("100,002 lines (%.1f MB), created, loaded and shown: %.1f ms, "
                    "peak memory %.0f MB\n",
                    double(QFile(big).size()) / 1e6, ms, PeakMb());
        // The editor's own share: the same text into it and into a bare text edit.
        auto* editor = window->findChild<QPlainTextEdit*>(QStringLiteral("mEditor"));
        const QString text = editor->toPlainText();
        std::printf("setPlainText into the program editor: %.1f ms, "
                    "into a bare QPlainTextEdit: %.1f ms\n",
                    SetTextMs(*editor, text), SetTextMs(*std::make_unique<QPlainTextEdit>(), text));
        std::printf("a key typed in it, up to the repaint: at most %.1f ms\n",
                    SlowestKeyMs(*editor, 50000, 0, 20));
        // The check runs on a worker: the window's share is the copy of the text.
        auto* checker = window->findChild<TSourceChecker*>();
        QElapsedTimer clock;
        QEventLoop checked;
        QObject::connect(checker, &TSourceChecker::Checked, &checked, &QEventLoop::quit);
        clock.start();
        const double ownCpu = ThreadCpuMs();
        checker->CheckNow();
        const double own = double(clock.nsecsElapsed()) / 1e6;
        const double ownProcessor = ThreadCpuMs() - ownCpu;
        checked.exec();
        std::printf("check while typing on it: %.1f ms in the window's thread (%.1f ms of its "
                    "processor time), its result after %.1f ms\n",
                    own, ownProcessor, double(clock.nsecsElapsed()) / 1e6);
        // Runs of it, paced and unpaced: the longest stall of the window, and
        // how long Pause and Stop take.
        TfMain* w = window.get();
        // The program is made ready on a worker thread: the steps show the run
        // really went. A continue and a step go straight on, in the window's thread.
        const double paced = LongestStallMs(1500, [w] { w->bBigRunClick(); });
        const double pause = CommandMs([w] { w->bBigPauseClick(); });
        const auto steps = static_cast<unsigned long long>(w->Core()->Step());
        const double resume = CommandMs([w] { w->bBigRunClick(); });
        const double step = CommandMs([w] { w->nStepItemClick(); });
        const double stop = CommandMs([w] { w->bBigStopClick(); });
        std::printf("paced run of it: longest stall %.1f ms, %llu steps in 1.5 s; pause %.1f ms, "
                    "continue %.1f ms, step %.1f ms, stop %.1f ms\n",
                    paced, steps, pause, resume, step, stop);
        const double unpaced = LongestStallMs(1500, [w] { w->nRunUnpacedItemClick(); });
        const double pause2 = CommandMs([w] { w->bBigPauseClick(); });
        const auto steps2 = static_cast<unsigned long long>(w->Core()->Step());
        const double stop2 = CommandMs([w] { w->bBigStopClick(); });
        std::printf("unpaced run of it: longest stall %.1f ms, %llu steps in 1.5 s; pause %.1f ms, "
                    "stop %.1f ms\n",
                    unpaced, steps2, pause2, stop2);
    }
    if (only != QStringLiteral("long")) {
        // Every problem is marked: the window's share is taking them in.
        auto window = OpenTimed(faulty, ms);
        auto* checker = window->findChild<TSourceChecker*>();
        auto* editor = window->findChild<QPlainTextEdit*>(QStringLiteral("mEditor"));
        const double before = ThreadCpuMs();
        const double stall = LongestStallMs(3000, [checker] { checker->CheckNow(); });
        // Besides the 5 ms beats and the copy of the text, what the window
        // spends is taking the problems in.
        const double windowCpu = ThreadCpuMs() - before;
        std::printf("200,002 lines with 100,000 problems: longest stall while checking %.1f ms, "
                    "window's processor time in those 3 s %.1f ms; a key typed in it, up to the "
                    "repaint: at most %.1f ms\n",
                    stall, windowCpu, SlowestKeyMs(*editor, 100000, 0, 20));
    }
    if (only != QStringLiteral("big")) {
        auto window = OpenTimed(longLine, ms);
        std::printf("one 10 MiB line, created, loaded and shown: %.1f ms, peak memory %.0f MB\n",
                    ms, PeakMb());
        // The editor's own share, as for the big program.
        auto* editor = window->findChild<QPlainTextEdit*>(QStringLiteral("mEditor"));
        const QString text = editor->toPlainText();
        std::printf("setPlainText of it into the program editor: %.1f ms, "
                    "into a bare QPlainTextEdit: %.1f ms\n",
                    SetTextMs(*editor, text), SetTextMs(*std::make_unique<QPlainTextEdit>(), text));
        std::printf("a key typed in it, up to the repaint: at most %.1f ms\n",
                    SlowestKeyMs(*editor, 0, 4, 3));
        Wait(1000); // the check after loading
        const double cpu = CpuSeconds();
        QElapsedTimer clock;
        clock.start();
        Wait(5000);
        std::printf("idle with it for %.1f s: %.1f %% of one core\n",
                    double(clock.elapsed()) / 1000.0,
                    100.0 * (CpuSeconds() - cpu) / (double(clock.elapsed()) / 1000.0));
    }
    return 0;
}
