#include "formats/results.h"

#include <algorithm>
#include <cmath>
#include <limits>

#include "formats/cp1251.h"
#include "formats/utf16.h"

namespace {

constexpr double kMsPerDay = 86400000.0;
// 2^63 as a double: the first count of milliseconds that std::int64_t cannot hold.
constexpr double kMsLimit = 9223372036854775808.0;

// The run time in whole milliseconds, rounded to the nearest; whole days are
// kept, so a run of 25 hours shows 90000 seconds. A value that cannot be a run
// time (not a number, infinite, negative) shows as zero; one beyond any run
// (some 292 million years) as the largest count.
[[nodiscard]] std::int64_t Milliseconds(double days)
{
    if (!std::isfinite(days))
        return 0;
    const double ms = std::round(days * kMsPerDay); // may overflow to infinity
    if (ms <= 0)
        return 0;
    if (ms >= kMsLimit)
        return std::numeric_limits<std::int64_t>::max();
    return static_cast<std::int64_t>(ms);
}

[[nodiscard]] std::u16string_view MillisecondSeparator(std::int64_t ms)
{
    if (ms < 10)
        return u".00";
    if (ms < 100)
        return u".0";
    return u".";
}

} // namespace

std::u16string ByteToBinary(std::uint64_t value)
{
    std::u16string digits;
    for (; value > 0; value /= 2)
        digits.insert(digits.begin(), (value & 1) != 0 ? u'1' : u'0');
    if (digits.size() < 8)
        digits.insert(0, 8 - digits.size(), u'0');
    return digits;
}

std::u16string SecondsText(double days)
{
    const std::int64_t ms = Milliseconds(days);
    const std::int64_t seconds = ms / 1000;
    const std::int64_t rest = ms % 1000;
    std::u16string text;
    AppendAscii(text, std::to_string(seconds));
    text += MillisecondSeparator(rest);
    AppendAscii(text, std::to_string(rest));
    return text;
}

std::u16string TimeText(double days) { return SecondsText(days) + u" сек."; }

TResultRow MakeResultRow(std::u16string_view name, std::uint8_t value)
{
    static constexpr char16_t kHexDigits[] = u"0123456789ABCDEF";
    TResultRow row;
    row.address = u"$";
    row.address += name;
    row.binary = ByteToBinary(value);
    row.hex = {kHexDigits[value >> 4], kHexDigits[value & 0x0F]};
    row.character = std::u16string(1, static_cast<char16_t>(value));
    return row;
}

std::vector<TResultRow> ResultRows(std::span<const std::u16string> names,
                                   std::span<const std::uint8_t> values)
{
    const std::size_t count = std::min(names.size(), values.size());
    std::vector<TResultRow> rows;
    rows.reserve(count);
    for (std::size_t i = 0; i < count; ++i)
        rows.push_back(MakeResultRow(names[i], values[i]));
    return rows;
}

std::u16string ResultsHeader()
{
    return u"Адрес\tЗначение (двоичное)\tЗначение (16-е)\tСимвол";
}

std::vector<std::u16string> ResultsLines(const std::vector<TResultRow>& rows)
{
    std::vector<std::u16string> lines;
    lines.reserve(rows.size() + 1);
    lines.push_back(ResultsHeader());
    for (const TResultRow& row : rows)
        lines.push_back(row.address + u'\t' + row.binary + u'\t' + row.hex + u'\t' + row.character);
    return lines;
}

std::string EncodeResultsFile(const std::vector<TResultRow>& rows)
{
    std::u16string text;
    for (const std::u16string& line : ResultsLines(rows)) {
        text += line;
        text += u"\r\n";
    }
    return EncodeCp1251(text);
}
