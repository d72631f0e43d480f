// The prepared program decoded once into a compact array of operators: each
// with its operands read, its source position, and its jump targets, so that a
// step does no text parsing. One operator per step of the language, the line
// advance of every line and the end of the program included.
//
// Each line is decoded from column 1: a valid operator is followed by the
// operator after its operand, an invalid one (which can only fail) by the next
// column. Every place a jump can land (a bracket, a separator's next column)
// is then the start of an operator, so a jump is an index. Loops are paired
// and the searches of conditions resolved in passes over the whole text; what
// a later partial decode adds is searched on first use and kept.
#pragma once

#include <cstdint>
#include <stop_token>
#include <string>
#include <string_view>
#include <vector>

#include "core/textsearch.h"

enum class TOpKind : std::uint8_t {
    okSelect,      // $XXXX          a = address code
    okCopy,        // ^XXXX          a = address code
    okDestroy,     // ~XXXX          a = address code
    okAddByte,     // +XX            a = value
    okSubByte,     // -XX            a = value
    okAddCell,     // +@XXXX         a = address code
    okSubCell,     // -@XXXX         a = address code
    okInvert,      // *
    okRotateLeft,  // <
    okRotateRight, // >
    okPush,        // {
    okPop,         // }
    okLoopCounted, // [XX:           a = loop stack slot (-1 until first run), b = passes
    okLoopEndless, // [              a = slot
    okLoopBadCount,// [XX: with a bad XX: fails; a = slot, for a `]` that reaches it
    okEndCounted,  // ] of a [XX:    a = the `[` operator, b = the body's first operator
    okEndEndless,  // ] of a [       a = the `[` operator, b = the body's first operator
    okEndLost,     // ] without a `[`
    okOpen,        // (
    okClose,       // )
    okSeparator,   // :              a = encoded target of the enclosing block's `)`
    okCompareByte, // ?XX            a = value, b = branch record
    okCompareCell, // ?@XXXX         a = address code, b = branch record
    okParity,      // ??             b = branch record
    okNothing,     // any other character
    okBadAddress,  // fails: the address operand is not four hex digits (at c+1)
    okBadNumber,   // fails: the byte operand is not two hex digits (at c+1)
    okBareNumber,  // fails: a hex digit where an operator belongs
    okBareAddress, // fails: an @ where an operator belongs
    okLineEnd,     // the line advance    a = the next line's first operator
    okEnd,         // the end of the program
};

struct TOp {
    TOpKind kind;
    std::uint8_t flags = 0; // TOpFlag bits
    std::int32_t column;    // 1-based; a line advance stands one past the line's end
    std::int32_t line;      // 0-based; the end stands on the line after the last
    std::int32_t a = 0;
    std::int32_t b = 0;
};

enum TOpFlag : std::uint8_t {
    ofMarked = 1, // on a line where a run must pause on arrival
};

// Where a condition goes, per outcome. A target is encoded: kUnresolved until
// the search has run, kNoBlock when no block is found, otherwise twice the
// operator index, plus one when the branch sets the condition status.
struct TBranches {
    std::int32_t first;   // the operator after the operand when it is the block's `(`, else kNoBlock
    std::int32_t less;
    std::int32_t greater;
};

// It keeps no reference to its lines: every call that reads the text is given
// them, the lines it was decoded from, so moving either one apart is safe.
class TCompiledProgram {
public:
    static constexpr std::int32_t kUnresolved = -2;
    static constexpr std::int32_t kNoBlock = -1;

    TCompiledProgram() = default;
    // A big program's operators are never copied by accident.
    TCompiledProgram(const TCompiledProgram&) = delete;
    TCompiledProgram& operator=(const TCompiledProgram&) = delete;
    TCompiledProgram(TCompiledProgram&&) noexcept = default;
    TCompiledProgram& operator=(TCompiledProgram&&) noexcept = default;
    ~TCompiledProgram() = default;

    // Decodes the lines; they must stay unchanged while this is used. A stop
    // requested meanwhile leaves it empty, soon after.
    void Decode(const std::vector<std::u16string>& lines, std::stop_token stop = {});
    void Clear();
    [[nodiscard]] bool Empty() const { return _ops.empty(); }

    [[nodiscard]] std::vector<TOp>& Ops() { return _ops; }
    [[nodiscard]] const std::vector<TOp>& Ops() const { return _ops; }
    [[nodiscard]] TBranches& Branches(std::int32_t record) { return _branches[static_cast<std::size_t>(record)]; }
    // Up to `count` characters after the operator's first one: its operand as written.
    [[nodiscard]] std::u16string_view OperandText(const std::vector<std::u16string>& lines, const TOp& op,
                                                  std::size_t count) const;

    // The operator that starts at (column, line); a column past the line's end
    // is the line advance, a line past the last the end. When no operator of
    // the decoded lines starts there (the text changed under a paused run), the
    // rest of that line is decoded from there on and its first operator returned.
    std::int32_t OperatorAt(const std::vector<std::u16string>& lines, std::int32_t column, std::int32_t line);

    // The searches, resolved into encoded targets (see TBranches). They may
    // decode more, so they take the operator by value.
    [[nodiscard]] std::int32_t ResolveEnclosingEnd(const std::vector<std::u16string>& lines, TOp op);
    [[nodiscard]] std::int32_t ResolveBranch(const std::vector<std::u16string>& lines, TOp op, bool greater);

    // Sets ofMarked on the operators of the marked lines (one flag per line).
    void MarkLines(const std::vector<std::uint8_t>& marked);

private:
    // Decodes the operator at (column, line) and appends it; the next column to decode.
    std::int32_t DecodeAt(const std::vector<std::u16string>& lines, std::int32_t column, std::int32_t line);
    void DecodeLineFrom(const std::vector<std::u16string>& lines, std::int32_t column, std::int32_t line);
    void PairLoops(const std::vector<std::u16string>& lines, std::size_t from);
    void ResolveConditions(const std::vector<std::u16string>& lines);
    [[nodiscard]] std::int32_t Encode(const std::vector<std::u16string>& lines, TTextPos pos, bool setsCondition);
    // A block's `)` as found by a search: encoded, or kNoBlock when there is none.
    [[nodiscard]] std::int32_t EncodeEnd(const std::vector<std::u16string>& lines, TTextPos end);

    std::vector<TOp> _ops;
    std::vector<std::int32_t> _lineFirst; // first operator of each line; one more entry than lines
    std::vector<TBranches> _branches;
    std::int32_t _mainEnd = 0;            // operators before it are the lines decoded from column 1
    bool _counting = false;               // the first pass of Decode: count, store nothing
    std::size_t _counted = 0;
    std::size_t _countedBranches = 0;
};
