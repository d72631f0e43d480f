#include "tests/core/reference_core.h"

#include <stdexcept>
#include <string>

namespace {

const std::u16string kUnknownFault = u"Неизвестное исключение.";
const std::u16string kMemoryAccess = u"Ошибка при доступе к памяти.";
const std::u16string kBadAddress = u"Неверно указан адрес ячейки.";
const std::u16string kNoBlock = u"Не найден блок обработки условия.";
const std::u16string kAllowed = u"0123456789abcdef@$*-+<>~^:?\n\r[]{}()";
const std::u16string kBrackets = u"[]{}()";

struct THexFailure {};

char16_t Lower(char16_t c) { return (c >= u'A' && c <= u'Z') ? char16_t(c - u'A' + u'a') : c; }

bool SameText(const std::u16string& a, const std::u16string& b)
{
    if (a.size() != b.size())
        return false;
    for (std::size_t i = 0; i < a.size(); ++i)
        if (Lower(a[i]) != Lower(b[i]))
            return false;
    return true;
}

int HexDigit(const std::u16string& text, std::size_t index)
{
    if (index >= text.size())
        throw THexFailure{};
    const char16_t c = text[index];
    if (c >= u'0' && c <= u'9')
        return c - u'0';
    if (c >= u'a' && c <= u'f')
        return c - u'a' + 10;
    if (c >= u'A' && c <= u'F')
        return c - u'A' + 10;
    throw THexFailure{};
}

int HexByte(const std::u16string& text)
{
    const int high = HexDigit(text, 0);
    return 16 * high + HexDigit(text, 1);
}

void HexWord(const std::u16string& text)
{
    for (std::size_t i = 0; i < 4; ++i)
        (void)HexDigit(text, i);
}

bool IsHexDigit(int c)
{
    return (c >= '0' && c <= '9') || (c >= 'a' && c <= 'f') || (c >= 'A' && c <= 'F');
}

std::u16string NumberMessage(const std::u16string& text)
{
    return u"Невозможно распознать число '" + text + u"'.";
}

std::u16string Key(std::int32_t line, std::int32_t column)
{
    const std::string key = std::to_string(line) + ":" + std::to_string(column);
    return std::u16string(key.begin(), key.end());
}

} // namespace

std::int32_t TReferenceCore::TStringList::IndexOf(const std::u16string& text) const
{
    for (std::size_t i = 0; i < texts.size(); ++i)
        if (SameText(texts[i], text))
            return std::int32_t(i);
    return -1;
}

void TReferenceCore::TStringList::Add(const std::u16string& text, std::int32_t object)
{
    texts.push_back(text);
    objects.push_back(object);
}

void TReferenceCore::TStringList::Delete(std::int32_t index)
{
    (void)Object(index);
    texts.erase(texts.begin() + index);
    objects.erase(objects.begin() + index);
}

std::int32_t& TReferenceCore::TStringList::Object(std::int32_t index)
{
    if (index < 0 || index >= Count())
        throw std::out_of_range("list index out of bounds");
    return objects[std::size_t(index)];
}

TReferenceCore::TReferenceCore(std::vector<std::u16string> program) : _program(std::move(program)) {}

void TReferenceCore::Emit(const char* kind) { _events.push_back({kind, 0, 0, {}}); }

void TReferenceCore::Execute()
{
    PrepareSource();
    if (!CheckSource()) {
        _timerOn = false;
        Emit("stop");
        return;
    }
    if (_program.empty()) {
        _timerOn = false;
        Emit("finish");
        Emit("stop");
        return;
    }
    _timerMade = true;
    _timerOn = true;
    Emit("start");
}

void TReferenceCore::Pause()
{
    if (IsRun()) {
        _timerOn = false;
        Emit("pause");
    }
}

void TReferenceCore::TimerTick()
{
    _timerOn = false;
    ++_step;
    if (_line >= std::int32_t(_program.size())) {
        Emit("finish");
        Emit("stop");
        return;
    }
    try {
        if (LineLength(_line) < _cursor) {
            _cursor = 1;
            ++_line;
            _timerOn = true;
            return;
        }
        if (RunOperator())
            _timerOn = true;
    } catch (const std::exception&) {
        _timerOn = false;
        RaiseError(_cursor, _line, kUnknownFault);
    }
}

void TReferenceCore::RaiseError(std::int32_t position, std::int32_t line, const std::u16string& message)
{
    _timerOn = false;
    Emit("stop");
    _condition = false;
    _events.push_back({"error", line, position, message});
}

std::int32_t TReferenceCore::AddCell(const std::u16string& name)
{
    _variables.Add(name);
    _memory.push_back(0);
    return std::int32_t(_variables.texts.size()) == std::int32_t(_memory.size()) ? std::int32_t(_memory.size()) - 1
                                                                                : -1;
}

void TReferenceCore::PrepareSource()
{
    for (std::u16string& line : _program) {
        std::size_t first = 0;
        while (first < line.size() && line[first] <= 32)
            ++first;
        std::size_t last = line.size();
        while (last > first && line[last - 1] <= 32)
            --last;
        std::u16string text = line.substr(first, last - first);
        const std::size_t quote = text.find(u'\'');
        if (quote != std::u16string::npos)
            text.erase(quote);
        std::u16string kept;
        for (const char16_t c : text)
            if (c != u' ')
                kept += c;
        text.clear();
        for (const char16_t c : kept)
            if (c != u'\t')
                text += c;
        line = text;
    }
}

bool TReferenceCore::CheckSource()
{
    std::u16string brackets;
    for (std::size_t i = 0; i < _program.size(); ++i) {
        for (std::size_t j = 1; j <= _program[i].size(); ++j) {
            const char16_t c = _program[i][j - 1];
            if (kBrackets.find(c) != std::u16string::npos)
                brackets += c;
            if (kAllowed.find(Lower(c)) == std::u16string::npos) {
                _events.push_back({"error", std::int32_t(i), std::int32_t(j), u"Неизвестный символ."});
                return false;
            }
        }
    }
    const auto has = [&](const char16_t* pair) { return brackets.find(pair) != std::u16string::npos; };
    while (has(u"[]") || has(u"{}") || has(u"()")) {
        if (has(u"[]"))
            brackets.erase(brackets.find(u"[]"), 2);
        if (has(u"{}"))
            brackets.erase(brackets.find(u"{}"), 2);
        if (has(u"()"))
            brackets.erase(brackets.find(u"()"), 2);
    }
    if (brackets.empty())
        return true;
    _events.push_back({"error", 0, 0, u"Неверное сочетание программных скобок."});
    return false;
}

std::int32_t TReferenceCore::LineLength(std::int32_t line) const
{
    return std::int32_t(_program[std::size_t(line)].size());
}

int TReferenceCore::CharAt(std::int32_t column, std::int32_t line) const
{
    if (line < 0 || line >= std::int32_t(_program.size()) || column < 1 || column > LineLength(line))
        return -1;
    return _program[std::size_t(line)][std::size_t(column - 1)];
}

std::u16string TReferenceCore::Take(std::int32_t column, std::int32_t count) const
{
    std::u16string text;
    for (std::int32_t k = 0; k < count; ++k) {
        const int c = CharAt(column + k, _line);
        if (c < 0)
            break;
        text += char16_t(c);
    }
    return text;
}

bool TReferenceCore::NoCurrentCell() const { return _cai < 0 || _cai >= std::int32_t(_memory.size()); }

void TReferenceCore::SelectTopOfStack()
{
    if (_astack.Count() > 0) {
        _cas = _astack.texts.back();
        _cai = _variables.IndexOf(_cas);
    } else {
        _cas.clear();
        _cai = -1;
    }
}

bool TReferenceCore::RunOperator()
{
    const char16_t op = char16_t(CharAt(_cursor, _line));
    switch (op) {
    case u'$': return Select();
    case u'^': return Copy();
    case u'~': return Destroy();
    case u'+':
    case u'-':
        return CharAt(_cursor + 1, _line) == '@' ? AddNamed(op == u'-') : AddByte(op == u'-');
    case u'*':
    case u'<':
    case u'>': return Bits(op);
    case u'{':
        _astack.Add(_cas);
        ++_cursor;
        return true;
    case u'}': PopAddress(); return true;
    case u'[': return LoopHead();
    case u']': return LoopEnd();
    case u'(':
        _condition = true;
        ++_cursor;
        return true;
    case u')':
        _condition = false;
        ++_cursor;
        return true;
    case u':': return Separator();
    case u'?':
        if (CharAt(_cursor + 1, _line) == '?')
            return ParityCondition();
        if (CharAt(_cursor + 1, _line) == '@')
            return CellCondition();
        return ByteCondition();
    case u'@':
        RaiseError(_cursor, _line, u"Обращение к адресу без использования операторов.");
        return false;
    default:
        if (IsHexDigit(op)) {
            RaiseError(_cursor, _line, u"Использование числовых данных без операторов");
            return false;
        }
        ++_cursor;
        return true;
    }
}

// The four characters from `column` on must be a hexadecimal address; the
// address error is reported at the column after the operator.
bool TReferenceCore::AddressAt(std::int32_t column, std::u16string& text)
{
    text = Take(column, 4);
    try {
        HexWord(text);
    } catch (const THexFailure&) {
        RaiseError(_cursor + 1, _line, kBadAddress);
        return false;
    }
    return true;
}

bool TReferenceCore::Select()
{
    std::u16string text;
    if (!AddressAt(_cursor + 1, text))
        return false;
    _cas = text;
    _cai = _variables.IndexOf(text);
    if (_cai == -1) {
        _cai = AddCell(text);
        if (_cai == -1) {
            RaiseError(_cursor, _line, u"Потерян адрес обрабатываемой ячейки.");
            return false;
        }
    }
    _cursor += 5;
    return true;
}

bool TReferenceCore::Copy()
{
    std::u16string text;
    if (!AddressAt(_cursor + 1, text))
        return false;
    std::int32_t target = _variables.IndexOf(text);
    if (target == -1) {
        target = AddCell(text);
        if (target == -1) {
            RaiseError(_cursor, _line, u"Не обнаружена ячейка для пересылки.");
            return false;
        }
    }
    if (NoCurrentCell()) {
        RaiseError(_cursor, _line, kMemoryAccess);
        return false;
    }
    _memory[std::size_t(target)] = _memory[std::size_t(_cai)];
    _cursor += 5;
    return true;
}

bool TReferenceCore::Destroy()
{
    std::u16string text;
    if (!AddressAt(_cursor + 1, text))
        return false;
    const std::int32_t i = _variables.IndexOf(text);
    if (i == -1) {
        RaiseError(_cursor, _line, u"Не обнаружена ячейка для уничтожения.");
        return false;
    }
    for (std::size_t k = std::size_t(i); k + 1 < _memory.size(); ++k)
        _memory[k] = _memory[k + 1];
    _memory.pop_back();
    _variables.Delete(i);
    if (i == _cai)
        SelectTopOfStack();
    else if (i < _cai)
        --_cai;
    _cursor += 5;
    return true;
}

bool TReferenceCore::AddByte(bool subtract)
{
    const std::u16string text = Take(_cursor + 1, 2);
    int value = 0;
    try {
        value = HexByte(text);
    } catch (const THexFailure&) {
        RaiseError(_cursor + 1, _line, NumberMessage(text));
        return false;
    }
    if (NoCurrentCell()) {
        RaiseError(_cursor, _line, kMemoryAccess);
        return false;
    }
    std::uint8_t& cell = _memory[std::size_t(_cai)];
    cell = std::uint8_t(((subtract ? cell - value : cell + value) % 256 + 256) % 256);
    _cursor += 3;
    return true;
}

bool TReferenceCore::AddNamed(bool subtract)
{
    std::u16string text;
    if (!AddressAt(_cursor + 2, text))
        return false;
    const std::int32_t named = _variables.IndexOf(text);
    if (named == -1) {
        RaiseError(_cursor, _line, u"Не обнаружена ячейка для выполнения действия.");
        return false;
    }
    if (NoCurrentCell()) {
        RaiseError(_cursor, _line, kMemoryAccess);
        return false;
    }
    const int other = _memory[std::size_t(named)];
    std::uint8_t& cell = _memory[std::size_t(_cai)];
    cell = std::uint8_t(((subtract ? cell - other : cell + other) % 256 + 256) % 256);
    _cursor += 6;
    return true;
}

bool TReferenceCore::Bits(char16_t op)
{
    if (NoCurrentCell()) {
        RaiseError(_cursor, _line, kMemoryAccess);
        return false;
    }
    std::uint8_t& cell = _memory[std::size_t(_cai)];
    const int v = cell;
    if (op == u'*')
        cell = std::uint8_t(v % 2 == 1 ? v - 1 : v + 1);
    else if (op == u'<')
        cell = std::uint8_t((2 * v) % 256 + v / 128);
    else
        cell = std::uint8_t(v / 2 + 128 * (v % 2));
    ++_cursor;
    return true;
}

void TReferenceCore::PopAddress()
{
    if (_astack.Count() > 0)
        _astack.Delete(_astack.Count() - 1);
    SelectTopOfStack();
    ++_cursor;
}

bool TReferenceCore::LoopHead()
{
    if (CharAt(_cursor + 3, _line) == ':') {
        const std::u16string text = Take(_cursor + 1, 2);
        int passes = 0;
        try {
            passes = HexByte(text);
        } catch (const THexFailure&) {
            RaiseError(_cursor + 1, _line, NumberMessage(text));
            return false;
        }
        _cstack.Add(Key(_line, _cursor), passes);
        _cursor += 4;
        return true;
    }
    _cstack.Add(Key(_line, _cursor), -1);
    ++_cursor;
    return true;
}

bool TReferenceCore::LoopEnd()
{
    const TPos head = FindLoopStart();
    if (head.column <= 0) {
        RaiseError(_cursor + 1, _line, u"Потеряно начало цикла.");
        return false;
    }
    if (CharAt(head.column + 3, head.line) != ':') {
        _cursor = head.column + 1;
        _line = head.line;
        return true;
    }
    const std::int32_t entry = _cstack.IndexOf(Key(head.line, head.column));
    std::int32_t& step = _cstack.Object(entry); // throws when there is no entry
    step -= 1;
    if (step > 0) {
        _cursor = head.column + 4;
        _line = head.line;
    } else {
        _cstack.Delete(entry);
        ++_cursor;
    }
    return true;
}

bool TReferenceCore::Separator()
{
    if (!_condition) {
        RaiseError(_cursor, _line, u"Использование символа деления ветвей вне блока обработки условия.");
        return false;
    }
    const TPos end = FindBlockEnd(false);
    if (end.column <= 0) {
        RaiseError(_cursor + 1, _line, u"Потеряна закрывающая скобка ветви обработки условия.");
        return false;
    }
    _cursor = end.column;
    _line = end.line;
    return true;
}

bool TReferenceCore::ChooseFirst(std::int32_t column)
{
    if (CharAt(column, _line) != '(') {
        RaiseError(_cursor, _line, kNoBlock);
        return false;
    }
    _cursor = column;
    return true;
}

bool TReferenceCore::ContinueAfter(TPos separator)
{
    if (separator.column > 0) {
        _condition = true;
        _cursor = separator.column + 1;
        _line = separator.line;
        return true;
    }
    const TPos end = FindBlockEnd(true);
    if (end.column <= 0) {
        RaiseError(_cursor + 1, _line, kNoBlock);
        return false;
    }
    _cursor = end.column;
    _line = end.line;
    return true;
}

bool TReferenceCore::ByteCondition()
{
    const std::u16string text = Take(_cursor + 1, 2);
    int v = 0;
    try {
        v = HexByte(text);
    } catch (const THexFailure&) {
        RaiseError(_cursor + 1, _line, NumberMessage(text));
        return false;
    }
    if (NoCurrentCell()) {
        RaiseError(_cursor, _line, kMemoryAccess);
        return false;
    }
    const int current = _memory[std::size_t(_cai)];
    if (current == v)
        return ChooseFirst(_cursor + 3);
    if (current < v)
        return ContinueAfter(FindBranch(1));
    TPos separator = FindBranch(2);
    if (separator.column <= 0)
        separator = FindBranch(1);
    return ContinueAfter(separator);
}

bool TReferenceCore::CellCondition()
{
    std::u16string text;
    if (!AddressAt(_cursor + 2, text))
        return false;
    const std::int32_t named = _variables.IndexOf(text);
    if (named == -1) {
        RaiseError(_cursor, _line, u"Не обнаружена ячейка для сравнения.");
        return false;
    }
    if (NoCurrentCell()) {
        RaiseError(_cursor, _line, kMemoryAccess);
        return false;
    }
    const int current = _memory[std::size_t(_cai)];
    const int other = _memory[std::size_t(named)];
    if (current == other)
        return ChooseFirst(_cursor + 6);
    return ContinueAfter(FindBranch(current < other ? 1 : 2));
}

bool TReferenceCore::ParityCondition()
{
    if (NoCurrentCell()) {
        RaiseError(_cursor, _line, kMemoryAccess);
        return false;
    }
    if (_memory[std::size_t(_cai)] % 2 == 1)
        return ChooseFirst(_cursor + 2);
    return ContinueAfter(FindBranch(1));
}

TReferenceCore::TPos TReferenceCore::FindLoopStart() const
{
    std::int32_t line = _line;
    std::int32_t column = _cursor - 1;
    int depth = 1;
    for (;;) {
        while (column < 1) {
            --line;
            if (line < 0)
                return {};
            column = LineLength(line);
        }
        const int c = CharAt(column, line);
        if (c == ']')
            ++depth;
        if (c == '[')
            --depth;
        if (depth == 0)
            return {column, line};
        --column;
    }
}

TReferenceCore::TPos TReferenceCore::FindBlockEnd(bool fromZero) const
{
    std::int32_t line = _line;
    std::int32_t column = _cursor + 1;
    int depth = fromZero ? 0 : 1;
    for (;;) {
        while (column > LineLength(line)) {
            ++line;
            if (line >= std::int32_t(_program.size()))
                return {};
            column = 1;
        }
        const int c = CharAt(column, line);
        if (c == '(')
            ++depth;
        if (c == ')') {
            --depth;
            if (depth == 0)
                return {column, line};
        }
        ++column;
    }
}

TReferenceCore::TPos TReferenceCore::FindBranch(int n) const
{
    const TPos end = FindBlockEnd(true);
    if (end.column <= 0)
        return {};
    std::int32_t line = _line;
    std::int32_t column = _cursor + 1;
    int depth = 0;
    int separators = 0;
    for (;;) {
        while (column > LineLength(line)) {
            ++line;
            if (line >= std::int32_t(_program.size()))
                return {};
            column = 1;
        }
        if (line > end.line || (line == end.line && column > end.column))
            return {};
        const int c = CharAt(column, line);
        if (c == '(')
            ++depth;
        if (c == ')')
            --depth;
        if (c == ':' && depth == 1) {
            ++separators;
            if (separators == n)
                return {column, line};
        }
        ++column;
    }
}
