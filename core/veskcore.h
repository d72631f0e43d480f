// The Vesk interpreter: program lines, named one-byte cells, the execution
// position, the address and loop stacks, and a tick that runs one operator.
// Plain C++: the timer, the clock and the random numbers come from outside.
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "vesktimer.h"

// Cell values, index i is cell i.
using TMemory = std::vector<std::uint8_t>;

enum class TProgramStatus { psNormal, psCondition };

class TVeskCore;

// Notification callback: called with the sender (always the core).
using TNotifyEvent = std::function<void(TVeskCore& sender)>;
// Error callback: 0-based line, 1-based column in the prepared line (0 for none), message.
using TErrorEvent = std::function<void(TVeskCore& sender, std::int32_t errorLine,
                                       std::int32_t errorPos, const std::u16string& errorMessage)>;

class TVeskCore {
public:
    // The owner makes (and keeps) the timer on the first Execute that starts a run.
    // Without a clock or a random source the core uses a monotonic clock and a
    // generator seeded once, its own.
    explicit TVeskCore(TTimerOwner& owner, TVeskClock* clock = nullptr,
                       TVeskRandom* random = nullptr);
    ~TVeskCore();
    TVeskCore(const TVeskCore&) = delete;
    TVeskCore& operator=(const TVeskCore&) = delete;

    void Execute();
    void Pause();
    void Stop();
    void Reset();

    // Copies handed to the caller.
    [[nodiscard]] TMemory GetMemory() const;
    [[nodiscard]] std::vector<std::u16string> GetVariables() const;

    // The program lines; the caller fills them after Reset, Execute prepares them in place.
    [[nodiscard]] std::vector<std::u16string>& ProgramCode();
    [[nodiscard]] const std::vector<std::u16string>& ProgramCode() const;

    TNotifyEvent OnStart;
    TNotifyEvent OnStop;
    TNotifyEvent OnFinish;
    TNotifyEvent OnPause;
    TErrorEvent OnError;

    [[nodiscard]] bool IsRun() const;
    [[nodiscard]] std::uint64_t Step() const;
    [[nodiscard]] double EndTime() const; // run time in days

    // The timer's handler: one step of the program. Public so that a driver
    // without a real timer (the runner, tests) can tick the core itself.
    void TimerTick();

private:
    // Fields, caches and the operators live here; their layout is the core's own business.
};
