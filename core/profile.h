// An execution profile: the steps taken on each line and the stores into each
// cell. Counted only by a run that asks for it.
#pragma once

#include <cstdint>
#include <utility>
#include <vector>

class TRunProfile {
public:
    void Clear();
    void CountStep(std::int32_t line)
    {
        const auto at = static_cast<std::size_t>(line);
        if (at >= _lineSteps.size())
            _lineSteps.resize(at + 1, 0);
        ++_lineSteps[at];
        ++_total;
    }
    void CountWrite(std::int32_t cell)
    {
        if (_writes.empty())
            _writes.assign(kAddresses, 0);
        ++_writes[static_cast<std::size_t>(cell)];
    }

    [[nodiscard]] std::uint64_t Total() const { return _total; }
    // Steps per line of a program of `lineCount` lines. The step that finds the
    // end of the program stands past the last line and is counted on it, so the
    // counts add up to Total().
    [[nodiscard]] std::vector<std::uint64_t> LineSteps(std::size_t lineCount) const;
    // (address code, stores) of every cell stored into, by address.
    [[nodiscard]] std::vector<std::pair<std::int32_t, std::uint64_t>> CellWrites() const;

private:
    static constexpr std::size_t kAddresses = 65536;
    std::vector<std::uint64_t> _lineSteps;
    std::vector<std::uint64_t> _writes; // by address code; empty until the first store
    std::uint64_t _total = 0;
};
