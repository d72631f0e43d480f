#include "ui/editor/operatorspan.h"

#include <algorithm>
#include <cstdint>

#include "formats/errorreport.h"

std::int32_t OperatorLength(std::u16string_view prepared, std::int32_t column)
{
    const auto size = std::int32_t(prepared.size());
    if (column < 1 || column > size)
        return 1;
    const auto at = [&](std::int32_t c) { return c <= size ? prepared[std::size_t(c - 1)] : u'\0'; };
    std::int32_t length = 1;
    switch (at(column)) {
    case u'$':
    case u'^':
    case u'~':
        length = 5;
        break;
    case u'+':
    case u'-':
        length = at(column + 1) == u'@' ? 6 : 3;
        break;
    case u'?':
        length = at(column + 1) == u'?' ? 2 : at(column + 1) == u'@' ? 6 : 3;
        break;
    case u'[':
        length = at(column + 3) == u':' ? 4 : 1;
        break;
    default:
        break;
    }
    return std::min(length, size - column + 1);
}

TOperatorSpan EditorSpan(std::u16string_view prepared, std::u16string_view editorLine,
                         std::int32_t column)
{
    return EditorSpan(prepared, TColumnMap(editorLine), column);
}

TOperatorSpan EditorSpan(std::u16string_view prepared, const TColumnMap& editorLine,
                         std::int32_t column)
{
    if (column < 1 || column > std::int32_t(prepared.size()))
        return {editorLine.LineLength(), 0};
    const std::int32_t first = editorLine.Map(column);
    const std::int32_t last = editorLine.Map(column + OperatorLength(prepared, column) - 1);
    // The editor's text may have changed since the run started: stay inside it.
    const std::int32_t size = editorLine.LineLength();
    const std::int32_t start = std::clamp(first - 1, 0, size);
    return {start, std::clamp(last - first + 1, 0, size - start)};
}

TColumnMap::TColumnMap(std::u16string_view editorLine)
    : _length(std::int32_t(std::min<std::size_t>(editorLine.size(), INT32_MAX)))
{
    for (const char16_t ch : editorLine) {
        if (ch == u' ' || ch == u'\t')
            ++_blanks;
        else
            _blanksBefore.push_back(_blanks);
    }
}

std::int32_t TColumnMap::Map(std::int32_t errorPos) const
{
    if (errorPos <= 0)
        return errorPos;
    const std::int64_t blanks = std::size_t(errorPos) <= _blanksBefore.size()
                                    ? _blanksBefore[std::size_t(errorPos) - 1]
                                    : _blanks;
    return std::int32_t(std::min<std::int64_t>(std::int64_t(errorPos) + blanks, INT32_MAX));
}
