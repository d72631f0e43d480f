// Going back in a run, timed: the cost of keeping a history on the unpaced run,
// one step back anywhere in a run of 10^8 steps, a run back over all of it, the
// writer of a cell found across the 255^3 loops, and the memory an endless run
// keeps. Prints figures; `history_bench SECONDS` sets the endless run's length
// of wall time (10 by default); `history_bench SECONDS CELLS` runs only the endless
// run with that many cells (2 or 65536). The other times are the process's CPU
// time, so that other work on a shared machine does not count.
#include <algorithm>
#include <chrono>
#include <ctime>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <random>
#include <string>
#include <utility>
#include <vector>

#include "core/runhistory.h"
#include "core/veskcore.h"

namespace {

using TLines = std::vector<std::u16string>;
// The process's CPU time, in seconds.
struct TClock {
    static double now()
    {
        timespec t{};
        clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &t);
        return static_cast<double>(t.tv_sec) + static_cast<double>(t.tv_nsec) * 1e-9;
    }
};

double Seconds(double since)
{
    return TClock::now() - since;
}

struct TRun {
    explicit TRun(TRunHistory* history)
    {
        if (history)
            core.AttachHistory(history);
    }
    void Start(const TLines& lines)
    {
        core.Reset();
        core.ProgramCode() = lines;
        core.Execute();
    }
    // Unpaced, in the slices the window's timer runs.
    void RunTo(std::uint64_t steps)
    {
        while (core.IsRun() && core.Step() < steps)
            core.RunSteps(std::min<std::uint64_t>(steps - core.Step(), 1 << 20));
    }
    TManualTimerOwner owner;
    TVeskCore core{owner};
};

const TLines kTripleLoop{u"$0002+01$0001[FF:[FF:[FF:+01]]]"};
const TLines kEndless{u"$0001", u"[+01$0002-01]"};

std::u16string ManyCellsEndless(int count)
{
    static constexpr char16_t kHex[] = u"0123456789ABCDEF";
    std::u16string text = u"[";
    for (int i = 0; i < count; ++i) {
        text += u'$';
        for (int shift = 12; shift >= 0; shift -= 4)
            text += kHex[(i >> shift) & 15];
        text += u"+01";
    }
    return text + u"]";
}

double TripleLoopOnce(bool keepHistory)
{
    TRunHistory history;
    TRun run(keepHistory ? &history : nullptr);
    const auto t0 = TClock::now();
    run.Start(kTripleLoop);
    run.RunTo(UINT64_MAX);
    return Seconds(t0);
}

// The best of several runs each way, taken in turns: on a busy machine the
// best is the one least disturbed.
std::pair<double, double> TripleLoopSeconds()
{
    double plain = 1e9;
    double kept = 1e9;
    for (int i = 0; i < 9; ++i) {
        plain = std::min(plain, TripleLoopOnce(false));
        kept = std::min(kept, TripleLoopOnce(true));
    }
    return {plain, kept};
}

} // namespace

int main(int argc, char** argv)
{
    const double endlessSeconds = argc > 1 ? std::atof(argv[1]) : 10.0;
    const int onlyCells = argc > 2 ? std::atoi(argv[2]) : 0;
    if (onlyCells == 0) {
        const auto [plain, kept] = TripleLoopSeconds();
        std::printf("255^3 loops unpaced: %.3f s plain, %.3f s keeping history (%+.1f %%)\n", plain, kept,
                    (kept / plain - 1) * 100);

        {
            TRunHistory history;
            TRun run(&history);
            run.Start(kTripleLoop);
            run.RunTo(UINT64_MAX);
            const auto t0 = TClock::now();
            const auto origin = history.WhereFrom(run.core, 0x0002);
            std::printf("where from, cell written at step %llu of %llu: %.3f s\n",
                        origin ? static_cast<unsigned long long>(origin->step) : 0ULL,
                        static_cast<unsigned long long>(run.core.Step()), Seconds(t0));
        }

        {
            constexpr std::uint64_t kSteps = 100'000'000;
            TRunHistory history;
            TRun run(&history);
            run.Start(kEndless);
            run.core.SetBreakpoints({0});
            run.RunTo(kSteps); // pauses at the breakpoint at the start
            run.core.Execute();
            run.RunTo(kSteps);
            run.core.Pause();
            std::printf("10^8 steps: %zu snapshots, %.1f MiB, interval %llu steps\n", history.Snapshots(),
                        static_cast<double>(history.Bytes()) / (1 << 20),
                        static_cast<unsigned long long>(history.Interval()));
            std::mt19937_64 rng(7);
            double worst = 0;
            for (int i = 0; i < 20; ++i) {
                const std::uint64_t at = 1 + rng() % kSteps;
                history.GoTo(run.core, at);
                const auto t0 = TClock::now();
                history.StepBack(run.core);
                worst = std::max(worst, Seconds(t0));
            }
            std::printf("one step back, worst of 20 points of 10^8 steps: %.1f ms\n", worst * 1000);
            history.GoTo(run.core, kSteps);
            const auto t0 = TClock::now();
            history.RunBack(run.core); // the only stop is the start: the whole run is searched
            std::printf("run back over 10^8 steps to the stop at step %llu: %.2f s\n",
                        static_cast<unsigned long long>(run.core.Step()), Seconds(t0));
        }

    }

    for (const int cells : {2, 65536}) {
        if (onlyCells != 0 && cells != onlyCells)
            continue;
        TRunHistory history;
        TRun run(&history);
        run.Start(cells == 2 ? kEndless : TLines{ManyCellsEndless(cells)});
        const auto wall = std::chrono::steady_clock::now();
        const auto t0 = TClock::now();
        std::size_t peak = 0;
        while (std::chrono::duration<double>(std::chrono::steady_clock::now() - wall).count() < endlessSeconds) {
            run.RunTo(run.core.Step() + (1 << 22));
            peak = std::max(peak, history.Bytes());
        }
        std::printf("endless run of %d cells, %.0f s unpaced (%.0f s CPU): %llu steps, %zu snapshots, peak %.1f MiB of "
                    "%.0f MiB, interval %llu steps\n",
                    cells, endlessSeconds, Seconds(t0), static_cast<unsigned long long>(run.core.Step()),
                    history.Snapshots(),
                    static_cast<double>(peak) / (1 << 20), static_cast<double>(history.Budget()) / (1 << 20),
                    static_cast<unsigned long long>(history.Interval()));
        run.core.Pause();
        const auto back = TClock::now();
        history.StepBack(run.core);
        std::printf("  then one step back: %.1f ms\n", Seconds(back) * 1000);
    }
    return 0;
}
