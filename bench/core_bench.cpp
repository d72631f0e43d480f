// Ticks per second of the interpreter driven the way the headless runner drives
// it: TimerTick in a tight loop, real clock and random source.
#include <benchmark/benchmark.h>

#include <string>
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

// Runs the program to its end once per iteration.
void RunToEnd(benchmark::State& state, const std::vector<std::u16string>& program)
{
    TManualTimerOwner owner;
    TVeskCore core(owner);
    bool failed = false;
    core.OnError = [&failed](TVeskCore&, std::int32_t, std::int32_t, const std::u16string&) { failed = true; };
    std::uint64_t ticks = 0;
    for (auto _ : state) {
        core.Reset();
        core.ProgramCode() = program;
        core.Execute();
        while (core.IsRun())
            core.TimerTick();
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

} // namespace

BENCHMARK(NestedCountedLoops)->Unit(benchmark::kMillisecond);
BENCHMARK(ConditionsInLoops)->Unit(benchmark::kMillisecond);
BENCHMARK(ManyCellsInLoop)->Arg(300)->Unit(benchmark::kMillisecond);
BENCHMARK(AddressStackInLoops)->Unit(benchmark::kMillisecond);
BENCHMARK(MultiLineLoopBody)->Unit(benchmark::kMillisecond);
BENCHMARK(TripleLoop)->Iterations(1)->Unit(benchmark::kMillisecond)->UseRealTime();
