#include "formats/results.h"

#include <algorithm>
#include <cmath>

#include "formats/cp1251.h"
#include "formats/utf16.h"

namespace {

constexpr double kMsPerDay = 86400000.0;

// Milliseconds below one day, rounded to the nearest. A value that cannot be a
// run time (not a number, infinite, negative) shows as zero.
[[nodiscard]] std::int64_t MillisecondsOfDay(double days)
{
    const double ms = std::round(days * kMsPerDay);
    if (!std::isfinite(ms) || ms <= 0)
        return 0;
    return static_cast<std::int64_t>(std::fmod(ms, kMsPerDay));
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
    const std::int64_t ms = MillisecondsOfDay(days);
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
