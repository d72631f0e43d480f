// A whole run with a step limit, the way vesk-run does it once it has read the
// file: decode, split, run. It always ends with a status, and a reported error
// lies inside the program.
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <set>
#include <string>
#include <string_view>
#include <vector>

#include "cli/veskrunner.h"
#include "formats/projectfile.h"
#include "tests/fuzz/fuzzcheck.h"

namespace {

constexpr std::uint64_t kStepLimit = 20000;

const std::u16string kBrackets = u"Неверное сочетание программных скобок.";

[[nodiscard]] bool IsHexDigit(char16_t ch)
{
    return (ch >= u'0' && ch <= u'9') || (ch >= u'a' && ch <= u'f') || (ch >= u'A' && ch <= u'F');
}

[[nodiscard]] std::u16string Lower(std::u16string name)
{
    for (char16_t& ch : name)
        if (ch >= u'A' && ch <= u'F')
            ch = char16_t(ch - u'A' + u'a');
    return name;
}

void CheckCells(const TRunOutcome& outcome)
{
    FUZZ_CHECK(outcome.names.size() == outcome.values.size());
    std::set<std::u16string> distinct;
    for (const std::u16string& name : outcome.names) {
        FUZZ_CHECK(name.size() == 4);
        for (const char16_t ch : name)
            FUZZ_CHECK(IsHexDigit(ch));
        FUZZ_CHECK(distinct.insert(Lower(name)).second);
    }
}

void CheckError(const TErrorReport& error, const std::vector<std::u16string>& lines)
{
    FUZZ_CHECK(!error.message.empty());
    if (error.message == kBrackets) {
        FUZZ_CHECK(error.line == 0 && error.column == 0);
        return;
    }
    FUZZ_CHECK(error.line >= 0 && std::size_t(error.line) < lines.size());
    // One past the line's end is where a missing operand is reported.
    FUZZ_CHECK(error.column >= 1 && std::size_t(error.column) <= lines[std::size_t(error.line)].size() + 1);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const std::vector<std::u16string> lines =
        SplitEditorLines(DecodeProjectText(std::string_view(reinterpret_cast<const char*>(data), size)));

    TVeskRunner runner;
    const TRunOutcome outcome = runner.Run(lines, kStepLimit);
    FUZZ_CHECK(outcome.steps <= kStepLimit);
    FUZZ_CHECK(std::isfinite(outcome.days) && outcome.days >= 0);
    CheckCells(outcome);
    switch (outcome.status) {
    case TRunStatus::rsFinished:
        FUZZ_CHECK(!outcome.error);
        break;
    case TRunStatus::rsLimit:
        FUZZ_CHECK(!outcome.error && outcome.steps == kStepLimit);
        break;
    case TRunStatus::rsError:
        FUZZ_CHECK(outcome.error.has_value());
        CheckError(*outcome.error, lines);
        break;
    default:
        FUZZ_CHECK(!"no status");
    }
    return 0;
}
