// The error report: the column in the editor's line and the three-line text.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "core/bracketmatch.h"

// Maps a column of the prepared line (blanks and tabs removed) back to the
// editor's line. 0 stays 0; past the line's end, the blanks of the whole line count.
[[nodiscard]] std::int32_t MapErrorColumn(std::u16string_view editorLine, std::int32_t errorPos);

// Where the editor shows a fault the core reported at (errorLine, errorPos):
// the mapped column, or for the unpaired brackets (position 0) the bracket that
// breaks the pairing; nothing when the text has none. A line the editor does
// not have counts as an empty one.
[[nodiscard]] std::optional<TTextPlace> FaultPlace(const std::vector<std::u16string>& editorLines,
                                                   std::int32_t errorLine, std::int32_t errorPos);

// "Произошла ошибка при выполнении программы\r\nСтрока: N, символ: C.\r\nСообщение: M"
// with N = errorLine + 1 and C the mapped column.
[[nodiscard]] std::u16string ErrorReportText(std::int32_t errorLine, std::int32_t column,
                                             std::u16string_view message);

// What both front ends show for a core error: the line as the core gave it, the
// column mapped onto the editor's line, and the report with "\n" line breaks.
struct TErrorReport {
    std::int32_t line = 0; // 0-based
    std::int32_t column = 0;
    std::u16string message;
    std::u16string text;
};

// A line the editor does not have counts as an empty one.
[[nodiscard]] TErrorReport MakeErrorReport(const std::vector<std::u16string>& editorLines,
                                           std::int32_t errorLine, std::int32_t errorPos,
                                           std::u16string_view message);
