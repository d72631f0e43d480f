#include "core/preparedprogram.h"

#include <cstring>
#include <utility>

TPreparedProgram::TPreparedProgram(std::vector<std::u16string> lines)
{
    _parts.lines = std::move(lines);
    _parts.fault = PrepareAndCheck(_parts.lines);
    if (!_parts.fault && !_parts.lines.empty()) {
        _parts.code.Decode(_parts.lines);
        _parts.hash = ProgramTextHash(_parts.lines);
    }
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
