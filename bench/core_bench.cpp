// Ticks per second of the interpreter, real clock and random source, driven two
// ways: TimerTick in a tight loop (the paced path: one step per call, the clock
// read twice per step) and RunSteps in batches (the runner and the unpaced run).
#include <benchmark/benchmark.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <functional>
#include <stop_token>
#include <string>
#include <thread>
#include <vector>

#include "core/veskcore.h"

namespace {

std::u16string ManyCells(int count)
{
    static constexpr char16_t kHex[] = u"0123456789ABCDEF";
    std::u16string text = u"[FF:";
    for (int i = 0; i < count; ++i) {
        text += u'$';
        for (int shift = 12; shift >= 0; shift -= 4)
            text += kHex[(i >> shift) & 15];
        text += u"+01";
    }
    return text + u"]";
}

enum class TDrive { Ticked, Batched };

// Runs the program to its end once per iteration.
void RunToEnd(benchmark::State& state, const std::vector<std::u16string>& program, TDrive drive = TDrive::Ticked,
              const std::function<void(TVeskCore&)>& setUp = {})
{
    TManualTimerOwner owner;
    TVeskCore core(owner);
    if (setUp)
        setUp(core);
    bool failed = false;
    core.OnError = [&failed](TVeskCore&, std::int32_t, std::int32_t, const TCoreError&) { failed = true; };
    std::uint64_t ticks = 0;
    for (auto _ : state) {
        core.Reset();
        core.ProgramCode() = program;
        core.Execute();
        if (drive == TDrive::Batched) {
            while (core.IsRun())
                core.RunSteps(1 << 20);
        } else {
            while (core.IsRun())
                core.TimerTick();
        }
        ticks += core.Step();
        benchmark::DoNotOptimize(core.GetMemory());
    }
    if (failed)
        state.SkipWithError("the program stopped with an error");
    state.counters["ticks"] = benchmark::Counter(static_cast<double>(ticks), benchmark::Counter::kIsRate);
}

void NestedCountedLoops(benchmark::State& state)
{
    RunToEnd(state, {u"$0001[FF:[FF:+01]]"});
}

void ConditionsInLoops(benchmark::State& state)
{
    RunToEnd(state, {u"$0002+80$0001[FF:[FF:+01?\?(+00:*)?80(:+01:-01)?@0002(<:>)]]"});
}

void ManyCellsInLoop(benchmark::State& state)
{
    RunToEnd(state, {ManyCells(static_cast<int>(state.range(0)))});
}

void AddressStackInLoops(benchmark::State& state)
{
    RunToEnd(state, {u"$0001{[FF:[FF:{$0002+01}+01]]}"});
}

void MultiLineLoopBody(benchmark::State& state)
{
    RunToEnd(state, {u"$0001[FF:", u"[FF:", u"+01 ' comment", u"", u"-01", u"]", u"]"});
}

// The triple loop of about 33 million ticks, once: its wall time.
void TripleLoop(benchmark::State& state)
{
    RunToEnd(state, {u"$0001[FF:[FF:[FF:+01]]]"});
}

void TripleLoopBatched(benchmark::State& state)
{
    RunToEnd(state, {u"$0001[FF:[FF:[FF:+01]]]"}, TDrive::Batched);
}

// The same run counting a profile, and watching a cell it never touches: the
// observed path must stay within 1.5 and 2 times the plain one.
void TripleLoopProfiled(benchmark::State& state)
{
    RunToEnd(state, {u"$0001[FF:[FF:[FF:+01]]]"}, TDrive::Batched, [](TVeskCore& core) { core.SetProfiling(true); });
}

void TripleLoopWatched(benchmark::State& state)
{
    RunToEnd(state, {u"$0001[FF:[FF:[FF:+01]]]"}, TDrive::Batched,
             [](TVeskCore& core) { core.SetWatchpoints({*TWatchpoint::Make(u"0002", wkWrite | wkChange)}); });
}

void ConditionsInLoopsBatched(benchmark::State& state)
{
    RunToEnd(state, {u"$0002+80$0001[FF:[FF:+01?\?(+00:*)?80(:+01:-01)?@0002(<:>)]]"}, TDrive::Batched);
}

// 100,000 nested counted loops, one pass each: linear in the nesting.
void DeeplyNestedLoops(benchmark::State& state)
{
    std::vector<std::u16string> program{u"$0001"};
    const auto depth = static_cast<std::size_t>(state.range(0));
    program.insert(program.end(), depth, u"[01:");
    program.emplace_back(u"+01");
    program.insert(program.end(), depth, u"]");
    RunToEnd(state, program, TDrive::Batched);
}

// 100,000 nested condition blocks, each entered by its second branch.
void DeeplyNestedConditions(benchmark::State& state)
{
    std::vector<std::u16string> program{u"$0001"};
    const auto depth = static_cast<std::size_t>(state.range(0));
    program.insert(program.end(), depth, u"?01(:");
    program.emplace_back(u"+01");
    program.insert(program.end(), depth, u")");
    RunToEnd(state, program, TDrive::Batched);
}

// 65,536 cells, then the oldest destroyed and made anew again and again.
void DestroyOldestCells(benchmark::State& state)
{
    static constexpr char16_t kHex[] = u"0123456789ABCDEF";
    const auto address = [](int i) {
        std::u16string text;
        for (int shift = 12; shift >= 0; shift -= 4)
            text += kHex[(i >> shift) & 15];
        return text;
    };
    // Appended piece by piece: `u"..." + temporary` trips a false overlap warning of GCC 12.
    std::u16string cells;
    for (int i = 0; i < 65536; ++i) {
        cells += u'$';
        cells += address(i);
    }
    std::u16string churn = u"[FF:";
    for (int i = 0; i < 256; ++i) {
        churn += u'~';
        churn += address(i);
        churn += u'$';
        churn += address(i);
    }
    churn += u']';
    RunToEnd(state, {cells, churn}, TDrive::Batched);
}

// Preparing, checking and decoding a program of 100,002 lines and 7.4 MB,
// and its 1.8 million steps.
void BigProgram(benchmark::State& state)
{
    std::vector<std::u16string> program{u"$0001[02:"};
    program.insert(program.end(), 100000,
                   u"+01 -01 $0ABC +@0001 ^0002 < > * ' comment text here to pad the line out");
    program.emplace_back(u"]");
    RunToEnd(state, program, TDrive::Batched);
}

// How soon a preparation asked to stop gives its memory back: from the stop
// request, made that many milliseconds into a program of 16 MB, to its end.
void PreparationStop(benchmark::State& state)
{
    const std::vector<std::u16string> program(
        300000, u"$0001 +01 ' a comment that pads the line out to forty");
    for (auto _ : state) {
        std::vector<std::u16string> lines = program;
        std::stop_source stop;
        std::atomic<bool> began = false;
        std::chrono::steady_clock::time_point ended;
        std::thread worker([&] {
            began = true;
            const TPreparedProgram prepared(std::move(lines), stop.get_token());
            ended = std::chrono::steady_clock::now();
            benchmark::DoNotOptimize(prepared.Cancelled());
        });
        while (!began)
            std::this_thread::yield();
        std::this_thread::sleep_for(std::chrono::milliseconds(state.range(0)));
        const auto asked = std::chrono::steady_clock::now();
        stop.request_stop();
        worker.join();
        // A preparation that was done before the request counts as no wait.
        state.SetIterationTime(std::max(0.0, std::chrono::duration<double>(ended - asked).count()));
    }
}

} // namespace

BENCHMARK(NestedCountedLoops)->Unit(benchmark::kMillisecond);
BENCHMARK(ConditionsInLoops)->Unit(benchmark::kMillisecond);
BENCHMARK(ManyCellsInLoop)->Arg(300)->Unit(benchmark::kMillisecond);
BENCHMARK(AddressStackInLoops)->Unit(benchmark::kMillisecond);
BENCHMARK(MultiLineLoopBody)->Unit(benchmark::kMillisecond);
BENCHMARK(TripleLoop)->Iterations(1)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(TripleLoopBatched)->Iterations(1)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(TripleLoopProfiled)->Iterations(1)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(TripleLoopWatched)->Iterations(1)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(ConditionsInLoopsBatched)->Unit(benchmark::kMillisecond);
BENCHMARK(DeeplyNestedLoops)->Arg(10000)->Arg(100000)->Unit(benchmark::kMillisecond);
BENCHMARK(DeeplyNestedConditions)->Arg(10000)->Arg(100000)->Unit(benchmark::kMillisecond);
BENCHMARK(DestroyOldestCells)->Unit(benchmark::kMillisecond);
BENCHMARK(BigProgram)->Unit(benchmark::kMillisecond);
BENCHMARK(PreparationStop)->Arg(20)->Arg(60)->UseManualTime()->Unit(benchmark::kMillisecond);
