// Where an operator of the prepared program stands in the editor's text: the
// prepared line has no blanks, tabs or comment, the editor's line has them.
#pragma once

#include <cstdint>
#include <string_view>
#include <vector>

struct TOperatorSpan {
    std::int32_t column = 0; // 0-based, in the editor's line
    std::int32_t length = 0; // in the editor's line, blanks inside an operand included
};

// Characters the operator at 1-based `column` of the prepared line takes with
// its operand, as far as the line has them; at least 1.
[[nodiscard]] std::int32_t OperatorLength(std::u16string_view prepared, std::int32_t column);

// The span of the operator at 1-based `column` of the prepared line in the
// editor's line, mapped as the error report maps a column. A column past the
// prepared line's end (the step that moves on to the next line) gives the
// editor line's end and length 0.
[[nodiscard]] TOperatorSpan EditorSpan(std::u16string_view prepared, std::u16string_view editorLine,
                                       std::int32_t column);

// MapErrorColumn for one editor line, built once in the line's length; each
// column then maps at once, however long the line.
class TColumnMap {
public:
    TColumnMap() = default;
    explicit TColumnMap(std::u16string_view editorLine);
    [[nodiscard]] std::int32_t Map(std::int32_t errorPos) const;
    [[nodiscard]] std::int32_t LineLength() const { return _length; }

private:
    std::vector<std::int32_t> _blanksBefore; // before each character that is not blank
    std::int32_t _blanks = 0;
    std::int32_t _length = 0;
};

[[nodiscard]] TOperatorSpan EditorSpan(std::u16string_view prepared, const TColumnMap& editorLine,
                                       std::int32_t column);
