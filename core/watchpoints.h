// Watchpoints: a run pauses when a watched cell is written, changes its value,
// is created or is destroyed. A watchpoint names an address, so it may wait for
// a cell that does not exist yet; addresses compare without regard to case.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "core/cellmemory.h"

enum TWatchKind : std::uint8_t {
    wkWrite = 1,   // an operator stored a value into the cell, even an equal one
    wkChange = 2,  // the cell's value differs after the step
    wkCreate = 4,
    wkDestroy = 8,
};

struct TWatchpoint {
    std::int32_t cell = 0;    // address code
    std::uint8_t kinds = 0;   // TWatchKind bits
    // A watchpoint on an address of four hex digits; none for another text or no kind.
    [[nodiscard]] static std::optional<TWatchpoint> Make(std::u16string_view address, std::uint8_t kinds);
    friend bool operator==(const TWatchpoint&, const TWatchpoint&) = default;
};

// Why a watchpoint paused the run, and the operator that did it.
struct TWatchHit {
    std::int32_t cell = 0;   // address code
    TWatchKind what = wkWrite;
    std::uint8_t before = 0; // 0 for a cell that did not exist
    std::uint8_t after = 0;  // 0 for a cell that no longer exists
    std::int32_t line = 0;   // the operator: 0-based line, 1-based column
    std::int32_t column = 1;
    // The address as four upper-case hex digits.
    [[nodiscard]] std::u16string CellText() const;
};

class TWatchList {
public:
    void Set(std::vector<TWatchpoint> watchpoints);
    [[nodiscard]] const std::vector<TWatchpoint>& Watchpoints() const { return _watch; }
    [[nodiscard]] bool Empty() const { return _watch.empty(); }

    // Around steps: what the watched cells are, then after each step whether it
    // hit a watchpoint; After takes in what it found, so steps back to back
    // need Before only once. `written` is the address the operator stored
    // into, -1 for none.
    void Before(const TCellMemory& cells)
    {
        for (std::size_t i = 0; i < _watch.size(); ++i) {
            const std::int32_t slot = cells.Find(_watch[i].cell);
            _seen[i] = slot < 0 ? TSeen{false, 0} : TSeen{true, cells.Value(slot)};
        }
    }
    [[nodiscard]] std::optional<TWatchHit> After(const TCellMemory& cells, std::int32_t written,
                                                 std::int32_t line, std::int32_t column)
    {
        // Most steps touch no watched cell: only a difference is looked into.
        for (std::size_t i = 0; i < _watch.size(); ++i) {
            const std::int32_t slot = cells.Find(_watch[i].cell);
            const TSeen seen = _seen[i];
            if (written == _watch[i].cell || (slot >= 0) != seen.exists ||
                (slot >= 0 && cells.Value(slot) != seen.value)) {
                auto hit = Examine(cells, written, line, column);
                Before(cells);
                return hit;
            }
        }
        return std::nullopt;
    }

private:
    [[nodiscard]] std::optional<TWatchHit> Examine(const TCellMemory& cells, std::int32_t written,
                                                   std::int32_t line, std::int32_t column) const;

    struct TSeen {
        bool exists;
        std::uint8_t value;
    };
    std::vector<TWatchpoint> _watch;
    std::vector<TSeen> _seen; // parallel to _watch, taken by Before
};
