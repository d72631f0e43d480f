// The run of the program: the interpreter, the worker that makes a big
// program ready, the timer, and the one state every view reads (the run
// buttons, the status bar, the debugger). It knows nothing of the windows: it
// takes the text to run from a function and tells what happens by signals.
#pragma once

#include <QObject>
#include <QString>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>

#include "core/preparedprogram.h"
#include "core/veskcore.h"
#include "core/vesktimer.h"
#include "ui/model/latestjob.h"

class TQtTimer;

enum class TRunState {
    rsIdle,      // no run: Run starts afresh
    rsPreparing, // a big program is made ready on the worker; the run begins when it is
    rsRunning,
    rsPaused,    // Run continues where it stopped
    // Stopped by the close question whose save was then cancelled: the
    // controls say stopped, yet Run continues the program where it stopped.
    rsHalted,
};

// The states of the three run buttons and the Run button's caption.
struct TRunControls {
    bool run = true;
    bool pause = false;
    bool stop = false;
    bool continueCaption = false; // «Продолжить» rather than «Выполнить»
};
[[nodiscard]] TRunControls RunControlsFor(TRunState state);

class TRunController final : public QObject, public TTimerOwner {
    Q_OBJECT
public:
    // source gives the program text a fresh start copies (the editor's).
    explicit TRunController(std::function<QString()> source, QObject* parent = nullptr);
    ~TRunController() override;

    [[nodiscard]] TRunState State() const { return _state; }
    // Running, paused or about to: what the close question asks about.
    [[nodiscard]] bool Active() const { return _state != TRunState::rsIdle; }
    // The run goes in slices without the pace (the debugger's unpaced run).
    [[nodiscard]] bool Unpaced() const { return _core->TimerSlice() > 0; }
    // The interpreter. Views read it; only the debugger's breakpoints write to it.
    [[nodiscard]] const TVeskCore& Core() const { return *_core; }
    [[nodiscard]] TVeskCore& Core() { return *_core; }

    // ---- commands: each reports its own failure and never throws ----------
    // A fresh start, or a continue of a paused run; ignored while preparing.
    void Run();
    // As Run, without the pace: in slices that return to the event loop.
    void RunUnpaced();
    // One step of a paused run; from no run, a start paused before its first step.
    void Step();
    // Over the loop or block the next operator of a paused run opens (else one
    // step), or out of the innermost one around it (else the run goes on);
    // from no run, as Step.
    void StepOver();
    void StepOut();
    // Runs until execution arrives at `line` of the running program.
    void RunToLine(std::int32_t line);
    // A run still being made ready pauses before its first step.
    void Pause();
    // Drops the run and resets the interpreter.
    void Stop();
    // The close question's stop: the interpreter stops without a reset, and a
    // run that went on is kept to be continued (rsHalted).
    void Halt();
    // The interpreter was moved back to an earlier moment of its run: a run
    // that had ended is paused there, so Run and Step go on from it.
    void PauseAtMoment();
    // A debugging act on a paused run: sets a cell, adding it when missing.
    // False, and nothing changed, for a bad address or when not paused.
    bool SetCellByHand(const QString& address, std::uint8_t value);

    // The paced run's milliseconds per operator: 1 unless the user slowed it.
    // Still one operator a tick; the run time stays the core's own.
    [[nodiscard]] int TickMs() const { return _tickMs; }
    void SetTickMs(int ms);
    // Ticks slower than this are each shown: slower than a display refresh.
    static constexpr int kShowEveryTickFromMs = 50;

    TVeskTimer& MakeTimer(int intervalMs, std::function<void()> handler) override;

signals:
    // After every change of State(), before the event that caused it goes on.
    void StateChanged(TRunState state);
    // The interpreter's events, in its order. Finished comes before the
    // Stopped that follows it, with the state already idle.
    void Started();
    void Paused();
    void Stopped();
    void Finished();
    // A fresh start copied this text: the run goes on with it, whatever is
    // edited meanwhile.
    void TextCopied(const QString& text);
    // The interpreter was reset by Stop: its cells, stacks and place are gone.
    void Cleared();
    // Line 0-based and column 1-based in the running program's prepared lines;
    // column 0 for a fault that names no place.
    void ErrorRaised(std::int32_t line, std::int32_t column, const TCoreError& error);
    // After each tick of a paced run at kShowEveryTickFromMs or slower.
    void SlowTick();

private:
    using TAfterStart = std::function<void()>;

    // slice 0 paces a fresh run and keeps a continued one as it was.
    void Start(double slice, TAfterStart afterStart);
    void Launch(const TAfterStart& afterStart);
    void PauseAtStart();
    // Step, StepOver and StepOut: a start that pauses at once, or a continue
    // that asks the core for its kind of stop.
    void StepBy(void (*request)(TVeskCore& core));
    void SetState(TRunState state);
    void ApplyTickMs();
    void BindEvents();

    std::function<QString()> _source;
    // The worker goes before the core: a result it delivers runs the core.
    std::unique_ptr<TVeskCore> _core;
    std::unique_ptr<TLatestJob<TPreparedProgram>> _preparer;
    TRunState _state = TRunState::rsIdle;
    TAfterStart _afterStart; // what the run being made ready does once it has begun
    TQtTimer* _timer = nullptr; // made by the core's first run, owned as a child
    int _tickMs = 1;
};
