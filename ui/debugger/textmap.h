// Where the lines of the text a run started with stand in the editor's text as
// it is now, and back. A run goes on with the text copied at its start while
// the user may edit; whatever the screen shows of the run goes through this.
// The lines before and after the edited stretch are the same lines, moved by
// the difference in length; a line of the stretch has no counterpart.
#pragma once

#include <algorithm>
#include <cstdint>
#include <optional>

class TLineMap {
public:
    // Two texts of `lines` lines each that are alike.
    TLineMap() = default;
    // `leading` lines at the start and `trailing` at the end agree (they may
    // not overlap); the lines between them differ.
    TLineMap(std::int32_t runningLines, std::int32_t editedLines, std::int32_t leading,
             std::int32_t trailing)
        : _running(runningLines), _edited(editedLines), _leading(leading), _trailing(trailing)
    {
    }

    // Compares the lines of two texts from both ends; `same(i, j)` tells
    // whether line i of the running text equals line j of the edited one.
    template <typename TSame>
    static TLineMap Compare(std::int32_t runningLines, std::int32_t editedLines, TSame same)
    {
        const std::int32_t common = std::min(runningLines, editedLines);
        std::int32_t leading = 0;
        while (leading < common && same(leading, leading))
            ++leading;
        std::int32_t trailing = 0;
        while (trailing < common - leading
               && same(runningLines - 1 - trailing, editedLines - 1 - trailing))
            ++trailing;
        return {runningLines, editedLines, leading, trailing};
    }

    // Nothing was edited, or every edit was undone.
    [[nodiscard]] bool Alike() const { return _leading == _running && _running == _edited; }

    // The edited text's line for a line of the running text; none when that
    // line was deleted or changed.
    [[nodiscard]] std::optional<std::int32_t> ToEdited(std::int32_t line) const
    {
        return Map(line, _running, _edited);
    }
    // The running text's line for a line of the edited text; none when it was
    // typed or changed after the start.
    [[nodiscard]] std::optional<std::int32_t> ToRunning(std::int32_t line) const
    {
        return Map(line, _edited, _running);
    }

private:
    [[nodiscard]] std::optional<std::int32_t> Map(std::int32_t line, std::int32_t from,
                                                  std::int32_t to) const
    {
        if (Alike() || line < _leading)
            return line;
        // A line past the end (the end of the program) stays past the end.
        if (line >= from - _trailing)
            return line - from + to;
        return std::nullopt;
    }

    std::int32_t _running = 0;
    std::int32_t _edited = 0;
    std::int32_t _leading = 0;
    std::int32_t _trailing = 0;
};
