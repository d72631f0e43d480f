// The IDE's own figures, offscreen: start-up time to a shown main window, and
// the tick rate of a real run in it, from the Run click until the results
// window opens.
#include <QCommandLinkButton>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QPlainTextEdit>
#include <QTimer>
#include <QWindow>
#include <cstdio>
#include <memory>

#include "ui/application.h"
#include "ui/main.h"
#include "ui/results.h"
#include "ui/style.h"

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

    window->findChild<QPlainTextEdit*>(QStringLiteral("mEditor"))->setPlainText(BenchProgram());
    QEventLoop loop;
    QElapsedTimer clock;
    TResultsWatch watch(clock, loop);
    app->installEventFilter(&watch);
    clock.start();
    window->findChild<QCommandLinkButton*>(QStringLiteral("bBigRun"))->click();
    loop.exec();
    app->removeEventFilter(&watch);

    const double seconds = double(watch.shownAtNs) / 1e9;
    const auto ticks = window->Core()->Step();
    std::printf("run: %llu ticks in %.3f s = %.1f ticks/s\n",
                static_cast<unsigned long long>(ticks), seconds, double(ticks) / seconds);
    window.reset();
    app.reset();
    return 0;
}
