#include "core/breakcondition.h"

#include <algorithm>

#include "core/hexdigits.h"

namespace {

// Reads `count` hex digits at `at`; -1 when they are not all there.
std::int32_t HexAt(std::u16string_view text, std::size_t at, std::size_t count)
{
    if (at + count > text.size())
        return -1;
    std::int32_t value = 0;
    for (std::size_t i = 0; i < count; ++i) {
        const std::int32_t digit = HexDigit(text[at + i]);
        if (digit < 0)
            return -1;
        value = value * 16 + digit;
    }
    return value;
}

void SkipBlanks(std::u16string_view text, std::size_t& at)
{
    while (at < text.size() && (text[at] == u' ' || text[at] == u'\t'))
        ++at;
}

} // namespace

std::optional<TBreakCondition> TBreakCondition::Parse(std::u16string_view text)
{
    TBreakCondition result;
    std::size_t at = 0;
    SkipBlanks(text, at);
    if (at >= text.size() || text[at] != u'$')
        return std::nullopt;
    result.cell = HexAt(text, at + 1, 4);
    if (result.cell < 0)
        return std::nullopt;
    at += 5;
    SkipBlanks(text, at);
    if (at >= text.size() || text[at] != u'?')
        return std::nullopt;
    ++at;
    if (at < text.size() && text[at] == u'?') {
        result.kind = TKind::ckOdd;
        ++at;
    } else if (at < text.size() && text[at] == u'@') {
        result.kind = TKind::ckEqualCell;
        result.operand = HexAt(text, at + 1, 4);
        at += 5;
    } else {
        result.kind = TKind::ckEqualByte;
        result.operand = HexAt(text, at, 2);
        at += 2;
    }
    if (result.operand < 0)
        return std::nullopt;
    SkipBlanks(text, at);
    if (at < text.size())
        return std::nullopt;
    return result;
}

bool TBreakCondition::Holds(const TCellMemory& cells) const
{
    const std::int32_t slot = cells.Find(cell);
    if (slot < 0)
        return false;
    const std::int32_t value = cells.Value(slot);
    switch (kind) {
    case TKind::ckEqualByte: return value == operand;
    case TKind::ckOdd: return value % 2 == 1;
    case TKind::ckEqualCell: {
        const std::int32_t other = cells.Find(operand);
        return other >= 0 && value == cells.Value(other);
    }
    }
    return false;
}

void TBreakRules::Set(std::vector<TBreakRule> rules)
{
    std::stable_sort(rules.begin(), rules.end(),
                     [](const TBreakRule& a, const TBreakRule& b) { return a.line < b.line; });
    // One rule per line: the last one given for a line wins.
    std::vector<TBreakRule> kept;
    for (TBreakRule& rule : rules) {
        if (!kept.empty() && kept.back().line == rule.line)
            kept.back() = std::move(rule);
        else
            kept.push_back(std::move(rule));
    }
    _rules = std::move(kept);
    _hits.assign(_rules.size(), 0);
}

const TBreakRule* TBreakRules::Find(std::int32_t line) const
{
    const auto it = std::lower_bound(_rules.begin(), _rules.end(), line,
                                     [](const TBreakRule& rule, std::int32_t l) { return rule.line < l; });
    return it != _rules.end() && it->line == line ? &*it : nullptr;
}

bool TBreakRules::Arrive(std::int32_t line, const TCellMemory& cells)
{
    const TBreakRule* rule = Find(line);
    if (!rule || (rule->condition && !rule->condition->Holds(cells)))
        return false;
    std::uint32_t& hits = _hits[static_cast<std::size_t>(rule - _rules.data())];
    ++hits;
    return rule->hitCount == 0 || hits == rule->hitCount;
}

std::uint32_t TBreakRules::Hits(std::int32_t line) const
{
    const TBreakRule* rule = Find(line);
    return rule ? _hits[static_cast<std::size_t>(rule - _rules.data())] : 0;
}

void TBreakRules::ClearHits()
{
    std::fill(_hits.begin(), _hits.end(), 0);
}
