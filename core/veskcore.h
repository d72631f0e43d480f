// The Vesk interpreter: program lines, named one-byte cells, the execution
// position, the address and loop stacks, and a tick that runs one operator.
// Plain C++: the timer, the clock and the random numbers come from outside.
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "core/cellmemory.h"
#include "core/fastrandom.h"
#include "core/loopstack.h"
#include "core/steadyclock.h"
#include "core/textsearch.h"
#include "vesktimer.h"

// Cell values, index i is cell i.
using TMemory = std::vector<std::uint8_t>;

enum class TProgramStatus { psNormal, psCondition };

class TVeskCore;

// Notification callback: called with the sender (always the core).
using TNotifyEvent = std::function<void(TVeskCore& sender)>;
// Error callback: 0-based line, 1-based column in the prepared line (0 for none), message.
using TErrorEvent = std::function<void(TVeskCore& sender, std::int32_t errorLine,
                                       std::int32_t errorPos, const std::u16string& errorMessage)>;

class TVeskCore {
public:
    // The owner makes (and keeps) the timer on the first Execute that starts a run.
    // Without a clock or a random source the core uses a monotonic clock and a
    // generator seeded once, its own.
    explicit TVeskCore(TTimerOwner& owner, TVeskClock* clock = nullptr,
                       TVeskRandom* random = nullptr);
    ~TVeskCore();
    TVeskCore(const TVeskCore&) = delete;
    TVeskCore& operator=(const TVeskCore&) = delete;

    void Execute();
    void Pause();
    void Stop();
    void Reset();

    // Copies handed to the caller.
    [[nodiscard]] TMemory GetMemory() const;
    [[nodiscard]] std::vector<std::u16string> GetVariables() const;

    // The program lines; the caller fills them after Reset, Execute prepares them in place.
    [[nodiscard]] std::vector<std::u16string>& ProgramCode();
    [[nodiscard]] const std::vector<std::u16string>& ProgramCode() const;

    TNotifyEvent OnStart;
    TNotifyEvent OnStop;
    TNotifyEvent OnFinish;
    TNotifyEvent OnPause;
    TErrorEvent OnError;

    [[nodiscard]] bool IsRun() const;
    [[nodiscard]] std::uint64_t Step() const;
    [[nodiscard]] double EndTime() const; // run time in days

    // The timer's handler: one step of the program. Public so that a driver
    // without a real timer (the runner, tests) can tick the core itself.
    void TimerTick();

private:
    // How an operator ended: done (the cursor moved on), raised (it reported its
    // own error), or failed in a way the tick's catch-all reports.
    enum class TOutcome { Done, Raised, Fault };

    // Run control helpers.
    void Notify(const TNotifyEvent& event);
    void NotifyError(std::int32_t line, std::int32_t position, const std::u16string& message);
    void TimerOff();
    void AccountTime(double t0);
    [[nodiscard]] double ReadClock() { return _ownClock ? _ownClock->Now() : _clock->Now(); }
    [[nodiscard]] std::int32_t Draw(std::int32_t n) { return _ownRandom ? _ownRandom->Next(n) : _random->Next(n); }
    void PrepareSource();
    [[nodiscard]] bool CheckSource();
    TOutcome RaiseError(std::int32_t position, std::int32_t line, const std::u16string& message);
    std::int32_t AddCell(std::u16string_view name, std::int32_t code);

    // Operands: each raises its own error and then yields nothing.
    struct TAddress {
        std::int32_t code;        // the address as a number
        std::u16string_view text; // as written: the name of a cell it creates
    };
    [[nodiscard]] std::optional<TAddress> AddressOperand(const std::u16string& text, std::int32_t column);
    [[nodiscard]] std::optional<std::int32_t> NamedCell(const std::u16string& text, std::int32_t column,
                                                        const std::u16string& missing);
    [[nodiscard]] std::int32_t FindOrAddCell(const TAddress& address);
    [[nodiscard]] std::optional<std::int32_t> ByteOperand(const std::u16string& text);

    // One operator at the cursor, and its families.
    TOutcome ExecuteOperator(const std::u16string& text);
    TOutcome SelectCell(const std::u16string& text);
    TOutcome CopyCell(const std::u16string& text);
    TOutcome DestroyCell(const std::u16string& text);
    TOutcome AddByte(const std::u16string& text, bool subtract);
    TOutcome AddCellValue(const std::u16string& text, bool subtract);
    TOutcome ChangeBits(char16_t op);
    TOutcome PushAddress();
    TOutcome PopAddress();
    TOutcome LoopHead(const std::u16string& text);
    TOutcome LoopEnd();
    TOutcome BranchEnd();
    TOutcome JumpToBlockEnd(bool nextBlock, const std::u16string& missing);
    TOutcome Condition(const std::u16string& text);
    TOutcome CompareWithByte(const std::u16string& text);
    TOutcome CompareWithCell(const std::u16string& text);
    TOutcome TestParity();
    TOutcome ChooseFirstBranch(std::int32_t blockColumn);
    TOutcome ContinueInBranch(TTextPos separator);

    [[nodiscard]] bool HasCurrentCell() const { return _cells.Valid(_cai); }
    void SelectStackTop();
    [[nodiscard]] char16_t CharAt(std::int32_t column, std::int32_t line) const;

    // What the `[` or `]` at one position does every time, worked out when it
    // first runs; valid until the text is prepared again.
    struct TLoopSite {
        std::int32_t slot = -1;   // loop stack key of the `[`; -1 while unknown
        std::int32_t passes = -1; // at a `[`: the count of a counted head, -1 endless
        TTextPos head;            // at a `]`: its `[`
        bool counted = false;     // at a `]`: its `[` is a counted head
    };
    [[nodiscard]] TLoopSite* LoopSiteAtCursor();

    TTimerOwner& _owner;
    // The defaults are called directly, without a virtual call, twice a tick.
    std::unique_ptr<TSteadyClock> _ownClock;
    std::unique_ptr<TFastRandom> _ownRandom;
    TVeskClock* _clock;
    TVeskRandom* _random;

    TCellMemory _cells;                   // the cell values and names
    std::vector<std::u16string> _program;
    std::int32_t _cursor = 1;             // 1-based column of the next character
    std::int32_t _line = 0;               // 0-based line
    // The current cell's address text is always four hex digits or empty, so it
    // is kept as its address code (-1 for empty); lookups ignore letter case.
    std::int32_t _cas = -1;
    std::int32_t _cai = -1;
    std::vector<std::int32_t> _astack;    // address codes, top last
    TLoopStack _cstack;
    TVeskTimer* _timer = nullptr;
    TProgramStatus _status = TProgramStatus::psNormal;
    std::uint64_t _step = 0;
    double _time = 0;                     // days
    TTextSearch _search{_program};
    std::vector<TLoopSite> _loopSites; // by text offset; empty until a loop runs
};
