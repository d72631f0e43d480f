#include "formats/settingsfile.h"

#include <algorithm>
#include <cstdint>

#include "formats/utf16.h"

namespace {

constexpr std::string_view kByteArrayOpen = "@ByteArray(";

[[nodiscard]] bool IsBlank(char c) { return c == ' ' || c == '\t'; }

[[nodiscard]] int HexValue(char c)
{
    if (c >= '0' && c <= '9')
        return c - '0';
    if (c >= 'a' && c <= 'f')
        return c - 'a' + 10;
    if (c >= 'A' && c <= 'F')
        return c - 'A' + 10;
    return -1;
}

[[nodiscard]] std::string_view Trimmed(std::string_view text)
{
    while (!text.empty() && IsBlank(text.front()))
        text.remove_prefix(1);
    while (!text.empty() && IsBlank(text.back()))
        text.remove_suffix(1);
    return text;
}

void AppendCodePoint(std::u16string& out, char32_t c)
{
    if (c < 0x10000) {
        out += char16_t(c);
    } else {
        c -= 0x10000;
        out += char16_t(0xD800 + (c >> 10));
        out += char16_t(0xDC00 + (c & 0x3FF));
    }
}

// One UTF-8 sequence at text[i]; a malformed one gives U+FFFD for its first byte.
[[nodiscard]] char32_t DecodeUtf8(std::string_view text, std::size_t& i)
{
    const auto byte = [&](std::size_t k) { return std::uint8_t(text[k]); };
    const std::uint8_t lead = byte(i);
    int length = 0;
    char32_t c = 0;
    if (lead < 0x80) {
        ++i;
        return lead;
    }
    if (lead >= 0xC2 && lead <= 0xDF) {
        length = 2;
        c = lead & 0x1F;
    } else if (lead >= 0xE0 && lead <= 0xEF) {
        length = 3;
        c = lead & 0x0F;
    } else if (lead >= 0xF0 && lead <= 0xF4) {
        length = 4;
        c = lead & 0x07;
    }
    if (length == 0 || i + std::size_t(length) > text.size()) {
        ++i;
        return 0xFFFD;
    }
    for (int k = 1; k < length; ++k) {
        const std::uint8_t next = byte(i + std::size_t(k));
        if ((next & 0xC0) != 0x80) {
            ++i;
            return 0xFFFD;
        }
        c = (c << 6) | (next & 0x3F);
    }
    const char32_t least = length == 2 ? 0x80 : length == 3 ? 0x800 : 0x10000;
    if (c < least || c > 0x10FFFF || (c >= 0xD800 && c <= 0xDFFF)) {
        ++i;
        return 0xFFFD;
    }
    i += std::size_t(length);
    return c;
}

// A value as Qt's INI files write it: elements separated by unquoted commas,
// double quotes around parts that hold , ; = or edge blanks, C escapes (\n,
// \xHH, \0 octal...), UTF-8 elsewhere, and an unquoted ; starting a comment.
[[nodiscard]] std::vector<std::u16string> ValueElements(std::string_view raw)
{
    std::vector<std::u16string> elements;
    std::u16string current;
    // Blanks outside quotes count only between other characters of an element.
    std::size_t pendingBlanks = 0;
    bool quoted = false;
    bool started = false;
    const auto append = [&](char16_t c) {
        if (started)
            current.append(pendingBlanks, u' ');
        pendingBlanks = 0;
        started = true;
        current += c;
    };
    std::size_t i = 0;
    while (i < raw.size()) {
        const char c = raw[i];
        if (c == '"') {
            quoted = !quoted;
            if (started)
                current.append(pendingBlanks, u' ');
            pendingBlanks = 0;
            started = true;
            ++i;
        } else if (!quoted && c == ',') {
            elements.push_back(std::move(current));
            current.clear();
            pendingBlanks = 0;
            started = false;
            ++i;
        } else if (!quoted && c == ';') {
            break;
        } else if (!quoted && IsBlank(c)) {
            ++pendingBlanks;
            ++i;
        } else if (c == '\\' && i + 1 < raw.size()) {
            const char e = raw[i + 1];
            i += 2;
            if (e == 'x') {
                // Every hex digit that follows belongs to the escape; the unit keeps the last four.
                std::uint32_t value = 0;
                while (i < raw.size() && HexValue(raw[i]) >= 0)
                    value = ((value << 4) | std::uint32_t(HexValue(raw[i++]))) & 0xFFFF;
                append(char16_t(value));
            } else if (e >= '0' && e <= '7') {
                std::uint32_t value = std::uint32_t(e - '0');
                while (i < raw.size() && raw[i] >= '0' && raw[i] <= '7')
                    value = ((value << 3) | std::uint32_t(raw[i++] - '0')) & 0xFFFF;
                append(char16_t(value));
            } else {
                static constexpr std::string_view from = "abfnrtv";
                static constexpr std::u16string_view to = u"\a\b\f\n\r\t\v";
                const std::size_t k = from.find(e);
                append(k == std::string_view::npos ? char16_t(std::uint8_t(e)) : to[k]);
            }
        } else {
            std::u16string decoded;
            AppendCodePoint(decoded, DecodeUtf8(raw, i));
            for (const char16_t unit : decoded)
                append(unit);
        }
    }
    elements.push_back(std::move(current));
    return elements;
}

// A path as the recent list keeps it: absolute, so that a typed value such as
// "@Variant(...)" never passes for one.
[[nodiscard]] bool IsPathElement(std::u16string_view element)
{
    return !element.empty() && element.front() == u'/' && element.size() <= kMaxRecentPathUnits
           && element.find(u'\0') == std::u16string_view::npos;
}

// "@ByteArray(...)" with at most kMaxWindowBytes bytes, each unit a byte.
[[nodiscard]] std::string WindowBytes(std::string_view raw)
{
    const std::vector<std::u16string> elements = ValueElements(raw);
    if (elements.size() != 1)
        return {};
    const std::u16string& value = elements.front();
    const std::size_t open = kByteArrayOpen.size();
    if (value.size() < open + 1 || value.back() != u')'
        || !std::equal(kByteArrayOpen.begin(), kByteArrayOpen.end(), value.begin())
        || value.size() - open - 1 > kMaxWindowBytes)
        return {};
    std::string bytes;
    for (std::size_t i = open; i + 1 < value.size(); ++i) {
        if (value[i] > 0xFF)
            return {};
        bytes += char(value[i]);
    }
    return bytes;
}

void AppendEscaped(std::string& out, char16_t unit, bool& escapedLast)
{
    static constexpr char digits[] = "0123456789abcdef";
    out += "\\x";
    bool leading = true;
    for (int shift = 12; shift >= 0; shift -= 4) {
        const int digit = (unit >> shift) & 0xF;
        if (leading && digit == 0 && shift > 0)
            continue;
        leading = false;
        out += digits[digit];
    }
    escapedLast = true;
}

// One element: ASCII that needs no care goes as it is, other characters as
// UTF-8, the rest as \x escapes. A hex digit right after an escape is escaped too,
// as it would otherwise extend it.
void AppendElement(std::string& out, std::u16string_view text)
{
    bool escapedLast = false;
    for (std::size_t i = 0; i < text.size(); ++i) {
        const char16_t c = text[i];
        const bool edgeBlank = c == u' ' && (i == 0 || i + 1 == text.size());
        const bool special = c < 0x20 || c == 0x7F || c == u'"' || c == u'\\' || c == u','
                             || c == u';' || c == u'=' || edgeBlank;
        if (special || (escapedLast && c < 0x80 && HexValue(char(c)) >= 0)) {
            AppendEscaped(out, c, escapedLast);
            continue;
        }
        escapedLast = false;
        if (c < 0x80) {
            out += char(c);
            continue;
        }
        char32_t point = c;
        if (IsHighSurrogate(c) && i + 1 < text.size() && IsLowSurrogate(text[i + 1])) {
            point = 0x10000 + ((char32_t(c) - 0xD800) << 10) + (char32_t(text[i + 1]) - 0xDC00);
            ++i;
        } else if (IsHighSurrogate(c) || IsLowSurrogate(c)) {
            AppendEscaped(out, c, escapedLast);
            continue;
        }
        if (point < 0x800) {
            out += char(0xC0 | (point >> 6));
        } else if (point < 0x10000) {
            out += char(0xE0 | (point >> 12));
            out += char(0x80 | ((point >> 6) & 0x3F));
        } else {
            out += char(0xF0 | (point >> 18));
            out += char(0x80 | ((point >> 12) & 0x3F));
            out += char(0x80 | ((point >> 6) & 0x3F));
        }
        out += char(0x80 | (point & 0x3F));
    }
}

void AppendByteArray(std::string& out, std::string_view bytes)
{
    out += kByteArrayOpen;
    bool escapedLast = false;
    for (const char b : bytes) {
        // Bytes above ASCII are escaped: the reader would take them for UTF-8.
        const auto c = char16_t(std::uint8_t(b));
        if (c >= 0x80 || c < 0x20 || c == 0x7F || c == u'"' || c == u'\\' || c == u','
            || c == u';' || c == u'=' || c == u' ' || (escapedLast && HexValue(char(c)) >= 0)) {
            AppendEscaped(out, c, escapedLast);
        } else {
            escapedLast = false;
            out += char(c);
        }
    }
    out += ')';
}

// Plain decimal digits only, from 1 to max; anything else is unset (0).
std::uint32_t BoundedNumber(std::string_view raw, std::uint32_t max)
{
    if (raw.empty() || raw.size() > 4
        || !std::all_of(raw.begin(), raw.end(), [](char c) { return c >= '0' && c <= '9'; }))
        return 0;
    std::uint32_t number = 0;
    for (const char c : raw)
        number = number * 10 + std::uint32_t(c - '0');
    return number >= 1 && number <= max ? number : 0;
}

} // namespace

TSettingsValues ParseSettings(std::string_view bytes)
{
    TSettingsValues values;
    if (bytes.size() > kSettingsFileCap)
        return values;
    std::string section = "General";
    std::string_view recentRaw;
    std::string_view geometryRaw;
    std::string_view stateRaw;
    std::string_view budgetRaw;
    std::string_view tickRaw;
    while (!bytes.empty()) {
        const std::size_t end = bytes.find_first_of("\r\n");
        const std::string_view line = Trimmed(bytes.substr(0, end));
        bytes.remove_prefix(end == std::string_view::npos ? bytes.size() : end + 1);
        if (line.empty() || line.front() == ';' || line.front() == '#')
            continue;
        if (line.front() == '[') {
            const std::size_t close = line.find(']');
            section = std::string(line.substr(1, close == std::string_view::npos ? 0 : close - 1));
            continue;
        }
        const std::size_t equals = line.find('=');
        if (equals == std::string_view::npos)
            continue;
        const std::string_view key = Trimmed(line.substr(0, equals));
        const std::string_view value = Trimmed(line.substr(equals + 1));
        // The last of repeated keys counts, as for Qt.
        if (section == "General" && key == "recentFiles")
            recentRaw = value;
        else if (section == "window" && key == "geometry")
            geometryRaw = value;
        else if (section == "window" && key == "state")
            stateRaw = value;
        else if (section == "history" && key == "budgetMiB")
            budgetRaw = value;
        else if (section == "run" && key == "tickMs")
            tickRaw = value;
    }
    for (std::u16string& path : ValueElements(recentRaw)) {
        if (values.recentFiles.size() == kMaxRecentFiles)
            break;
        if (IsPathElement(path)
            && std::find(values.recentFiles.begin(), values.recentFiles.end(), path)
                   == values.recentFiles.end())
            values.recentFiles.push_back(std::move(path));
    }
    values.geometry = WindowBytes(geometryRaw);
    values.state = WindowBytes(stateRaw);
    values.historyBudgetMiB = BoundedNumber(budgetRaw, kMaxHistoryBudgetMiB);
    values.tickMs = BoundedNumber(tickRaw, kMaxTickMs);
    return values;
}

std::string SettingsText(const TSettingsValues& values)
{
    std::string text;
    if (!values.recentFiles.empty()) {
        text += "[General]\nrecentFiles=";
        for (std::size_t i = 0; i < values.recentFiles.size(); ++i) {
            if (i != 0)
                text += ", ";
            AppendElement(text, values.recentFiles[i]);
        }
        text += "\n";
    }
    if (!values.geometry.empty() || !values.state.empty()) {
        if (!text.empty())
            text += "\n";
        text += "[window]\n";
        if (!values.geometry.empty()) {
            text += "geometry=";
            AppendByteArray(text, values.geometry);
            text += "\n";
        }
        if (!values.state.empty()) {
            text += "state=";
            AppendByteArray(text, values.state);
            text += "\n";
        }
    }
    if (values.historyBudgetMiB != 0) {
        if (!text.empty())
            text += "\n";
        text += "[history]\nbudgetMiB=" + std::to_string(values.historyBudgetMiB) + "\n";
    }
    if (values.tickMs != 0) {
        if (!text.empty())
            text += "\n";
        text += "[run]\ntickMs=" + std::to_string(values.tickMs) + "\n";
    }
    return text;
}
