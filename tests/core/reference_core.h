// A deliberately plain Vesk interpreter for differential tests: every lookup is
// a linear scan over texts, every jump a fresh walk over the lines, and there is
// no timer, clock or random source. It shares no code with the real core, so a
// disagreement between the two points at a fault in one of them.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

class TReferenceCore {
public:
    // One event as a handler would see it; error fields are set for "error" only.
    struct TEvent {
        std::string kind; // start, stop, finish, pause, error
        std::int32_t line = 0;
        std::int32_t pos = 0;
        std::u16string message;
        bool operator==(const TEvent&) const = default;
    };

    explicit TReferenceCore(std::vector<std::u16string> program);

    void Execute();
    void Pause();
    void TimerTick();

    [[nodiscard]] bool IsRun() const { return _timerMade && _timerOn; }
    [[nodiscard]] std::uint64_t Step() const { return _step; }
    [[nodiscard]] const std::vector<std::u16string>& Names() const { return _variables.texts; }
    [[nodiscard]] const std::vector<std::uint8_t>& Values() const { return _memory; }
    [[nodiscard]] const std::vector<TEvent>& Events() const { return _events; }
    [[nodiscard]] const std::vector<std::u16string>& Program() const { return _program; }
    // Where the next tick runs: 1-based column, 0-based line.
    [[nodiscard]] std::int32_t Cursor() const { return _cursor; }
    [[nodiscard]] std::int32_t Line() const { return _line; }

private:
    // An ordered list of texts, each with a number beside it; lookups ignore
    // letter case and take the first match; a bad index throws.
    struct TStringList {
        std::vector<std::u16string> texts;
        std::vector<std::int32_t> objects;
        [[nodiscard]] std::int32_t IndexOf(const std::u16string& text) const;
        void Add(const std::u16string& text, std::int32_t object = 0);
        void Delete(std::int32_t index);
        [[nodiscard]] std::int32_t& Object(std::int32_t index);
        [[nodiscard]] std::int32_t Count() const { return std::int32_t(texts.size()); }
    };
    struct TPos {
        std::int32_t column = -1;
        std::int32_t line = -1;
    };

    void Emit(const char* kind);
    void RaiseError(std::int32_t position, std::int32_t line, const std::u16string& message);
    std::int32_t AddCell(const std::u16string& name);
    void PrepareSource();
    bool CheckSource();
    bool RunOperator(); // false when it raised an error

    [[nodiscard]] std::int32_t LineLength(std::int32_t line) const;
    [[nodiscard]] int CharAt(std::int32_t column, std::int32_t line) const; // -1 for none
    [[nodiscard]] std::u16string Take(std::int32_t column, std::int32_t count) const;
    [[nodiscard]] bool NoCurrentCell() const;
    bool AddressAt(std::int32_t column, std::u16string& text);
    void SelectTopOfStack();

    bool Select();
    bool Copy();
    bool Destroy();
    bool AddByte(bool subtract);
    bool AddNamed(bool subtract);
    bool Bits(char16_t op);
    void PopAddress();
    bool LoopHead();
    bool LoopEnd();
    bool Separator();
    bool ByteCondition();
    bool CellCondition();
    bool ParityCondition();
    bool ChooseFirst(std::int32_t column);
    bool ContinueAfter(TPos separator);

    [[nodiscard]] TPos FindLoopStart() const;
    [[nodiscard]] TPos FindBlockEnd(bool fromZero) const;
    [[nodiscard]] TPos FindBranch(int n) const;

    std::vector<std::uint8_t> _memory;
    TStringList _variables;
    std::vector<std::u16string> _program;
    std::int32_t _cursor = 1;
    std::int32_t _line = 0;
    std::u16string _cas;
    std::int32_t _cai = -1;
    TStringList _astack;
    TStringList _cstack;
    bool _timerMade = false;
    bool _timerOn = false;
    bool _condition = false;
    std::uint64_t _step = 0;
    std::vector<TEvent> _events;
};
