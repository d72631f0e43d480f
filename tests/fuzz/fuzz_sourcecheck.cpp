// Source preparation and check on any text a project file can hold: Execute
// either refuses the program with one error that points at a refused character
// (or names no place, for brackets), or starts it.
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "core/veskcore.h"
#include "formats/errorreport.h"
#include "formats/projectfile.h"
#include "tests/fuzz/fuzzcheck.h"

namespace {

const std::u16string kUnknownChar = u"Неизвестный символ.";
const std::u16string kBrackets = u"Неверное сочетание программных скобок.";

[[nodiscard]] bool Allowed(char16_t ch)
{
    if (ch >= u'A' && ch <= u'Z')
        ch = char16_t(ch - u'A' + u'a');
    return std::u16string_view(u"0123456789abcdef@$*-+<>~^:?\n\r[]{}()").find(ch) != std::u16string_view::npos;
}

struct TSeen {
    int errors = 0;
    int starts = 0;
    int stops = 0;
    int finishes = 0;
    std::int32_t line = 0;
    std::int32_t pos = 0;
    std::u16string message;
};

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const std::vector<std::u16string> lines =
        SplitEditorLines(DecodeProjectText(std::string_view(reinterpret_cast<const char*>(data), size)));

    TManualTimerOwner owner;
    TVeskCore core(owner);
    TSeen seen;
    core.OnStart = [&](TVeskCore&) { ++seen.starts; };
    core.OnStop = [&](TVeskCore&) { ++seen.stops; };
    core.OnFinish = [&](TVeskCore&) { ++seen.finishes; };
    core.OnError = [&](TVeskCore&, std::int32_t line, std::int32_t pos, const TCoreError& error) {
        ++seen.errors;
        seen.line = line;
        seen.pos = pos;
        seen.message = CoreErrorText(error);
    };
    core.ProgramCode() = lines;
    core.Execute();

    const std::vector<std::u16string>& prepared = core.ProgramCode();
    FUZZ_CHECK(prepared.size() == lines.size());
    FUZZ_CHECK(seen.errors <= 1);
    if (seen.errors == 0) {
        FUZZ_CHECK(core.IsRun() == !lines.empty());
        FUZZ_CHECK(seen.starts + seen.finishes == 1 && seen.stops == seen.finishes);
        for (const std::u16string& line : prepared)
            for (const char16_t ch : line)
                FUZZ_CHECK(Allowed(ch));
        return 0;
    }

    FUZZ_CHECK(!core.IsRun() && seen.stops == 1 && seen.starts == 0);
    if (seen.message == kBrackets) {
        FUZZ_CHECK(seen.line == 0 && seen.pos == 0);
        return 0;
    }
    FUZZ_CHECK(seen.message == kUnknownChar);
    FUZZ_CHECK(seen.line >= 0 && std::size_t(seen.line) < lines.size());
    const std::u16string& line = prepared[std::size_t(seen.line)];
    FUZZ_CHECK(seen.pos >= 1 && std::size_t(seen.pos) <= line.size());
    FUZZ_CHECK(!Allowed(line[std::size_t(seen.pos) - 1]));
    // It is the first refused character in reading order.
    for (std::size_t i = 0; i < std::size_t(seen.line); ++i)
        for (const char16_t ch : prepared[i])
            FUZZ_CHECK(Allowed(ch));
    for (std::size_t j = 0; j + 1 < std::size_t(seen.pos); ++j)
        FUZZ_CHECK(Allowed(line[j]));
    // The report's column lies inside the editor's line.
    const std::int32_t column = MapErrorColumn(lines[std::size_t(seen.line)], seen.pos);
    FUZZ_CHECK(column >= 1 && std::size_t(column) <= lines[std::size_t(seen.line)].size());
    return 0;
}
