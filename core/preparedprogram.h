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

    [[nodiscard]] const std::vector<std::u16string>& Lines() const { return _parts.lines; }
    // What the check refused, if anything; then nothing is decoded.
    [[nodiscard]] const std::optional<TSourceFault>& Fault() const { return _parts.fault; }
    // Given up at a stop request: it holds nothing and must not run.
    [[nodiscard]] bool Cancelled() const { return _cancelled; }

    // Everything a run takes over. The decoded form is empty when the check
    // refused the lines or there are none; the hash is of the decoded lines.
    struct TParts {
        std::vector<std::u16string> lines;
        std::optional<TSourceFault> fault;
        TCompiledProgram code;
        std::uint64_t hash = 0;
    };
    [[nodiscard]] TParts Release() && { return std::move(_parts); }

private:
    TParts _parts;
    bool _cancelled = false;
};

// Tells one program text from another without keeping a copy.
[[nodiscard]] std::uint64_t ProgramTextHash(const std::vector<std::u16string>& lines);
