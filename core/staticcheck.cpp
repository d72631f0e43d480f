#include "core/staticcheck.h"

#include "core/compiledprogram.h"

namespace {

[[nodiscard]] bool IsCondition(TOpKind kind)
{
    return kind == TOpKind::okCompareByte || kind == TOpKind::okCompareCell || kind == TOpKind::okParity;
}

} // namespace

std::vector<TStaticFault> FindStaticFaults(const std::vector<std::u16string>& prepared)
{
    TCompiledProgram program;
    program.Decode(prepared);
    std::vector<TStaticFault> faults;
    const auto add = [&](const TOp& op, std::int32_t offset, TCoreError error) {
        faults.push_back({op.line, op.column, op.column + offset, std::move(error)});
    };
    // A failing operator took its operand as written: what stands there is
    // never reached as an operator of its own, so it is not reported twice.
    std::int32_t takenLine = -1;
    std::int32_t takenUpTo = 0;
    const std::size_t count = program.Ops().size();
    for (std::size_t i = 0; i < count; ++i) {
        const TOp op = program.Ops()[i];
        if (op.kind == TOpKind::okEnd)
            break; // what follows was decoded for a jump into an operand
        if (op.line == takenLine && op.column <= takenUpTo)
            continue;
        const char16_t next = program.OperandText(prepared, op, 1).empty() ? u'\0' : program.OperandText(prepared, op, 1)[0];
        const char16_t own = prepared[static_cast<std::size_t>(op.line)][static_cast<std::size_t>(op.column - 1)];
        const auto take = [&](std::int32_t width) {
            takenLine = op.line;
            takenUpTo = op.column + width;
        };
        switch (op.kind) {
        case TOpKind::okBadAddress:
            // +@, -@ and ?@ read their address after the @.
            take(next == u'@' && own != u'$' && own != u'^' && own != u'~' ? 5 : 4);
            add(op, 1, {TErrorCode::ecBadAddress, {}});
            break;
        case TOpKind::okBadNumber:
            take(2);
            add(op, 1, {TErrorCode::ecBadNumber, std::u16string(program.OperandText(prepared, op, 2))});
            break;
        case TOpKind::okLoopBadCount:
            take(3);
            add(op, 1, {TErrorCode::ecBadNumber, std::u16string(program.OperandText(prepared, op, 2))});
            break;
        case TOpKind::okBareNumber: add(op, 0, {TErrorCode::ecBareNumber, {}}); break;
        case TOpKind::okBareAddress: add(op, 0, {TErrorCode::ecBareAddress, {}}); break;
        case TOpKind::okSeparator:
            // Outside every block no branch can be running when the run gets here.
            if (op.a == TCompiledProgram::kNoBlock)
                add(op, 0, {TErrorCode::ecColonOutsideBlock, {}});
            break;
        default:
            if (!IsCondition(op.kind))
                break;
            {
                const TBranches branches = program.Branches(op.b);
                // The first branch needs its block right after the operand;
                // the others fail when no block follows at all.
                if (branches.first == TCompiledProgram::kNoBlock)
                    add(op, 0, {TErrorCode::ecNoConditionBlock, {}});
                if (branches.less == TCompiledProgram::kNoBlock)
                    add(op, 1, {TErrorCode::ecNoConditionBlock, {}});
            }
            break;
        }
    }
    return faults;
}
