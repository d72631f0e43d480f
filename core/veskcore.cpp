#include "core/veskcore.h"

#include <array>
#include <optional>

#include "core/hexdigits.h"
#include "core/sourcecheck.h"

namespace {

// One tick's allowance is r * kAllowanceDay / 99 days, 70 <= r <= 99: multiplied
// first, then divided. The 30 possible values are worked out once, the same way.
constexpr double kAllowanceDay = 1.0 / 4680000.0;
constexpr std::int32_t kAllowanceBase = 70;
constexpr std::int32_t kAllowanceSpread = 30;

constexpr std::array<double, kAllowanceSpread> MakeAllowances()
{
    std::array<double, kAllowanceSpread> allowances{};
    for (std::int32_t i = 0; i < kAllowanceSpread; ++i)
        allowances[static_cast<std::size_t>(i)] = (kAllowanceBase + i) * kAllowanceDay / 99;
    return allowances;
}

constexpr std::array<double, kAllowanceSpread> kAllowances = MakeAllowances();

const std::u16string kUnknownFailure = u"Неизвестное исключение.";
const std::u16string kBadAddress = u"Неверно указан адрес ячейки.";
const std::u16string kLostCurrentAddress = u"Потерян адрес обрабатываемой ячейки.";
const std::u16string kNoCopyTarget = u"Не обнаружена ячейка для пересылки.";
const std::u16string kNoCellToDestroy = u"Не обнаружена ячейка для уничтожения.";
const std::u16string kNoOperandCell = u"Не обнаружена ячейка для выполнения действия.";
const std::u16string kNoCompareCell = u"Не обнаружена ячейка для сравнения.";
const std::u16string kMemoryAccess = u"Ошибка при доступе к памяти.";
const std::u16string kBareNumber = u"Использование числовых данных без операторов";
const std::u16string kBareAddress = u"Обращение к адресу без использования операторов.";
const std::u16string kLostLoopStart = u"Потеряно начало цикла.";
const std::u16string kColonOutsideBlock = u"Использование символа деления ветвей вне блока обработки условия.";
const std::u16string kLostBlockEnd = u"Потеряна закрывающая скобка ветви обработки условия.";
const std::u16string kNoConditionBlock = u"Не найден блок обработки условия.";

[[nodiscard]] std::u16string BadNumber(std::u16string_view taken)
{
    return u"Невозможно распознать число '" + std::u16string(taken) + u"'.";
}

// Up to `count` characters of the line from 1-based column `column` on.
[[nodiscard]] std::u16string_view Operand(const std::u16string& text, std::int32_t column, std::size_t count)
{
    const auto from = static_cast<std::size_t>(column - 1);
    if (column < 1 || from >= text.size())
        return {};
    return std::u16string_view(text).substr(from, count);
}

} // namespace

TVeskCore::TVeskCore(TTimerOwner& owner, TVeskClock* clock, TVeskRandom* random)
    : _owner(owner),
      _ownClock(clock ? nullptr : std::make_unique<TSteadyClock>()),
      _ownRandom(random ? nullptr : std::make_unique<TFastRandom>()),
      _clock(clock ? clock : _ownClock.get()),
      _random(random ? random : _ownRandom.get())
{
}

// The timer belongs to its owner, which stops the core before destroying it.
TVeskCore::~TVeskCore() = default;

// ---- run control -----------------------------------------------------------

void TVeskCore::Execute()
{
    PrepareSource();
    if (!CheckSource()) {
        TimerOff();
        Notify(OnStop);
        return;
    }
    if (_program.empty()) {
        TimerOff();
        Notify(OnFinish);
        Notify(OnStop);
        return;
    }
    if (!_timer)
        _timer = &_owner.MakeTimer(1, [this] { TimerTick(); });
    _timer->SetEnabled(true);
    Notify(OnStart);
}

void TVeskCore::Pause()
{
    if (!IsRun())
        return;
    _timer->SetEnabled(false);
    Notify(OnPause);
}

void TVeskCore::Stop()
{
    TimerOff();
    Notify(OnStop);
}

void TVeskCore::Reset()
{
    TimerOff();
    _cells.Clear();
    _program.clear();
    _astack.clear();
    _cstack.Clear();
    _search.Invalidate();
    _loopSites.clear();
    _cursor = 1;
    _line = 0;
    _status = TProgramStatus::psNormal;
    _step = 0;
    _time = 0;
    _cas = -1;
    _cai = -1;
}

TMemory TVeskCore::GetMemory() const
{
    return _cells.Values();
}

std::vector<std::u16string> TVeskCore::GetVariables() const
{
    return _cells.Names();
}

std::vector<std::u16string>& TVeskCore::ProgramCode()
{
    return _program;
}

const std::vector<std::u16string>& TVeskCore::ProgramCode() const
{
    return _program;
}

bool TVeskCore::IsRun() const
{
    return _timer != nullptr && _timer->Enabled();
}

std::uint64_t TVeskCore::Step() const
{
    return _step;
}

double TVeskCore::EndTime() const
{
    return _time;
}

// Handlers are the caller's code: whatever they throw stays out of the core's
// own state changes and never escapes to the core's caller.
void TVeskCore::Notify(const TNotifyEvent& event)
{
    if (!event)
        return;
    try {
        event(*this);
    } catch (...) {
    }
}

void TVeskCore::NotifyError(std::int32_t line, std::int32_t position, const std::u16string& message)
{
    if (!OnError)
        return;
    try {
        OnError(*this, line, position, message);
    } catch (...) {
    }
}

void TVeskCore::TimerOff()
{
    if (_timer)
        _timer->SetEnabled(false);
}

// ---- the tick --------------------------------------------------------------

void TVeskCore::TimerTick()
{
    TimerOff();
    const double t0 = ReadClock();
    ++_step;
    if (static_cast<std::size_t>(_line) >= _program.size()) {
        Notify(OnFinish);
        Notify(OnStop);
        AccountTime(t0);
        return;
    }
    TOutcome outcome = TOutcome::Fault;
    try {
        const std::u16string& text = _program[static_cast<std::size_t>(_line)];
        if (static_cast<std::int64_t>(text.size()) < _cursor) {
            _cursor = 1;
            ++_line;
            outcome = TOutcome::Done;
        } else {
            outcome = ExecuteOperator(text);
        }
        if (outcome == TOutcome::Done && _timer)
            _timer->SetEnabled(true);
    } catch (...) {
        outcome = TOutcome::Fault;
    }
    if (outcome == TOutcome::Raised)
        return;
    if (outcome == TOutcome::Fault) {
        TimerOff();
        RaiseError(_cursor, _line, kUnknownFailure);
    }
    AccountTime(t0);
}

void TVeskCore::AccountTime(double t0)
{
    const std::int32_t drawn = Draw(kAllowanceSpread);
    // A foreign generator out of its range must not read outside the table.
    const double allowance = drawn >= 0 && drawn < kAllowanceSpread
        ? kAllowances[static_cast<std::size_t>(drawn)]
        : (kAllowanceBase + drawn) * kAllowanceDay / 99;
    _time = ((ReadClock() - t0) + _time) + allowance;
}

TVeskCore::TOutcome TVeskCore::RaiseError(std::int32_t position, std::int32_t line, const std::u16string& message)
{
    Stop();
    _status = TProgramStatus::psNormal;
    NotifyError(line, position, message);
    return TOutcome::Raised;
}

std::int32_t TVeskCore::AddCell(std::u16string_view name, std::int32_t code)
{
    return _cells.Add(std::u16string(name), code);
}

// ---- source preparation ----------------------------------------------------

void TVeskCore::PrepareSource()
{
    for (std::u16string& line : _program)
        PrepareLine(line);
    // The text may have been refilled or rewritten: searches start afresh.
    _search.Invalidate();
    _loopSites.clear();
}

bool TVeskCore::CheckSource()
{
    const std::optional<TSourceFault> fault = FindSourceFault(_program);
    if (!fault)
        return true;
    NotifyError(fault->line, fault->column, std::u16string(fault->message));
    return false;
}

// ---- operators -------------------------------------------------------------

char16_t TVeskCore::CharAt(std::int32_t column, std::int32_t line) const
{
    if (line < 0 || static_cast<std::size_t>(line) >= _program.size())
        return 0;
    const std::u16string& text = _program[static_cast<std::size_t>(line)];
    if (column < 1 || static_cast<std::size_t>(column) > text.size())
        return 0;
    return text[static_cast<std::size_t>(column - 1)];
}

TVeskCore::TOutcome TVeskCore::ExecuteOperator(const std::u16string& text)
{
    const char16_t op = text[static_cast<std::size_t>(_cursor - 1)];
    switch (op) {
    case u'$': return SelectCell(text);
    case u'^': return CopyCell(text);
    case u'~': return DestroyCell(text);
    case u'+':
    case u'-':
        if (CharAt(_cursor + 1, _line) == u'@')
            return AddCellValue(text, op == u'-');
        return AddByte(text, op == u'-');
    case u'*':
    case u'<':
    case u'>': return ChangeBits(op);
    case u'{': return PushAddress();
    case u'}': return PopAddress();
    case u'[': return LoopHead(text);
    case u']': return LoopEnd();
    case u'(':
        _status = TProgramStatus::psCondition;
        ++_cursor;
        return TOutcome::Done;
    case u')':
        _status = TProgramStatus::psNormal;
        ++_cursor;
        return TOutcome::Done;
    case u':': return BranchEnd();
    case u'?': return Condition(text);
    case u'@': return RaiseError(_cursor, _line, kBareAddress);
    default:
        if (HexDigit(op) >= 0)
            return RaiseError(_cursor, _line, kBareNumber);
        ++_cursor;
        return TOutcome::Done;
    }
}

// The four characters at `column` as a cell address; the address error, at the
// column after the operator, when they are not four hexadecimal digits.
std::optional<TVeskCore::TAddress> TVeskCore::AddressOperand(const std::u16string& text, std::int32_t column)
{
    const std::u16string_view address = Operand(text, column, 4);
    const std::int32_t code = TCellMemory::CodeOf(address);
    if (code < 0) {
        RaiseError(_cursor + 1, _line, kBadAddress);
        return std::nullopt;
    }
    return TAddress{code, address};
}

// The cell an address operand names, which must exist: `missing` at the operator when not.
std::optional<std::int32_t> TVeskCore::NamedCell(const std::u16string& text, std::int32_t column,
                                                  const std::u16string& missing)
{
    const std::optional<TAddress> address = AddressOperand(text, column);
    if (!address)
        return std::nullopt;
    const std::int32_t index = _cells.Find(address->code);
    if (index == -1) {
        RaiseError(_cursor, _line, missing);
        return std::nullopt;
    }
    return index;
}

// The cell an address names, created with the value 0 when there is none; -1 when
// it cannot be added.
std::int32_t TVeskCore::FindOrAddCell(const TAddress& address)
{
    const std::int32_t index = _cells.Find(address.code);
    return index != -1 ? index : AddCell(address.text, address.code);
}

// The two characters after the operator as a byte; the number error at them when not.
std::optional<std::int32_t> TVeskCore::ByteOperand(const std::u16string& text)
{
    const std::u16string_view taken = Operand(text, _cursor + 1, 2);
    const std::int32_t value = HexByte(taken);
    if (value < 0) {
        RaiseError(_cursor + 1, _line, BadNumber(taken));
        return std::nullopt;
    }
    return value;
}

TVeskCore::TOutcome TVeskCore::SelectCell(const std::u16string& text)
{
    const std::optional<TAddress> address = AddressOperand(text, _cursor + 1);
    if (!address)
        return TOutcome::Raised;
    _cas = address->code;
    _cai = FindOrAddCell(*address);
    if (_cai == -1)
        return RaiseError(_cursor, _line, kLostCurrentAddress);
    _cursor += 5;
    return TOutcome::Done;
}

TVeskCore::TOutcome TVeskCore::CopyCell(const std::u16string& text)
{
    const std::optional<TAddress> address = AddressOperand(text, _cursor + 1);
    if (!address)
        return TOutcome::Raised;
    const std::int32_t target = FindOrAddCell(*address);
    if (target == -1)
        return RaiseError(_cursor, _line, kNoCopyTarget);
    if (!HasCurrentCell())
        return RaiseError(_cursor, _line, kMemoryAccess);
    _cells.Value(target) = _cells.Value(_cai);
    _cursor += 5;
    return TOutcome::Done;
}

TVeskCore::TOutcome TVeskCore::DestroyCell(const std::u16string& text)
{
    const std::optional<std::int32_t> index = NamedCell(text, _cursor + 1, kNoCellToDestroy);
    if (!index)
        return TOutcome::Raised;
    _cells.Remove(*index);
    if (*index == _cai)
        SelectStackTop();
    else if (*index < _cai)
        --_cai;
    _cursor += 5;
    return TOutcome::Done;
}

TVeskCore::TOutcome TVeskCore::AddByte(const std::u16string& text, bool subtract)
{
    const std::optional<std::int32_t> value = ByteOperand(text);
    if (!value)
        return TOutcome::Raised;
    if (!HasCurrentCell())
        return RaiseError(_cursor, _line, kMemoryAccess);
    std::uint8_t& cell = _cells.Value(_cai);
    cell = static_cast<std::uint8_t>(subtract ? cell - *value : cell + *value);
    _cursor += 3;
    return TOutcome::Done;
}

TVeskCore::TOutcome TVeskCore::AddCellValue(const std::u16string& text, bool subtract)
{
    const std::optional<std::int32_t> named = NamedCell(text, _cursor + 2, kNoOperandCell);
    if (!named)
        return TOutcome::Raised;
    if (!HasCurrentCell())
        return RaiseError(_cursor, _line, kMemoryAccess);
    const std::uint8_t value = _cells.Value(*named);
    std::uint8_t& cell = _cells.Value(_cai);
    cell = static_cast<std::uint8_t>(subtract ? cell - value : cell + value);
    _cursor += 6;
    return TOutcome::Done;
}

TVeskCore::TOutcome TVeskCore::ChangeBits(char16_t op)
{
    if (!HasCurrentCell())
        return RaiseError(_cursor, _line, kMemoryAccess);
    std::uint8_t& cell = _cells.Value(_cai);
    const unsigned v = cell;
    switch (op) {
    case u'*': cell = static_cast<std::uint8_t>(v ^ 1U); break;
    case u'<': cell = static_cast<std::uint8_t>((v << 1) | (v >> 7)); break;
    default: cell = static_cast<std::uint8_t>((v >> 1) | (v << 7)); break;
    }
    ++_cursor;
    return TOutcome::Done;
}

TVeskCore::TOutcome TVeskCore::PushAddress()
{
    _astack.push_back(_cas);
    ++_cursor;
    return TOutcome::Done;
}

// Drops the top, then selects the address saved below it.
TVeskCore::TOutcome TVeskCore::PopAddress()
{
    if (!_astack.empty())
        _astack.pop_back();
    SelectStackTop();
    ++_cursor;
    return TOutcome::Done;
}

void TVeskCore::SelectStackTop()
{
    _cas = _astack.empty() ? -1 : _astack.back();
    _cai = _cells.Find(_cas);
}

// ---- loops and conditions --------------------------------------------------

TVeskCore::TLoopSite* TVeskCore::LoopSiteAtCursor()
{
    const std::int64_t offset = _search.Offset(_cursor, _line);
    if (offset < 0)
        return nullptr;
    if (_loopSites.empty())
        _loopSites.resize(static_cast<std::size_t>(_search.Length()));
    return &_loopSites[static_cast<std::size_t>(offset)];
}

TVeskCore::TOutcome TVeskCore::LoopHead(const std::u16string& text)
{
    TLoopSite* site = LoopSiteAtCursor();
    if (!site || site->slot < 0) {
        std::int32_t passes = -1;
        if (CharAt(_cursor + 3, _line) == u':') {
            const std::optional<std::int32_t> count = ByteOperand(text);
            if (!count)
                return TOutcome::Raised;
            passes = *count;
        }
        TLoopSite found;
        found.slot = _cstack.Slot(_line, _cursor);
        found.passes = passes;
        if (!site)
            site = &found;
        *site = found;
    }
    _cstack.Push(site->slot, site->passes);
    _cursor += site->passes >= 0 ? 4 : 1;
    return TOutcome::Done;
}

TVeskCore::TOutcome TVeskCore::LoopEnd()
{
    TLoopSite* site = LoopSiteAtCursor();
    TLoopSite found;
    if (!site || site->slot < 0) {
        found.head = _search.FindLoopStart(_cursor, _line);
        if (!found.head.Found())
            return RaiseError(_cursor + 1, _line, kLostLoopStart);
        found.counted = CharAt(found.head.column + 3, found.head.line) == u':';
        found.slot = _cstack.Slot(found.head.line, found.head.column);
        if (site)
            *site = found;
    }
    const TLoopSite& loop = site ? *site : found;
    if (!loop.counted) {
        _line = loop.head.line;
        _cursor = loop.head.column + 1;
        return TOutcome::Done;
    }
    std::int32_t* passes = _cstack.First(loop.slot);
    if (!passes)
        return TOutcome::Fault; // no entry for the loop: the tick's general failure
    if (--*passes > 0) {
        _line = loop.head.line;
        _cursor = loop.head.column + 4;
    } else {
        _cstack.DropFirst(loop.slot);
        ++_cursor;
    }
    return TOutcome::Done;
}

TVeskCore::TOutcome TVeskCore::BranchEnd()
{
    if (_status != TProgramStatus::psCondition)
        return RaiseError(_cursor, _line, kColonOutsideBlock);
    return JumpToBlockEnd(false, kLostBlockEnd);
}

// Onto the `)` that FindBlockEnd finds (the next block's, or the enclosing one's);
// `missing` at the column after the operator when there is none.
TVeskCore::TOutcome TVeskCore::JumpToBlockEnd(bool nextBlock, const std::u16string& missing)
{
    const TTextPos end = _search.FindBlockEnd(_cursor, _line, nextBlock);
    if (!end.Found())
        return RaiseError(_cursor + 1, _line, missing);
    _line = end.line;
    _cursor = end.column;
    return TOutcome::Done;
}

TVeskCore::TOutcome TVeskCore::Condition(const std::u16string& text)
{
    switch (CharAt(_cursor + 1, _line)) {
    case u'?': return TestParity();
    case u'@': return CompareWithCell(text);
    default: return CompareWithByte(text);
    }
}

TVeskCore::TOutcome TVeskCore::CompareWithByte(const std::u16string& text)
{
    const std::optional<std::int32_t> value = ByteOperand(text);
    if (!value)
        return TOutcome::Raised;
    if (!HasCurrentCell())
        return RaiseError(_cursor, _line, kMemoryAccess);
    const std::int32_t current = _cells.Value(_cai);
    if (current == *value)
        return ChooseFirstBranch(_cursor + 3);
    if (current < *value)
        return ContinueInBranch(_search.FindBranch(_cursor, _line, 1));
    // Greater: the third branch, or the second when the block has no third.
    TTextPos separator = _search.FindBranch(_cursor, _line, 2);
    if (!separator.Found())
        separator = _search.FindBranch(_cursor, _line, 1);
    return ContinueInBranch(separator);
}

TVeskCore::TOutcome TVeskCore::CompareWithCell(const std::u16string& text)
{
    const std::optional<std::int32_t> named = NamedCell(text, _cursor + 2, kNoCompareCell);
    if (!named)
        return TOutcome::Raised;
    if (!HasCurrentCell())
        return RaiseError(_cursor, _line, kMemoryAccess);
    const std::int32_t current = _cells.Value(_cai);
    const std::int32_t other = _cells.Value(*named);
    if (current == other)
        return ChooseFirstBranch(_cursor + 6);
    return ContinueInBranch(_search.FindBranch(_cursor, _line, current < other ? 1 : 2));
}

TVeskCore::TOutcome TVeskCore::TestParity()
{
    if (!HasCurrentCell())
        return RaiseError(_cursor, _line, kMemoryAccess);
    if (_cells.Value(_cai) % 2 == 1)
        return ChooseFirstBranch(_cursor + 2);
    return ContinueInBranch(_search.FindBranch(_cursor, _line, 1));
}

// The first branch's block must stand right after the operand.
TVeskCore::TOutcome TVeskCore::ChooseFirstBranch(std::int32_t blockColumn)
{
    if (CharAt(blockColumn, _line) != u'(')
        return RaiseError(_cursor, _line, kNoConditionBlock);
    _cursor = blockColumn;
    return TOutcome::Done;
}

// After the separator when the branch exists; on the block's `)` when it does not.
TVeskCore::TOutcome TVeskCore::ContinueInBranch(TTextPos separator)
{
    if (separator.Found()) {
        _status = TProgramStatus::psCondition;
        _line = separator.line;
        _cursor = separator.column + 1;
        return TOutcome::Done;
    }
    return JumpToBlockEnd(true, kNoConditionBlock);
}
