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

#include "formats/projectfile.h"
#include "tests/core/differential_harness.h"
#include "tests/fuzz/fuzzcheck.h"
#include "tests/fuzz/programgenerator.h"

namespace {

using namespace differential;

constexpr int kTickLimit = 10000;

void Compare(const char* what, const TLines& lines, const TPlan& plan, const TObserved& expected,
             const TObserved& actual)
{
    if (actual == expected)
        return;
    std::fprintf(stderr, "mismatch (%s), %zu pauses, again %d, program:\n%s  reference: %s\n  core:      %s\n",
                 what, plan.pauses.size(), int(plan.again), Describe(lines).c_str(),
                 Describe(expected).c_str(), Describe(actual).c_str());
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
        if ((data[0] & 2) != 0)
            plan.pauses.insert(int(data[1]) * 8);
        lines = TProgramGenerator(data + 2, size - 2).Lines();
    }

    // The same core first runs the lines in reverse order: what it remembers of
    // one program must not leak into the next after Reset.
    const TLines reversed(lines.rbegin(), lines.rend());
    TObservedCore core;
    Compare("reversed", reversed, plan, RunReference(reversed, plan, kTickLimit),
            core.Run(reversed, plan, kTickLimit));
    const TObserved expected = RunReference(lines, plan, kTickLimit);
    Compare("run after another program", lines, plan, expected, core.Run(lines, plan, kTickLimit));
    Compare("rerun after Reset", lines, plan, expected, core.Run(lines, plan, kTickLimit));
    Compare("made ready apart", lines, plan, expected, core.Run(lines, plan, kTickLimit, true));
    return 0;
}
