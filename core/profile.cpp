#include "core/profile.h"

#include <numeric>

void TRunProfile::Clear()
{
    _lineSteps.clear();
    _writes.assign(kAddresses, 0);
}

void TRunProfile::Reserve(std::size_t lines)
{
    if (_lineSteps.size() < lines + 1)
        _lineSteps.resize(lines + 1, 0);
}

std::uint64_t TRunProfile::Total() const
{
    return std::accumulate(_lineSteps.begin(), _lineSteps.end(), std::uint64_t{0});
}

std::vector<std::uint64_t> TRunProfile::LineSteps(std::size_t lineCount) const
{
    std::vector<std::uint64_t> lines(lineCount, 0);
    for (std::size_t i = 0; i < _lineSteps.size(); ++i) {
        if (lineCount == 0)
            break;
        lines[i < lineCount ? i : lineCount - 1] += _lineSteps[i];
    }
    return lines;
}

std::vector<std::pair<std::int32_t, std::uint64_t>> TRunProfile::CellWrites() const
{
    std::vector<std::pair<std::int32_t, std::uint64_t>> cells;
    for (std::size_t code = 0; code < _writes.size(); ++code) {
        if (_writes[code] != 0)
            cells.emplace_back(static_cast<std::int32_t>(code), _writes[code]);
    }
    return cells;
}
