#include "core/compiledprogram.h"

#include <algorithm>

#include "core/cellmemory.h"
#include "core/hexdigits.h"

namespace {

[[nodiscard]] char16_t CharAt(const std::u16string& text, std::int32_t column)
{
    if (column < 1 || static_cast<std::size_t>(column) > text.size())
        return 0;
    return text[static_cast<std::size_t>(column - 1)];
}

// Up to `count` characters of the line from 1-based column `column` on.
[[nodiscard]] std::u16string_view Operand(const std::u16string& text, std::int32_t column, std::size_t count)
{
    const auto from = static_cast<std::size_t>(column - 1);
    if (column < 1 || from >= text.size())
        return {};
    return std::u16string_view(text).substr(from, count);
}

[[nodiscard]] bool IsLoopHead(TOpKind kind)
{
    return kind == TOpKind::okLoopCounted || kind == TOpKind::okLoopEndless || kind == TOpKind::okLoopBadCount;
}

} // namespace

void TCompiledProgram::Clear()
{
    // Swapped out, so that a big program's memory goes back at once.
    std::vector<TOp>().swap(_ops);
    std::vector<std::int32_t>().swap(_lineFirst);
    std::vector<TBranches>().swap(_branches);
    _mainEnd = 0;
    _counted = 0;
    _countedBranches = 0;
}

void TCompiledProgram::Decode(const std::vector<std::u16string>& lines, std::stop_token stop)
{
    const auto stopped = [this, &stop](std::int32_t line) {
        if (line % 4096 != 0 || !stop.stop_requested())
            return false;
        _counting = false;
        Clear();
        return true;
    };
    Clear();
    const auto count = static_cast<std::int32_t>(lines.size());
    _lineFirst.resize(lines.size() + 1);
    // A first pass counts the operators, so that the array is made once at its
    // size: growing it would hold up to three times its memory for a moment.
    _counting = true;
    for (std::int32_t line = 0; line < count; ++line) {
        if (stopped(line))
            return;
        DecodeLineFrom(lines, 1, line);
    }
    _counting = false;
    _ops.reserve(_counted + 1);
    _branches.reserve(_countedBranches);
    for (std::int32_t line = 0; line < count; ++line) {
        if (stopped(line))
            return;
        _lineFirst[static_cast<std::size_t>(line)] = static_cast<std::int32_t>(_ops.size());
        DecodeLineFrom(lines, 1, line);
    }
    _lineFirst.back() = static_cast<std::int32_t>(_ops.size());
    _ops.push_back({TOpKind::okEnd, 0, 1, count, 0, 0});
    _mainEnd = static_cast<std::int32_t>(_ops.size());
    PairLoops(lines, 0);
    ResolveConditions(lines);
}

// Resolves the searches of every condition and separator in two passes over
// the text instead of one scan each, which nested blocks would make quadratic.
// With d the block depth after a character, the searches from p find: the
// block's end, the first `)` after p with d = d(p); the enclosing end, the
// first with d = d(p) - 1; a separator, a `:` with d = d(p) + 1 before the
// block's end. Text whose blocks do not pair is left to the scans.
void TCompiledProgram::ResolveConditions(const std::vector<std::u16string>& lines)
{
    const auto searches = [](TOpKind kind) {
        return kind == TOpKind::okSeparator || kind == TOpKind::okCompareByte || kind == TOpKind::okCompareCell
            || kind == TOpKind::okParity;
    };
    const auto count = static_cast<std::int32_t>(lines.size());
    std::vector<std::int32_t> at;    // the operators, in text order
    std::vector<std::int32_t> depth; // d at each of them
    std::int32_t d = 0;
    std::int32_t deepest = 0;
    for (std::int32_t line = 0; line < count; ++line) {
        const std::u16string& text = lines[static_cast<std::size_t>(line)];
        auto k = static_cast<std::size_t>(_lineFirst[static_cast<std::size_t>(line)]);
        const auto end = static_cast<std::size_t>(_lineFirst[static_cast<std::size_t>(line) + 1]);
        for (std::int32_t column = 1; column <= static_cast<std::int32_t>(text.size()); ++column) {
            while (k < end && _ops[k].column < column)
                ++k;
            if (k < end && _ops[k].column == column && searches(_ops[k].kind)) {
                at.push_back(static_cast<std::int32_t>(k));
                depth.push_back(d);
            }
            const char16_t ch = text[static_cast<std::size_t>(column - 1)];
            if (ch == u'(') {
                deepest = std::max(deepest, ++d);
            } else if (ch == u')' && --d < 0) {
                return;
            }
        }
    }
    if (d != 0 || at.empty())
        return;

    const auto size = static_cast<std::size_t>(deepest) + 2;
    std::vector<TTextPos> close(size), colon(size), colonAfter(size);
    const auto before = [](TTextPos a, TTextPos b) {
        return a.line < b.line || (a.line == b.line && a.column < b.column);
    };
    std::size_t i = at.size();
    for (std::int32_t line = count - 1; line >= 0 && i > 0; --line) {
        const std::u16string& text = lines[static_cast<std::size_t>(line)];
        for (auto column = static_cast<std::int32_t>(text.size()); column >= 1; --column) {
            // The searches start after the operator: answer before its own character counts.
            if (i > 0) {
                const TOp op = _ops[static_cast<std::size_t>(at[i - 1])];
                if (op.line == line && op.column == column) {
                    --i;
                    const auto dp = static_cast<std::size_t>(depth[i]);
                    if (op.kind == TOpKind::okSeparator) {
                        const std::int32_t target = EncodeEnd(lines, dp >= 1 ? close[dp - 1] : TTextPos{});
                        _ops[static_cast<std::size_t>(at[i])].a = target;
                    } else {
                        const TTextPos end = close[dp];
                        const auto branch = [&](const std::vector<TTextPos>& found) {
                            const TTextPos separator = found[dp + 1];
                            return end.Found() && separator.Found() && before(separator, end) ? separator : TTextPos{};
                        };
                        const auto into = [&](TTextPos separator) {
                            if (separator.Found())
                                return Encode(lines, {separator.column + 1, separator.line}, true);
                            return EncodeEnd(lines, end);
                        };
                        const TTextPos first = branch(colon);
                        TTextPos second = branch(colonAfter);
                        // A byte comparison falls back on the second branch when there is no third.
                        if (!second.Found() && op.kind == TOpKind::okCompareByte)
                            second = first;
                        const std::int32_t less = into(first);
                        const std::int32_t greater = into(second);
                        TBranches& branches = _branches[static_cast<std::size_t>(op.b)];
                        branches.less = less;
                        branches.greater = greater;
                    }
                }
            }
            const char16_t ch = text[static_cast<std::size_t>(column - 1)];
            const auto here = static_cast<std::size_t>(d);
            if (ch == u')') {
                close[here] = {column, line};
                ++d;
            } else if (ch == u'(') {
                --d;
            } else if (ch == u':') {
                colonAfter[here] = colon[here];
                colon[here] = {column, line};
            }
        }
    }
}

void TCompiledProgram::DecodeLineFrom(const std::vector<std::u16string>& lines,
                                      std::int32_t column, std::int32_t line)
{
    const auto length = static_cast<std::int32_t>(lines[static_cast<std::size_t>(line)].size());
    while (column <= length)
        column = DecodeAt(lines, column, line);
    if (_counting) {
        ++_counted;
        return;
    }
    // The main decode's next line follows at once; a later decode goes back to it.
    const auto next = _mainEnd == 0 ? static_cast<std::int32_t>(_ops.size()) + 1
                                    : _lineFirst[static_cast<std::size_t>(line) + 1];
    _ops.push_back({TOpKind::okLineEnd, 0, length + 1, line, next, 0});
}

std::int32_t TCompiledProgram::DecodeAt(const std::vector<std::u16string>& lines,
                                        std::int32_t column, std::int32_t line)
{
    const std::u16string& text = lines[static_cast<std::size_t>(line)];
    const char16_t ch = text[static_cast<std::size_t>(column - 1)];
    const auto index = static_cast<std::int32_t>(_ops.size());
    TOp op{TOpKind::okNothing, 0, column, line, 0, 0};
    std::int32_t width = 1;
    // The operator at column + width is the next one decoded: a condition's
    // first branch is that operator when it is the block's `(`.
    const auto conditionAfter = [&](std::int32_t operandWidth) {
        width = operandWidth;
        if (_counting) {
            ++_countedBranches;
            return;
        }
        op.b = static_cast<std::int32_t>(_branches.size());
        const bool block = CharAt(text, column + width) == u'(';
        _branches.push_back({block ? (index + 1) * 2 : kNoBlock, kUnresolved, kUnresolved});
    };
    // An operand read as `value`, negative when malformed: the operator `kind`
    // of `operatorWidth` columns, or `malformed`, which fails; whether it was read.
    const auto operand = [&](std::int32_t value, TOpKind kind, TOpKind malformed, std::int32_t operatorWidth) {
        if (value < 0) {
            op.kind = malformed;
            return false;
        }
        op.kind = kind;
        op.a = value;
        width = operatorWidth;
        return true;
    };
    const auto address = [&](std::int32_t at, TOpKind kind, std::int32_t operatorWidth) {
        return operand(TCellMemory::CodeOf(Operand(text, at, 4)), kind, TOpKind::okBadAddress, operatorWidth);
    };
    const auto byte = [&](TOpKind kind, std::int32_t operatorWidth) {
        return operand(HexByte(Operand(text, column + 1, 2)), kind, TOpKind::okBadNumber, operatorWidth);
    };
    switch (ch) {
    case u'$': address(column + 1, TOpKind::okSelect, 5); break;
    case u'^': address(column + 1, TOpKind::okCopy, 5); break;
    case u'~': address(column + 1, TOpKind::okDestroy, 5); break;
    case u'+':
    case u'-':
        if (CharAt(text, column + 1) == u'@')
            address(column + 2, ch == u'+' ? TOpKind::okAddCell : TOpKind::okSubCell, 6);
        else
            byte(ch == u'+' ? TOpKind::okAddByte : TOpKind::okSubByte, 3);
        break;
    case u'*': op.kind = TOpKind::okInvert; break;
    case u'<': op.kind = TOpKind::okRotateLeft; break;
    case u'>': op.kind = TOpKind::okRotateRight; break;
    case u'{': op.kind = TOpKind::okPush; break;
    case u'}': op.kind = TOpKind::okPop; break;
    case u'[':
        if (CharAt(text, column + 3) == u':') {
            if (byte(TOpKind::okLoopCounted, 4)) {
                op.b = op.a;
            } else {
                op.kind = TOpKind::okLoopBadCount;
            }
        } else {
            op.kind = TOpKind::okLoopEndless;
        }
        op.a = -1;
        break;
    case u']': op.kind = TOpKind::okEndLost; break;
    case u'(': op.kind = TOpKind::okOpen; break;
    case u')': op.kind = TOpKind::okClose; break;
    case u':':
        op.kind = TOpKind::okSeparator;
        op.a = kUnresolved;
        break;
    case u'?':
        switch (CharAt(text, column + 1)) {
        case u'?':
            op.kind = TOpKind::okParity;
            conditionAfter(2);
            break;
        case u'@':
            if (address(column + 2, TOpKind::okCompareCell, 6))
                conditionAfter(6);
            break;
        default:
            if (byte(TOpKind::okCompareByte, 3))
                conditionAfter(3);
            break;
        }
        break;
    case u'@': op.kind = TOpKind::okBareAddress; break;
    default:
        if (HexDigit(ch) >= 0)
            op.kind = TOpKind::okBareNumber;
        break;
    }
    if (_counting)
        ++_counted;
    else
        _ops.push_back(op);
    return column + width;
}

// A `]` matches the latest `[` still open: the same `[` that a scan back from
// it finds. Operators from `from` on are paired; a later decode's `]` (whose
// `[` lies elsewhere) is found by the scan.
void TCompiledProgram::PairLoops(const std::vector<std::u16string>& lines, std::size_t from)
{
    std::vector<std::int32_t> open;
    const bool main = from == 0;
    for (std::size_t i = from; i < _ops.size(); ++i) {
        const TOp op = _ops[i];
        if (IsLoopHead(op.kind)) {
            open.push_back(static_cast<std::int32_t>(i));
            continue;
        }
        if (op.kind != TOpKind::okEndLost)
            continue;
        std::int32_t head = -1;
        if (!open.empty()) {
            head = open.back();
            open.pop_back();
        } else if (!main) {
            const TTextPos found = TTextSearch(lines).FindLoopStart(op.column, op.line);
            if (found.Found())
                head = OperatorAt(lines, found.column, found.line);
        }
        if (head < 0)
            continue;
        const TOp start = _ops[static_cast<std::size_t>(head)];
        std::int32_t body = head + 1;
        // A head with a bad count never runs, but an entry left by an earlier
        // text at the same place can still send the loop back.
        if (start.kind == TOpKind::okLoopBadCount)
            body = OperatorAt(lines, start.column + 4, start.line);
        TOp& end = _ops[i];
        end.a = head;
        end.b = body;
        end.kind = start.kind == TOpKind::okLoopEndless ? TOpKind::okEndEndless : TOpKind::okEndCounted;
    }
}

std::int32_t TCompiledProgram::OperatorAt(const std::vector<std::u16string>& lines,
                                          std::int32_t column, std::int32_t line)
{
    if (line >= static_cast<std::int32_t>(lines.size()))
        return _mainEnd - 1;
    const auto at = static_cast<std::size_t>(line);
    const std::int32_t lineEnd = _lineFirst[at + 1] - 1;
    if (column > static_cast<std::int32_t>(lines[at].size()) || column < 1)
        return lineEnd;
    const auto begin = _ops.begin() + _lineFirst[at];
    const auto end = _ops.begin() + lineEnd;
    const auto found = std::lower_bound(begin, end, column,
                                        [](const TOp& op, std::int32_t c) { return op.column < c; });
    if (found != end && found->column == column)
        return static_cast<std::int32_t>(found - _ops.begin());
    // The position falls inside an operator of this decode.
    const auto first = _ops.size();
    DecodeLineFrom(lines, column, line);
    PairLoops(lines, first);
    return static_cast<std::int32_t>(first);
}

std::u16string_view TCompiledProgram::OperandText(const std::vector<std::u16string>& lines, const TOp& op,
                                                  std::size_t count) const
{
    return Operand(lines[static_cast<std::size_t>(op.line)], op.column + 1, count);
}

std::int32_t TCompiledProgram::Encode(const std::vector<std::u16string>& lines, TTextPos pos,
                                      bool setsCondition)
{
    return OperatorAt(lines, pos.column, pos.line) * 2 + (setsCondition ? 1 : 0);
}

std::int32_t TCompiledProgram::EncodeEnd(const std::vector<std::u16string>& lines, TTextPos end)
{
    return end.Found() ? Encode(lines, end, false) : kNoBlock;
}

std::int32_t TCompiledProgram::ResolveEnclosingEnd(const std::vector<std::u16string>& lines, TOp op)
{
    return EncodeEnd(lines, TTextSearch(lines).FindBlockEnd(op.column, op.line, false));
}

// After the separator when the branch exists; on the block's `)` when not.
std::int32_t TCompiledProgram::ResolveBranch(const std::vector<std::u16string>& lines, TOp op, bool greater)
{
    const TTextSearch search(lines);
    TTextPos separator = search.FindBranch(op.column, op.line, greater ? 2 : 1);
    // A byte comparison falls back on the second branch when there is no third.
    if (!separator.Found() && greater && op.kind == TOpKind::okCompareByte)
        separator = search.FindBranch(op.column, op.line, 1);
    if (separator.Found())
        return Encode(lines, {separator.column + 1, separator.line}, true);
    return EncodeEnd(lines, search.FindBlockEnd(op.column, op.line, true));
}

void TCompiledProgram::MarkLines(const std::vector<std::uint8_t>& marked)
{
    for (TOp& op : _ops) {
        const auto line = static_cast<std::size_t>(op.line);
        const bool mark = line < marked.size() && marked[line] != 0;
        op.flags = static_cast<std::uint8_t>((op.flags & ~ofMarked) | (mark ? ofMarked : 0));
    }
}
