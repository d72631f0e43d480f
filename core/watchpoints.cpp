#include "core/watchpoints.h"

std::optional<TWatchpoint> TWatchpoint::Make(std::u16string_view address, std::uint8_t kinds)
{
    const std::int32_t code = TCellMemory::CodeOf(address);
    const std::uint8_t known = kinds & (wkWrite | wkChange | wkCreate | wkDestroy);
    if (code < 0 || known == 0)
        return std::nullopt;
    return TWatchpoint{code, known};
}

std::u16string TWatchHit::CellText() const
{
    static constexpr char16_t kHex[] = u"0123456789ABCDEF";
    std::u16string text(4, u'0');
    for (std::size_t i = 0; i < 4; ++i)
        text[3 - i] = kHex[(cell >> (4 * i)) & 15];
    return text;
}

void TWatchList::Set(std::vector<TWatchpoint> watchpoints)
{
    _watch = std::move(watchpoints);
    _seen.assign(_watch.size(), TSeen{false, 0});
}

std::optional<TWatchHit> TWatchList::Examine(const TCellMemory& cells, std::int32_t written,
                                           std::int32_t line, std::int32_t column) const
{
    for (std::size_t i = 0; i < _watch.size(); ++i) {
        const TWatchpoint& watch = _watch[i];
        const TSeen seen = _seen[i];
        const std::int32_t slot = cells.Find(watch.cell);
        const bool exists = slot >= 0;
        const std::uint8_t value = exists ? cells.Value(slot) : 0;
        // The most telling of what happened is the cause named.
        std::uint8_t happened = 0;
        if (seen.exists && !exists)
            happened = wkDestroy;
        else if (!seen.exists && exists)
            happened = wkCreate;
        if (seen.exists && exists && seen.value != value)
            happened |= wkChange;
        if (written == watch.cell && exists)
            happened |= wkWrite;
        happened &= watch.kinds;
        if (happened == 0)
            continue;
        for (const TWatchKind kind : {wkDestroy, wkCreate, wkChange, wkWrite}) {
            if ((happened & kind) != 0)
                return TWatchHit{watch.cell, kind, seen.value, value, line, column};
        }
    }
    return std::nullopt;
}
