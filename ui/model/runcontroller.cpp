#include "ui/model/runcontroller.h"

#include <algorithm>
#include <utility>

#include "ui/app/application.h"
#include "ui/editor/codeeditor.h"
#include "ui/model/qttimer.h"

namespace {

// From this many characters on, a program is made ready on a worker thread,
// where splitting, preparing, checking and decoding it would otherwise hold
// the window still: a few milliseconds' worth stays in the window's thread.
constexpr qsizetype kPrepareApartFrom = 256 * 1024;

// An unpaced run returns to the event loop this often, in seconds: the window
// then reacts well within 50 ms.
constexpr double kUnpacedSlice = 0.010;

} // namespace

TRunControls RunControlsFor(TRunState state)
{
    switch (state) {
    case TRunState::rsPreparing:
    case TRunState::rsRunning: return {false, true, true, true};
    case TRunState::rsPaused: return {true, true, true, true};
    case TRunState::rsIdle:
    case TRunState::rsHalted: break;
    }
    return {true, false, false, false};
}

TRunController::TRunController(std::function<QString()> source, QObject* parent)
    : QObject(parent), _source(std::move(source)), _core(std::make_unique<TVeskCore>(*this)),
      _preparer(std::make_unique<TLatestJob<TPreparedProgram>>())
{
    BindEvents();
}

TRunController::~TRunController()
{
    // A job under way gives up at its next look at the token: no long wait here.
    _preparer.reset();
    _core.reset();
}

TVeskTimer& TRunController::MakeTimer(int /*intervalMs*/, std::function<void()> handler)
{
    // The specified pace costs nothing more per tick: only a slow one is told.
    _timer = new TQtTimer(Unpaced() ? 1 : _tickMs, [this, handler = std::move(handler)] {
        handler();
        if (_tickMs >= kShowEveryTickFromMs && _state == TRunState::rsRunning && !Unpaced())
            emit SlowTick();
    }, this);
    return *_timer;
}

void TRunController::SetTickMs(int ms)
{
    _tickMs = std::max(1, ms);
    ApplyTickMs();
}

void TRunController::ApplyTickMs()
{
    // The unpaced run's slices follow one another without a wait.
    if (_timer)
        _timer->SetInterval(Unpaced() ? 1 : _tickMs);
}

void TRunController::BindEvents()
{
    // What a listener throws is reported here and never reaches the core.
    const auto guarded = [](std::function<void()> handler) {
        return [handler = std::move(handler)](TVeskCore&) { TVeskApplication::RunCommand(handler); };
    };
    _core->OnStart = guarded([this] {
        SetState(TRunState::rsRunning);
        emit Started();
    });
    _core->OnPause = guarded([this] {
        // The core also pauses by itself (a breakpoint, a step): then as after
        // Pause, Run continues rather than starting afresh.
        SetState(TRunState::rsPaused);
        emit Paused();
    });
    _core->OnStop = guarded([this] {
        SetState(TRunState::rsIdle);
        emit Stopped();
    });
    _core->OnFinish = guarded([this] {
        SetState(TRunState::rsIdle);
        emit Finished();
    });
    _core->OnHandlerFailure = [](std::exception_ptr failure) {
        TVeskApplication::RunCommand([&failure] { std::rethrow_exception(failure); });
    };
    _core->OnError = [this](TVeskCore&, std::int32_t line, std::int32_t column,
                            const TCoreError& error) {
        TVeskApplication::RunCommand([&] { emit ErrorRaised(line, column, error); });
    };
}

void TRunController::SetState(TRunState state)
{
    if (_state == state)
        return;
    _state = state;
    emit StateChanged(state);
}

// ---- commands ----------------------------------------------------------------

void TRunController::Run() { Start(0, {}); }

bool TRunController::SetCellByHand(const QString& address, std::uint8_t value)
{
    if (_state != TRunState::rsPaused)
        return false;
    return _core->SetCellByHand(address.toStdU16String(), value);
}

void TRunController::PauseAtMoment()
{
    if (_state == TRunState::rsIdle || _state == TRunState::rsHalted)
        SetState(TRunState::rsPaused);
}

void TRunController::RunUnpaced() { Start(kUnpacedSlice, {}); }

void TRunController::Step() { StepBy([](TVeskCore& core) { core.RequestStepStop(); }); }

void TRunController::StepOver() { StepBy([](TVeskCore& core) { core.RequestStepOver(); }); }

void TRunController::StepOut() { StepBy([](TVeskCore& core) { (void)core.RequestStepOut(); }); }

void TRunController::StepBy(void (*request)(TVeskCore& core))
{
    if (_state != TRunState::rsPaused && _state != TRunState::rsHalted) {
        // From no run: start, and pause before the first step.
        Start(0, [this] { PauseAtStart(); });
        return;
    }
    // Asked after the continue: no step runs before control is back in the event loop.
    Start(0, [this, request] {
        if (_core->IsRun())
            request(*_core);
    });
}

void TRunController::RunToLine(std::int32_t line)
{
    Start(0, [this, line] {
        if (_core->IsRun())
            _core->SetRunToLine(line);
    });
}

void TRunController::Start(double slice, TAfterStart afterStart)
{
    if (_state == TRunState::rsPreparing)
        return; // a start is under way
    TVeskApplication::RunCommand([&] {
        if (_state == TRunState::rsPaused || _state == TRunState::rsHalted) {
            if (slice > 0)
                _core->SetTimerSlice(slice);
            Launch(afterStart);
            return;
        }
        _core->Reset();
        _core->SetTimerSlice(slice);
        QString text = _source();
        emit TextCopied(text);
        if (text.size() < kPrepareApartFrom) {
            _core->LoadPrepared(TPreparedProgram(TCodeEditor::ProgramLines(text)));
            Launch(afterStart);
            return;
        }
        // The text as it is now runs, whatever is typed meanwhile. Until the
        // program comes, Pause and Stop work as on a run.
        auto work = [text = std::move(text)](std::stop_token stop) mutable {
            auto lines = TCodeEditor::ProgramLines(std::exchange(text, QString()));
            return TPreparedProgram(std::move(lines), std::move(stop));
        };
        _preparer->Start(std::move(work), [this](TPreparedProgram program, std::exception_ptr failure) {
            TVeskApplication::RunCommand([&] {
                if (failure) {
                    _core->Stop();
                    std::rethrow_exception(failure);
                }
                _core->LoadPrepared(std::move(program));
                Launch(std::exchange(_afterStart, nullptr));
            });
        });
        _afterStart = std::move(afterStart);
        SetState(TRunState::rsPreparing);
    });
}

void TRunController::Launch(const TAfterStart& afterStart)
{
    // A target of «Выполнить до курсора» that a pause cut short is not kept.
    _core->SetRunToLine(-1);
    ApplyTickMs();
    _core->Execute();
    if (_state == TRunState::rsPreparing || _state == TRunState::rsHalted) {
        // The core raised no event of its own (an empty program finishes at once).
        SetState(_core->IsRun() ? TRunState::rsRunning : TRunState::rsIdle);
    }
    if (afterStart)
        afterStart();
}

void TRunController::PauseAtStart()
{
    if (_core->IsRun())
        _core->Pause();
}

void TRunController::Pause()
{
    if (_state == TRunState::rsPreparing) {
        _afterStart = [this] { PauseAtStart(); };
        return;
    }
    TVeskApplication::RunCommand([this] { _core->Pause(); });
}

void TRunController::Stop()
{
    TVeskApplication::RunCommand([this] {
        _preparer->Cancel();
        _afterStart = nullptr;
        _core->Stop();
        _core->Reset();
        SetState(TRunState::rsIdle);
        emit Cleared();
    });
}

void TRunController::Halt()
{
    TVeskApplication::RunCommand([this] {
        const bool begun = _state == TRunState::rsRunning || _state == TRunState::rsPaused;
        _preparer->Cancel();
        _afterStart = nullptr;
        _core->Stop();
        SetState(begun ? TRunState::rsHalted : TRunState::rsIdle);
    });
}
