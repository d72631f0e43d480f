// A core driven by hand: manual timer, a clock and a random source under the
// test's control, and every event recorded in order.
#pragma once

#include <gtest/gtest.h>

#include <deque>
#include <ostream>
#include <string>
#include <vector>

#include "core/veskcore.h"

// Each reading returns the current value, then moves on by `advance`.
class TFakeClock final : public TVeskClock {
public:
    double Now() override
    {
        ++readings;
        const double value = now;
        now += advance;
        return value;
    }
    double now = 0;
    double advance = 0;
    int readings = 0;
};

// Hands out the queued values, then `fallback`; remembers every range asked for.
class TFakeRandom final : public TVeskRandom {
public:
    std::int32_t Next(std::int32_t n) override
    {
        ranges.push_back(n);
        if (queued.empty())
            return fallback;
        const std::int32_t value = queued.front();
        queued.pop_front();
        return value;
    }
    std::deque<std::int32_t> queued;
    std::int32_t fallback = 0;
    std::vector<std::int32_t> ranges;
};

// Table rows: a run that finishes and the value it leaves in one cell; a run
// that stops with one error, where and why.
struct TValueCase {
    std::vector<std::u16string> lines;
    std::u16string cell;
    int value;
};

struct TErrorCase {
    std::vector<std::u16string> lines;
    std::int32_t line;
    std::int32_t pos;
    std::u16string message;
};

// Table rows print as their program, so a failing row names itself.
inline void PrintProgram(const std::vector<std::u16string>& lines, std::ostream* os)
{
    for (std::size_t i = 0; i < lines.size(); ++i) {
        *os << (i ? " | " : "");
        for (const char16_t c : lines[i]) {
            if (c >= 0x20 && c < 0x7F)
                *os << char(c);
            else
                *os << "\\u" << std::hex << unsigned(c) << std::dec;
        }
    }
}

inline void PrintTo(const TValueCase& c, std::ostream* os) { PrintProgram(c.lines, os); }
inline void PrintTo(const TErrorCase& c, std::ostream* os) { PrintProgram(c.lines, os); }

struct TRecordedError {
    std::int32_t line = -1;
    std::int32_t pos = -1;
    std::u16string message;
};

class CoreTest : public ::testing::Test {
protected:
    CoreTest()
    {
        core.OnStart = [this](TVeskCore& sender) { Record(sender, "start"); };
        core.OnStop = [this](TVeskCore& sender) { Record(sender, "stop"); };
        core.OnFinish = [this](TVeskCore& sender) { Record(sender, "finish"); };
        core.OnPause = [this](TVeskCore& sender) { Record(sender, "pause"); };
        core.OnError = [this](TVeskCore& sender, std::int32_t line, std::int32_t pos, const TCoreError& error) {
            Record(sender, "error");
            errors.push_back({line, pos, CoreErrorText(error)});
        };
    }

    void Record(TVeskCore& sender, const char* event)
    {
        EXPECT_EQ(&sender, &core);
        events.emplace_back(event);
        runningAt.push_back(core.IsRun());
    }

    // Fresh program, as the main window starts a run.
    void Load(const std::vector<std::u16string>& lines)
    {
        core.Reset();
        core.ProgramCode() = lines;
    }

    // Ticks while the core runs, at most `limit` times; the number of ticks.
    int Tick(int limit = 100000)
    {
        int ticks = 0;
        while (core.IsRun() && ticks < limit) {
            core.TimerTick();
            ++ticks;
        }
        return ticks;
    }

    void Run(const std::vector<std::u16string>& lines)
    {
        Load(lines);
        core.Execute();
        Tick();
    }

    // Value of a cell by its stored name; -1 when there is no such cell.
    [[nodiscard]] int Value(const std::u16string& name) const
    {
        const auto names = core.GetVariables();
        const auto values = core.GetMemory();
        for (std::size_t i = 0; i < names.size(); ++i)
            if (names[i] == name)
                return values[i];
        return -1;
    }

    [[nodiscard]] TRecordedError LastError() const { return errors.empty() ? TRecordedError{} : errors.back(); }

    void ExpectOnlyError(const TErrorCase& expected) const
    {
        ASSERT_EQ(errors.size(), 1U);
        EXPECT_EQ(errors[0].line, expected.line);
        EXPECT_EQ(errors[0].pos, expected.pos);
        EXPECT_EQ(errors[0].message, expected.message);
    }

    TManualTimerOwner owner;
    TFakeClock clock;
    TFakeRandom random;
    TVeskCore core{owner, &clock, &random};
    std::vector<std::string> events;
    std::vector<bool> runningAt;
    std::vector<TRecordedError> errors;
};

using Events = std::vector<std::string>;

class FinishedRun : public CoreTest, public ::testing::WithParamInterface<TValueCase> {};
class FailedRun : public CoreTest, public ::testing::WithParamInterface<TErrorCase> {};

const std::u16string kMemoryAccess = u"Ошибка при доступе к памяти.";
const std::u16string kBadAddress = u"Неверно указан адрес ячейки.";
