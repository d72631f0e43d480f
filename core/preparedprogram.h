// A program made ready to run apart from any interpreter: its lines prepared
// and checked and, when they pass, decoded. This is the work a run does before
// its first step; done on another thread, a big program starts at once.
#pragma once

#include <cstdint>
#include <optional>
#include <stop_token>
#include <string>
#include <vector>

#include "core/compiledprogram.h"
#include "core/sourcecheck.h"

class TPreparedProgram {
public:
    TPreparedProgram() = default;
    // Prepares, checks and decodes `lines`. A stop requested meanwhile ends
    // the work soon after, with the lines given back: see Cancelled.
    explicit TPreparedProgram(std::vector<std::u16string> lines, std::stop_token stop = {});

    // The decoded form points at the lines, so a move takes it along.
    TPreparedProgram(TPreparedProgram&& other) noexcept;
    TPreparedProgram& operator=(TPreparedProgram&& other) noexcept;
    TPreparedProgram(const TPreparedProgram&) = delete;
    TPreparedProgram& operator=(const TPreparedProgram&) = delete;
    ~TPreparedProgram() = default;

    [[nodiscard]] const std::vector<std::u16string>& Lines() const { return _lines; }
    // What the check refused, if anything; then nothing is decoded.
    [[nodiscard]] const std::optional<TSourceFault>& Fault() const { return _fault; }
    // Given up at a stop request: it holds nothing and must not run.
    [[nodiscard]] bool Cancelled() const { return _cancelled; }

private:
    friend class TVeskCore;

    std::vector<std::u16string> _lines;
    std::optional<TSourceFault> _fault;
    TCompiledProgram _code;
    std::uint64_t _hash = 0;
    bool _cancelled = false;
};

// Tells one program text from another without keeping a copy.
[[nodiscard]] std::uint64_t ProgramTextHash(const std::vector<std::u16string>& lines);
