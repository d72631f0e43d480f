// The three services the interpreter needs from its surroundings.
#pragma once

#include <cstdint>
#include <functional>

// A periodic timer. While enabled it calls its handler at most once per interval,
// on the owner's thread; turning it off stops the calls at once, turning it on
// starts a new interval.
class TVeskTimer {
public:
    virtual ~TVeskTimer() = default;
    virtual void SetEnabled(bool enabled) = 0;
    [[nodiscard]] virtual bool Enabled() const = 0;
};

// Whoever owns the core makes its timer and keeps it: the core only holds a reference.
class TTimerOwner {
public:
    virtual ~TTimerOwner() = default;
    virtual TVeskTimer& MakeTimer(int intervalMs, std::function<void()> handler) = 0;
};

// A monotonic clock, in days with a fraction, resolution 1 ms or better.
class TVeskClock {
public:
    virtual ~TVeskClock() = default;
    [[nodiscard]] virtual double Now() = 0;
};

// Uniform pseudo-random integers from 0 to n - 1.
class TVeskRandom {
public:
    virtual ~TVeskRandom() = default;
    [[nodiscard]] virtual std::int32_t Next(std::int32_t n) = 0;
    // The generator's whole state, for going back in a run: a source that
    // cannot give it says false, and a return to an earlier moment then draws on.
    [[nodiscard]] virtual bool SaveState(std::uint64_t& /*state*/) const { return false; }
    virtual void RestoreState(std::uint64_t /*state*/) {}
};

// A timer for drivers that tick the core themselves (the runner, tests): it only
// remembers whether it is on.
class TManualTimer final : public TVeskTimer {
public:
    void SetEnabled(bool enabled) override { _enabled = enabled; }
    [[nodiscard]] bool Enabled() const override { return _enabled; }

private:
    bool _enabled = false;
};

class TManualTimerOwner final : public TTimerOwner {
public:
    TVeskTimer& MakeTimer(int intervalMs, std::function<void()> handler) override
    {
        _intervalMs = intervalMs;
        _handler = std::move(handler);
        ++_made;
        return _timer;
    }
    [[nodiscard]] TManualTimer& Timer() { return _timer; }
    [[nodiscard]] int TimersMade() const { return _made; }
    [[nodiscard]] int IntervalMs() const { return _intervalMs; }

private:
    TManualTimer _timer;
    std::function<void()> _handler;
    int _intervalMs = 0;
    int _made = 0;
};
