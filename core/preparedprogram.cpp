#include "core/preparedprogram.h"

#include <cstring>
#include <utility>

namespace {

// Lines prepared between two looks at the stop token: a fraction of a millisecond.
constexpr std::size_t kLinesPerLook = 4096;

} // namespace

TPreparedProgram::TPreparedProgram(std::vector<std::u16string> lines, std::stop_token stop)
    : _lines(std::move(lines))
{
    const auto cancelled = [this, &stop] {
        if (!stop.stop_requested())
            return false;
        // Whoever asked wants the memory back, not the result.
        *this = TPreparedProgram();
        _cancelled = true;
        return true;
    };
    for (std::size_t i = 0; i < _lines.size(); ++i) {
        if (i % kLinesPerLook == 0 && cancelled())
            return;
        PrepareLine(_lines[i]);
    }
    if (cancelled())
        return;
    _fault = FindSourceFault(_lines);
    if (cancelled())
        return;
    if (!_fault && !_lines.empty()) {
        _code.Decode(_lines);
        if (cancelled())
            return;
        _hash = ProgramTextHash(_lines);
    }
}

TPreparedProgram::TPreparedProgram(TPreparedProgram&& other) noexcept
    : _lines(std::move(other._lines)),
      _fault(other._fault),
      _code(std::move(other._code)),
      _hash(other._hash),
      _cancelled(other._cancelled)
{
    _code.Rebind(_lines);
    other._code.Clear();
}

TPreparedProgram& TPreparedProgram::operator=(TPreparedProgram&& other) noexcept
{
    if (this != &other) {
        _lines = std::move(other._lines);
        _fault = other._fault;
        _code = std::move(other._code);
        _hash = other._hash;
        _cancelled = other._cancelled;
        _code.Rebind(_lines);
        other._code.Clear();
    }
    return *this;
}

// The lengths and the characters, mixed eight bytes at a time.
std::uint64_t ProgramTextHash(const std::vector<std::u16string>& lines)
{
    constexpr std::uint64_t kMultiplier = 0x9E3779B97F4A7C15ULL;
    std::uint64_t hash = lines.size();
    const auto mix = [&hash](std::uint64_t value) {
        hash = (hash ^ value) * kMultiplier;
        hash ^= hash >> 29;
    };
    for (const std::u16string& line : lines) {
        mix(line.size());
        const char16_t* data = line.data();
        std::size_t left = line.size();
        for (; left >= 4; left -= 4, data += 4) {
            std::uint64_t chunk;
            std::memcpy(&chunk, data, sizeof chunk);
            mix(chunk);
        }
        for (; left > 0; --left, ++data)
            mix(*data);
    }
    return hash;
}
