// An execution profile: the steps taken on each line and the stores into each
// cell. Counted only by a run that asks for it.
#pragma once

#include <cstdint>
#include <utility>
#include <vector>

class TRunProfile {
public:
    void Clear();
    // Makes room for the steps of lines 0 to `lines`; adding steps checks
    // nothing, so this must come first.
    void Reserve(std::size_t lines);

    [[nodiscard]] std::uint64_t Total() const;
    // Steps per line of a program of `lineCount` lines. The step that finds the
    // end of the program stands past the last line and is counted on it, so the
    // counts add up to Total().
    [[nodiscard]] std::vector<std::uint64_t> LineSteps(std::size_t lineCount) const;
    // (address code, stores) of every cell stored into, by address.
    [[nodiscard]] std::vector<std::pair<std::int32_t, std::uint64_t>> CellWrites() const;

    // Adds counts gathered elsewhere.
    void AddSteps(std::int32_t line, std::uint64_t steps) { _lineSteps[static_cast<std::size_t>(line)] += steps; }
    void AddWrites(std::int32_t cell, std::uint64_t writes) { _writes[static_cast<std::size_t>(cell)] += writes; }

private:
    static constexpr std::size_t kAddresses = 65536;
    std::vector<std::uint64_t> _lineSteps;
    std::vector<std::uint64_t> _writes = std::vector<std::uint64_t>(kAddresses, 0); // by address code
};

// Counts for a profile while the same line and the same cell come again, as
// in a tight loop, where a register beats a counter in memory; adds them to
// the profile when they change and when it goes.
class TProfileTally {
public:
    explicit TProfileTally(TRunProfile& profile) : _profile(profile) {}
    ~TProfileTally() { Flush(); }
    TProfileTally(const TProfileTally&) = delete;
    TProfileTally& operator=(const TProfileTally&) = delete;

    void Step(std::int32_t line)
    {
        if (line != _line) {
            if (_steps != 0)
                _profile.AddSteps(_line, _steps);
            _line = line;
            _steps = 0;
        }
        ++_steps;
    }
    void Write(std::int32_t cell)
    {
        if (cell != _cell) {
            if (_writes != 0)
                _profile.AddWrites(_cell, _writes);
            _cell = cell;
            _writes = 0;
        }
        ++_writes;
    }
    void Flush()
    {
        if (_steps != 0)
            _profile.AddSteps(_line, _steps);
        if (_writes != 0)
            _profile.AddWrites(_cell, _writes);
        _steps = 0;
        _writes = 0;
    }

private:
    TRunProfile& _profile;
    std::int32_t _line = -1;
    std::uint64_t _steps = 0;
    std::int32_t _cell = -1;
    std::uint64_t _writes = 0;
};
