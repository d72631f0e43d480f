// The core against the plain reference interpreter of the tests: the same
// program, the same plan of pauses, the same step limit; every event, the step
// count, the cells and the prepared lines must agree, also when the core ran
// another program before, and on a rerun after Reset.
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <string>
#include <string_view>
#include <vector>

#include "core/veskcore.h"
#include "formats/projectfile.h"
#include "tests/core/reference_core.h"
#include "tests/fuzz/fuzzcheck.h"
#include "tests/fuzz/programgenerator.h"

namespace {

using TEvent = TReferenceCore::TEvent;
using TLines = std::vector<std::u16string>;

constexpr int kTickLimit = 10000;

// Pause and continue once before one tick (none when negative), and continue
// a halted run once more, as a second Run without Reset would.
struct TPlan {
    int pauseAt = -1;
    bool again = false;
};

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

template <typename TInterpreter>
void Drive(TInterpreter& interpreter, const TPlan& plan)
{
    const auto run = [&] {
        interpreter.Execute();
        for (int ticks = 0; interpreter.IsRun() && ticks < kTickLimit; ++ticks) {
            if (ticks == plan.pauseAt) {
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

TObserved RunReference(const TLines& lines, const TPlan& plan)
{
    TReferenceCore reference(lines);
    Drive(reference, plan);
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

TObserved RunCore(TVeskCore& core, const TLines& lines, const TPlan& plan)
{
    TObserved seen;
    const auto record = [&](TEvent event) {
        seen.events.push_back(std::move(event));
        seen.runningAtEvent.push_back(core.IsRun());
    };
    core.OnStart = [&](TVeskCore&) { record({"start", 0, 0, {}}); };
    core.OnStop = [&](TVeskCore&) { record({"stop", 0, 0, {}}); };
    core.OnFinish = [&](TVeskCore&) { record({"finish", 0, 0, {}}); };
    core.OnPause = [&](TVeskCore&) { record({"pause", 0, 0, {}}); };
    core.OnError = [&](TVeskCore&, std::int32_t line, std::int32_t pos, const std::u16string& message) {
        record({"error", line, pos, message});
    };
    core.Reset();
    core.ProgramCode() = lines;
    Drive(core, plan);
    seen.running = core.IsRun();
    seen.step = core.Step();
    seen.names = core.GetVariables();
    seen.values = core.GetMemory();
    seen.program = core.ProgramCode();
    return seen;
}

void Print(const char* title, const std::u16string& text)
{
    std::fprintf(stderr, "%s", title);
    for (const char16_t ch : text) {
        if (ch >= 0x20 && ch < 0x7F && ch != u'\\')
            std::fputc(int(ch), stderr);
        else
            std::fprintf(stderr, "\\u%04x", unsigned(ch));
    }
    std::fputc('\n', stderr);
}

void Describe(const char* who, const TObserved& run)
{
    std::fprintf(stderr, "%s: %s, step %llu, events:", who, run.running ? "running" : "halted",
                 static_cast<unsigned long long>(run.step));
    for (const TEvent& e : run.events) {
        std::fprintf(stderr, " %s", e.kind.c_str());
        if (e.kind == "error")
            Print((" [" + std::to_string(e.line) + ":" + std::to_string(e.pos) + "] ").c_str(), e.message);
    }
    std::fputc('\n', stderr);
    for (std::size_t i = 0; i < run.names.size(); ++i)
        Print((std::to_string(unsigned(run.values[i])) + " in ").c_str(), run.names[i]);
}

void Compare(const char* what, const TLines& lines, const TPlan& plan, const TObserved& expected,
             const TObserved& actual)
{
    if (actual == expected)
        return;
    std::fprintf(stderr, "mismatch (%s), pause before tick %d, again %d, program:\n", what, plan.pauseAt,
                 int(plan.again));
    for (const std::u16string& line : lines)
        Print("    |", line + u"|");
    Describe("reference", expected);
    Describe("core", actual);
    FUZZ_CHECK(actual == expected);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    if (size < 2)
        return 0;
    // First byte 0: the rest is a project file (the seeds from the conformance
    // cases); otherwise it steers the run plan and the rest the program generator.
    TLines lines;
    TPlan plan;
    if (data[0] == 0) {
        lines = SplitEditorLines(DecodeProjectText(std::string_view(reinterpret_cast<const char*>(data + 1), size - 1)));
    } else {
        plan.again = (data[0] & 1) != 0;
        plan.pauseAt = (data[0] & 2) != 0 ? int(data[1]) * 8 : -1;
        lines = TProgramGenerator(data + 2, size - 2).Lines();
    }

    // The same core first runs the lines in reverse order: what it remembers of
    // one program must not leak into the next after Reset.
    const TLines reversed(lines.rbegin(), lines.rend());
    TManualTimerOwner owner;
    TVeskCore core(owner);
    Compare("reversed", reversed, plan, RunReference(reversed, plan), RunCore(core, reversed, plan));
    const TObserved expected = RunReference(lines, plan);
    Compare("run after another program", lines, plan, expected, RunCore(core, lines, plan));
    Compare("rerun after Reset", lines, plan, expected, RunCore(core, lines, plan));
    return 0;
}
