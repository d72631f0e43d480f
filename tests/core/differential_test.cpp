// The optimised core against the plain reference interpreter, on thousands of
// generated programs: every observable result must be the same, also when the
// real core is paused and continued, rerun after Reset, or continued after it halted.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <iostream>
#include <random>
#include <set>
#include <sstream>
#include <string>
#include <vector>

#include "core/staticcheck.h"
#include "core/veskcore.h"
#include "tests/core/differential_harness.h"
#include "tests/core/reference_core.h"

namespace {

using namespace differential;

constexpr int kPrograms = 4000;
constexpr int kTickLimit = 5000;
constexpr std::uint32_t kSeed = 20240611;

// Programs biased towards the corners: few cells with names that differ only in
// letter case, small loop counts and values that conditions meet, operands at the
// ends of lines, stray separators and brackets, and now and then a refused character.
class TProgramGenerator {
public:
    explicit TProgramGenerator(std::uint32_t seed) : _rng(seed) {}

    TLines Next()
    {
        std::vector<std::u16string> tokens;
        if (Chance(40))
            tokens.push_back(u"$0002");
        if (Chance(80))
            tokens.push_back(Chance(50) ? u"$0001" : Joined(u"$", Address()));
        const int items = 1 + Pick(10);
        for (int i = 0; i < items; ++i)
            Item(tokens, 0);
        if (Chance(4))
            tokens.insert(tokens.begin() + Pick(int(tokens.size()) + 1), Refused());
        return Layout(tokens);
    }

private:
    // Appends in place: `u"..." + temporary` trips a false overlap warning of GCC 12.
    static std::u16string Joined(std::u16string head, const std::u16string& tail)
    {
        head += tail;
        return head;
    }
    int Pick(int n) { return int(_rng() % std::uint32_t(n)); }
    bool Chance(int percent) { return Pick(100) < percent; }
    template <std::size_t N>
    std::u16string From(const char16_t* const (&pool)[N])
    {
        return pool[Pick(int(N))];
    }

    std::u16string Address()
    {
        static const char16_t* const valid[] = {u"0001", u"0001", u"0001", u"0002", u"0002", u"00aB", u"00Ab", u"BEEF", u"beef", u"00ff"};
        static const char16_t* const invalid[] = {u"12", u"00*1", u"0?01", u"", u"@001"};
        return Chance(4) ? From(invalid) : From(valid);
    }

    std::u16string Byte()
    {
        static const char16_t* const valid[] = {u"00", u"01", u"02", u"03", u"05", u"FF", u"fe", u"80", u"7f"};
        static const char16_t* const invalid[] = {u"*1", u"1", u"", u"@1", u"-1"};
        return Chance(4) ? From(invalid) : From(valid);
    }

    std::u16string LoopCount()
    {
        static const char16_t* const counts[] = {u"00", u"01", u"02", u"03", u"05", u"0A"};
        return Chance(3) ? u"FF" : Chance(3) ? u"*1" : From(counts);
    }

    std::u16string Refused()
    {
        static const char16_t* const refused[] = {u"!", u"G", u"я", u"\v", u".", u"\x01", u"="};
        return From(refused);
    }

    void Item(std::vector<std::u16string>& out, int depth)
    {
        const int kind = Pick(depth < 3 ? 100 : 70);
        if (kind < 70)
            out.push_back(CellOperator());
        else if (kind < 75)
            out.push_back(Stray());
        else if (kind < 80)
            Saved(out, depth);
        else if (kind < 90)
            Loop(out, depth);
        else
            Condition(out, depth);
    }

    std::u16string CellOperator()
    {
        switch (Pick(12)) {
        case 0:
        case 1: return Joined(u"$", Address());
        case 2: return Joined(u"^", Address());
        case 3: return Chance(50) ? Joined(u"~", Address()) : u"*";
        case 4:
        case 5: return Joined(u"+", Byte());
        case 6: return Joined(u"-", Byte());
        case 7: return Joined(Chance(50) ? u"+@" : u"-@", Address());
        case 8: return u"*";
        case 9: return u"<";
        case 10: return u">";
        default: return u"<";
        }
    }

    // Mostly characters that pass the check but have no place where they stand,
    // or a condition with no block of its own that jumps to whatever block comes
    // next, out of a loop too; a lone bracket, which the check refuses, now and then.
    std::u16string Stray()
    {
        static const char16_t* const passing[] = {u":", u"5", u"@", u"?", u"\r", u"a", u"?03", u"??", u"?@0001"};
        static const char16_t* const brackets[] = {u")", u"(", u"]", u"[", u"}"};
        return Chance(15) ? From(brackets) : From(passing);
    }

    void Body(std::vector<std::u16string>& out, int depth)
    {
        const int items = Pick(4);
        for (int i = 0; i < items; ++i)
            Item(out, depth + 1);
    }

    // The address stack's brackets pair up like the others.
    void Saved(std::vector<std::u16string>& out, int depth)
    {
        const int pushes = 1 + Pick(2);
        for (int i = 0; i < pushes; ++i)
            out.push_back(u"{");
        for (int i = 0; i < pushes; ++i) {
            Body(out, depth);
            out.push_back(u"}");
        }
    }

    void Loop(std::vector<std::u16string>& out, int depth)
    {
        out.push_back(Chance(85) ? Joined(u"[", LoopCount()) + u":" : u"[");
        Body(out, depth);
        out.push_back(u"]");
    }

    void Condition(std::vector<std::u16string>& out, int depth)
    {
        switch (Pick(5)) {
        case 0: out.push_back(Joined(u"?", Byte())); break;
        case 1: out.push_back(Joined(u"?@", Address())); break;
        case 2: out.push_back(u"??"); break;
        case 3: out.push_back(Joined(u"?", Byte())); out.push_back(CellOperator()); break;
        default: break; // a block without a condition
        }
        out.push_back(u"(");
        const int branches = 1 + Pick(Chance(10) ? 4 : 3);
        for (int b = 0; b < branches; ++b) {
            if (b > 0)
                out.push_back(u":");
            Body(out, depth);
        }
        out.push_back(u")");
    }

    // Joins the tokens into lines with blanks, tabs, comments, empty lines and,
    // now and then, a blank or a line break inside an operand.
    TLines Layout(const std::vector<std::u16string>& tokens)
    {
        std::u16string text;
        if (Chance(10))
            text += u"  \t";
        for (const std::u16string& token : tokens) {
            std::u16string piece = token;
            if (piece.size() > 1 && Chance(5))
                piece.insert(std::size_t(1 + Pick(int(piece.size()) - 1)), Chance(80) ? u" " : u"\n");
            text += piece;
            const int gap = Pick(100);
            if (gap < 8)
                text += u" ";
            else if (gap < 10)
                text += u"\t";
            else if (gap < 22)
                text += u"\n";
            else if (gap < 25)
                text += u" ' note: [ ( ! \n";
            else if (gap < 27)
                text += u"\n\n";
            else if (gap < 28)
                text += u"\n'\n";
        }
        TLines lines(1);
        for (const char16_t c : text) {
            if (c == u'\n')
                lines.emplace_back();
            else
                lines.back() += c;
        }
        if (Chance(5))
            lines.emplace_back(u"\v ");
        return lines;
    }

    std::mt19937 _rng;
};

// The lines as one Execute prepares them.
TLines Prepared(const TLines& lines)
{
    TReferenceCore reference(lines);
    reference.Execute();
    return reference.Program();
}

// The run without the OnPause and OnStart events of its pauses and continues.
TObserved WithoutPauses(TObserved run)
{
    for (std::size_t i = 1; i < run.events.size();) {
        if (run.events[i - 1].kind == "pause" && run.events[i].kind == "start") {
            run.events.erase(run.events.begin() + std::ptrdiff_t(i - 1), run.events.begin() + std::ptrdiff_t(i + 1));
            run.runningAtEvent.erase(run.runningAtEvent.begin() + std::ptrdiff_t(i - 1),
                                     run.runningAtEvent.begin() + std::ptrdiff_t(i + 1));
        } else {
            ++i;
        }
    }
    return run;
}

// One real core for the whole test, reset before each program as the main window
// does it, with every event recorded.
class DifferentialTest : public ::testing::Test {
protected:
    TObserved RunCore(const TLines& lines, const TPlan& plan, bool ready = false)
    {
        return observed.Run(lines, plan, kTickLimit, ready);
    }

    // Reports a difference with the program; true when there was one.
    static bool Differs(int n, const char* what, const TLines& lines, const TObserved& expected,
                        const TObserved& actual)
    {
        if (actual == expected)
            return false;
        ADD_FAILURE() << "program " << n << " (" << what << "):\n"
                      << Describe(lines) << "  expected: " << Describe(expected) << "\n  actual:   " << Describe(actual);
        return true;
    }

    // The same plan run in batches of random sizes (RunSteps). A pause before
    // tick p is made either as the plan says (Pause, Execute) or by asking for
    // a stop after tick p - 1, which must come out the same.
    TObserved RunCoreBatched(const TLines& lines, const TPlan& plan, std::mt19937& rng)
    {
        observed.Load(lines);
        TVeskCore& core = observed.Core();
        std::set<int> stepped;
        for (const int p : plan.pauses)
            if (p > 0 && rng() % 2 == 0)
                stepped.insert(p);
        const auto run = [&] {
            core.Execute();
            int done = 0;
            while (core.IsRun() && done < kTickLimit) {
                if (plan.pauses.count(done) && !stepped.count(done)) {
                    core.Pause();
                    core.Execute();
                }
                if (stepped.count(done + 1)) {
                    core.RequestStepStop();
                    done += int(core.RunSteps(1 + rng() % 5));
                    if (!core.IsRun() && observed.Seen().events.back().kind == "pause")
                        core.Execute();
                    continue;
                }
                int batch = kTickLimit - done;
                const auto next = plan.pauses.upper_bound(done);
                if (next != plan.pauses.end())
                    batch = std::min(batch, *next - done - (stepped.count(*next) ? 1 : 0));
                batch = std::min(batch, 1 + int(rng() % 64));
                done += int(core.RunSteps(std::uint64_t(std::max(batch, 1))));
            }
        };
        run();
        if (plan.again && !core.IsRun())
            run();
        return observed.Result();
    }

    TObservedCore observed;
};

// One to three pauses anywhere in a run of `ticks` ticks.
TPlan RandomPlan(std::mt19937& rng, bool again, std::uint64_t ticks)
{
    TPlan plan{{}, again};
    const std::uint64_t span = std::max<std::uint64_t>(1, std::min<std::uint64_t>(ticks, kTickLimit));
    const int count = 1 + int(rng() % 3);
    for (int i = 0; i < count; ++i)
        plan.pauses.insert(int(rng() % span));
    return plan;
}

TEST_F(DifferentialTest, CoreMatchesPlainReferenceOnGeneratedPrograms)
{
    TProgramGenerator generator(kSeed);
    std::mt19937 rng(kSeed + 1);
    int mismatches = 0;
    int refused = 0;
    int finished = 0;
    int failed = 0;
    int unfinished = 0;
    int reprepared = 0;
    std::uint64_t ticks = 0;
    for (int n = 0; n < kPrograms && mismatches < 5; ++n) {
        const TLines lines = generator.Next();
        const TPlan straight{{}, rng() % 8 == 0};
        const TObserved expected = RunReference(lines, straight, kTickLimit);
        const TPlan interrupted = RandomPlan(rng, straight.again, expected.step);
        const TObserved expectedInterrupted = RunReference(lines, interrupted, kTickLimit);
        const TObserved plain = RunCore(lines, straight);
        const TObserved paused = RunCore(lines, interrupted);
        const TObserved rerun = RunCore(lines, straight);
        const TObserved ready = RunCore(lines, interrupted, true);
        // A continue prepares the lines again; only a line that kept a trailing
        // control character after its comment went can change by that.
        const bool stable = Prepared(Prepared(lines)) == Prepared(lines);
        reprepared += stable ? 0 : 1;
        const bool differs = Differs(n, "plain", lines, expected, plain) ||
                             Differs(n, "paused and continued", lines, expectedInterrupted, paused) ||
                             (stable && Differs(n, "paused against plain", lines, plain, WithoutPauses(paused))) ||
                             Differs(n, "rerun after Reset", lines, plain, rerun) ||
                             Differs(n, "made ready apart, paused and continued", lines, expectedInterrupted, ready);
        mismatches += differs ? 1 : 0;
        ticks += expected.step;
        if (expected.events.front().kind == "error")
            ++refused;
        else if (expected.running)
            ++unfinished;
        else if (expected.events.back().kind == "error")
            ++failed;
        else
            ++finished;
    }
    // The generator must reach every ending, or the comparison proves little.
    EXPECT_GT(refused, kPrograms / 20);
    EXPECT_GT(finished, kPrograms / 5);
    EXPECT_GT(failed, kPrograms / 5);
    EXPECT_GT(unfinished, kPrograms / 200);
    std::cout << kPrograms << " programs, " << ticks << " reference ticks: refused " << refused << ", finished "
              << finished << ", failed " << failed << ", still running " << unfinished << "; changed by a continue "
              << reprepared << '\n';
}

// Every fault a run meets that the text alone decides was found beforehand,
// at the place and with the message the run reports.
TEST(StaticCheck, FindsEveryTextFaultARunMeets)
{
    const std::u16string byText[] = {u"Неверно указан адрес ячейки.", u"Использование числовых данных без операторов",
                                     u"Обращение к адресу без использования операторов.",
                                     u"Не найден блок обработки условия."};
    TProgramGenerator generator(kSeed);
    int met = 0;
    int mismatches = 0;
    for (int n = 0; n < kPrograms && mismatches < 5; ++n) {
        const TLines lines = generator.Next();
        const TObserved run = RunReference(lines, {}, kTickLimit);
        const TEvent& last = run.events.back();
        if (last.kind != "error" || run.events.front().kind == "error")
            continue;
        const bool numberFault = last.message.starts_with(u"Невозможно распознать число '");
        if (!numberFault && std::find(std::begin(byText), std::end(byText), last.message) == std::end(byText))
            continue;
        ++met;
        bool found = false;
        for (const TStaticFault& fault : FindStaticFaults(Prepared(lines)))
            found = found || (fault.line == last.line && fault.column == last.pos &&
                              CoreErrorText(fault.error) == last.message);
        if (!found) {
            ++mismatches;
            ADD_FAILURE() << "program " << n << ":\n" << Describe(lines) << "  run: " << Describe(run);
        }
    }
    EXPECT_GT(met, kPrograms / 20);
}

} // namespace

namespace {

// The decoded program run in batches against the reference, paused and stepped
// at random points.
TEST_F(DifferentialTest, BatchedRunsMatchPlainReferenceWhenPausedAndStepped)
{
    TProgramGenerator generator(kSeed + 2);
    std::mt19937 rng(kSeed + 3);
    int mismatches = 0;
    for (int n = 0; n < kPrograms && mismatches < 5; ++n) {
        const TLines lines = generator.Next();
        const TPlan straight{{}, rng() % 8 == 0};
        const TObserved expected = RunReference(lines, straight, kTickLimit);
        const TPlan interrupted = RandomPlan(rng, straight.again, expected.step);
        const TObserved expectedInterrupted = RunReference(lines, interrupted, kTickLimit);
        const bool differs =
            Differs(n, "batched", lines, expected, RunCoreBatched(lines, straight, rng)) ||
            Differs(n, "batched, paused and stepped", lines, expectedInterrupted,
                    RunCoreBatched(lines, interrupted, rng));
        mismatches += differs ? 1 : 0;
    }
}

} // namespace
