// The interpreter's errors by code: what went wrong, the operand a message
// names, and the fixed Russian text the core reports it with. A front end in
// another language words each code itself.
#pragma once

#include <cstdint>
#include <string>

enum class TErrorCode : std::uint8_t {
    ecUnknownChar,        // a character the language does not have
    ecBadBrackets,        // the brackets do not pair up
    ecUnknownFailure,     // any other failure of a step
    ecBadAddress,         // an address operand that is not four hex digits
    ecLostCurrentAddress,
    ecNoCopyTarget,
    ecNoCellToDestroy,
    ecNoOperandCell,
    ecNoCompareCell,
    ecMemoryAccess,       // an operator that needs a current cell has none
    ecBareNumber,
    ecBareAddress,
    ecLostLoopStart,
    ecColonOutsideBlock,
    ecLostBlockEnd,
    ecNoConditionBlock,
    ecBadNumber,          // the operand is the text that is not a number; kept last
};

struct TCoreError {
    TErrorCode code = TErrorCode::ecUnknownFailure;
    std::u16string operand; // empty unless the message names a part of the program
    friend bool operator==(const TCoreError&, const TCoreError&) = default;
};

// The message as the core words it, e.g. "Невозможно распознать число 'G1'.".
[[nodiscard]] std::u16string CoreErrorText(const TCoreError& error);
