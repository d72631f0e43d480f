#include "formats/errorreport.h"

#include <algorithm>
#include <limits>

#include "formats/utf16.h"

namespace {

[[nodiscard]] bool IsBlank(char16_t ch) { return ch == u' ' || ch == u'\t'; }

[[nodiscard]] std::int32_t ClampToInt32(std::int64_t value)
{
    return static_cast<std::int32_t>(std::clamp<std::int64_t>(
        value, std::numeric_limits<std::int32_t>::min(), std::numeric_limits<std::int32_t>::max()));
}

} // namespace

std::int32_t MapErrorColumn(std::u16string_view editorLine, std::int32_t errorPos)
{
    if (errorPos <= 0)
        return errorPos;
    std::int64_t blanks = 0;
    std::int64_t others = 0;
    for (char16_t ch : editorLine) {
        if (IsBlank(ch)) {
            ++blanks;
            continue;
        }
        if (++others == errorPos)
            break;
    }
    return ClampToInt32(errorPos + blanks);
}

std::optional<TTextPlace> FaultPlace(const std::vector<std::u16string>& editorLines,
                                     std::int32_t errorLine, std::int32_t errorPos)
{
    if (errorPos == 0)
        return FindUnpairedBracket(editorLines);
    const bool known = errorLine >= 0 && static_cast<std::size_t>(errorLine) < editorLines.size();
    const std::u16string_view line =
        known ? std::u16string_view(editorLines[static_cast<std::size_t>(errorLine)]) : std::u16string_view();
    return TTextPlace{errorLine, MapErrorColumn(line, errorPos) - 1};
}

std::u16string ErrorReportText(std::int32_t errorLine, std::int32_t column,
                               std::u16string_view message)
{
    std::u16string text = u"Произошла ошибка при выполнении программы\r\nСтрока: ";
    AppendAscii(text, std::to_string(static_cast<std::int64_t>(errorLine) + 1));
    text += u", символ: ";
    AppendAscii(text, std::to_string(column));
    text += u".\r\nСообщение: ";
    text += message;
    return text;
}

TErrorReport MakeErrorReport(const std::vector<std::u16string>& editorLines,
                             std::int32_t errorLine, std::int32_t errorPos,
                             std::u16string_view message)
{
    const bool known = errorLine >= 0 && static_cast<std::size_t>(errorLine) < editorLines.size();
    const std::u16string_view line =
        known ? std::u16string_view(editorLines[static_cast<std::size_t>(errorLine)])
              : std::u16string_view();
    TErrorReport report;
    report.line = errorLine;
    report.column = MapErrorColumn(line, errorPos);
    report.message = message;
    // Shown as lines of a box or of a terminal: the report's CR LF become LF.
    const std::u16string crlf = ErrorReportText(errorLine, report.column, message);
    for (std::size_t i = 0; i < crlf.size(); ++i) {
        if (!(crlf[i] == u'\r' && i + 1 < crlf.size() && crlf[i + 1] == u'\n'))
            report.text.push_back(crlf[i]);
    }
    return report;
}
