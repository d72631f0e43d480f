// What the differential test and the differential fuzz target share: everything
// the public interface shows of one run, a plan of pauses to drive any
// interpreter along, and a real core that records what it raises.
#pragma once

#include <cstdint>
#include <set>
#include <sstream>
#include <string>
#include <utility>
#include <vector>

#include "core/veskcore.h"
#include "core/vesktimer.h"
#include "tests/core/reference_core.h"

namespace differential {

using TEvent = TReferenceCore::TEvent;
using TLines = std::vector<std::u16string>;

// Everything the public interface shows of one run, apart from time.
struct TObserved {
    std::vector<TEvent> events;
    std::vector<bool> runningAtEvent;
    bool running = false;
    std::uint64_t step = 0;
    std::vector<std::u16string> names;
    std::vector<std::uint8_t> values;
    TLines program;
    bool operator==(const TObserved&) const = default;
};

inline std::string Printable(const std::u16string& text)
{
    std::ostringstream out;
    for (const char16_t c : text) {
        if (c >= 0x20 && c < 0x7F && c != u'\\')
            out << char(c);
        else
            out << "\\u" << std::hex << unsigned(c) << std::dec;
    }
    return out.str();
}

inline std::string Describe(const TObserved& run)
{
    std::ostringstream out;
    out << (run.running ? "running" : "halted") << ", step " << run.step << ", events:";
    for (std::size_t i = 0; i < run.events.size(); ++i) {
        const TEvent& e = run.events[i];
        out << ' ' << e.kind << (run.runningAtEvent[i] ? "(on)" : "");
        if (e.kind == "error")
            out << '[' << e.line << ':' << e.pos << ' ' << Printable(e.message) << ']';
    }
    out << "\n    cells:";
    for (std::size_t i = 0; i < run.names.size(); ++i)
        out << ' ' << Printable(run.names[i]) << '=' << int(run.values[i]);
    return out.str();
}

inline std::string Describe(const TLines& lines)
{
    std::string text;
    for (const std::u16string& line : lines)
        text += "    |" + Printable(line) + "|\n";
    return text;
}

// A run plan: pause and continue at once before the ticks named, and, when
// `again`, continue a halted run once more, as a second Run without Reset would.
struct TPlan {
    std::set<int> pauses;
    bool again = false;
};

// Drives any interpreter with Execute, Pause, TimerTick and IsRun along a plan,
// at most tickLimit ticks a run.
template <typename TInterpreter>
void Drive(TInterpreter& interpreter, const TPlan& plan, int tickLimit)
{
    const auto run = [&] {
        interpreter.Execute();
        for (int ticks = 0; interpreter.IsRun() && ticks < tickLimit; ++ticks) {
            if (plan.pauses.count(ticks)) {
                interpreter.Pause();
                interpreter.Execute();
            }
            interpreter.TimerTick();
        }
    };
    run();
    if (plan.again && !interpreter.IsRun())
        run();
}

inline TObserved RunReference(const TLines& lines, const TPlan& plan, int tickLimit)
{
    TReferenceCore reference(lines);
    Drive(reference, plan, tickLimit);
    TObserved seen;
    seen.events = reference.Events();
    for (const TEvent& e : seen.events)
        seen.runningAtEvent.push_back(e.kind == "start");
    seen.running = reference.IsRun();
    seen.step = reference.Step();
    seen.names = reference.Names();
    seen.values = reference.Values();
    seen.program = reference.Program();
    return seen;
}

// One real core, kept from program to program and reset before each as the
// main window does it, with every event recorded.
class TObservedCore {
public:
    TObservedCore()
    {
        const auto record = [this](const char* kind) {
            return [this, kind](TVeskCore&) { Record({kind, 0, 0, {}}); };
        };
        _core.OnStart = record("start");
        _core.OnStop = record("stop");
        _core.OnFinish = record("finish");
        _core.OnPause = record("pause");
        _core.OnError = [this](TVeskCore&, std::int32_t line, std::int32_t pos, const TCoreError& error) {
            Record({"error", line, pos, CoreErrorText(error)});
        };
    }
    TObservedCore(const TObservedCore&) = delete;
    TObservedCore& operator=(const TObservedCore&) = delete;

    [[nodiscard]] TVeskCore& Core() { return _core; }
    [[nodiscard]] const TObserved& Seen() const { return _seen; }

    // A fresh run: Reset, the lines in, nothing seen yet. `ready`: made ready
    // apart and loaded so, as the main window does with a big program.
    void Load(const TLines& lines, bool ready = false)
    {
        _seen = {};
        _core.Reset();
        if (ready)
            _core.LoadPrepared(TPreparedProgram(lines));
        else
            _core.ProgramCode() = lines;
    }

    // What the run left, with the events seen so far.
    TObserved Result()
    {
        _seen.running = _core.IsRun();
        _seen.step = _core.Step();
        _seen.names = _core.GetVariables();
        _seen.values = _core.GetMemory();
        _seen.program = std::as_const(_core).ProgramCode();
        return _seen;
    }

    TObserved Run(const TLines& lines, const TPlan& plan, int tickLimit, bool ready = false)
    {
        Load(lines, ready);
        Drive(_core, plan, tickLimit);
        return Result();
    }

private:
    void Record(TEvent event)
    {
        _seen.events.push_back(std::move(event));
        _seen.runningAtEvent.push_back(_core.IsRun());
    }

    TManualTimerOwner _owner;
    TVeskCore _core{_owner};
    TObserved _seen;
};

} // namespace differential
