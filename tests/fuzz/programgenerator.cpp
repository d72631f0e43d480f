#include "tests/fuzz/programgenerator.h"

namespace {

constexpr int kMaxDepth = 4;
constexpr std::size_t kMaxText = 4096;

template <std::size_t N>
[[nodiscard]] std::u16string From(const char16_t* const (&pool)[N], int index)
{
    return pool[std::size_t(index) % N];
}

} // namespace

TProgramGenerator::TProgramGenerator(const std::uint8_t* data, std::size_t size)
    : _data(data), _size(size)
{
}

int TProgramGenerator::Pick(int n)
{
    return Exhausted() ? 0 : int(_data[_next++] % unsigned(n));
}

std::vector<std::u16string> TProgramGenerator::Lines()
{
    // Most programs select a cell first, or nearly every operator would fail for want of one.
    _text = Pick(8) == 7 ? u"" : u"$0001";
    while (!Exhausted() && _text.size() < kMaxText)
        Item(0);
    std::vector<std::u16string> lines(1);
    for (const char16_t ch : _text) {
        if (ch == u'\n')
            lines.emplace_back();
        else
            lines.back() += ch;
    }
    return lines;
}

void TProgramGenerator::Put(const std::u16string& token)
{
    // Now and then a blank, a tab or a line break inside an operand.
    if (token.size() > 1 && Pick(16) == 1) {
        static const char16_t* const splits[] = {u" ", u"\t", u"\n"};
        const std::size_t at = 1 + std::size_t(Pick(int(token.size()) - 1));
        _text += token.substr(0, at) + From(splits, Pick(3)) + token.substr(at);
    } else {
        _text += token;
    }
}

void TProgramGenerator::Item(int depth)
{
    const int kind = Pick(depth < kMaxDepth ? 32 : 18);
    if (kind < 14)
        Put(CellOperator());
    else if (kind < 17)
        Layout();
    else if (kind < 18)
        Put(Stray());
    else if (kind < 23)
        Loop(depth);
    else if (kind < 28)
        Condition(depth);
    else
        Saved(depth);
}

void TProgramGenerator::Body(int depth)
{
    const int items = Pick(5);
    for (int i = 0; i < items; ++i)
        Item(depth + 1);
}

void TProgramGenerator::Loop(int depth)
{
    Put(Pick(8) == 0 ? u"[" : u"[" + LoopCount() + u":");
    Body(depth);
    Put(u"]");
}

void TProgramGenerator::Condition(int depth)
{
    switch (Pick(6)) {
    case 0: Put(u"?" + Byte()); break;
    case 1: Put(u"?@" + Address()); break;
    case 2: Put(u"??"); break;
    case 3: Put(u"?" + Byte()); Put(CellOperator()); break;
    case 4: Put(u"?@" + Address()); Put(u"$" + Address()); break;
    default: break; // a block with no condition in front
    }
    Put(u"(");
    const int branches = 1 + Pick(4);
    for (int b = 0; b < branches; ++b) {
        if (b > 0)
            Put(u":");
        Body(depth);
    }
    Put(u")");
}

// The address stack's brackets pair up like the others.
void TProgramGenerator::Saved(int depth)
{
    const int pushes = 1 + Pick(2);
    for (int i = 0; i < pushes; ++i)
        Put(u"{");
    for (int i = 0; i < pushes; ++i) {
        Body(depth);
        Put(u"}");
    }
}

void TProgramGenerator::Layout()
{
    static const char16_t* const gaps[] = {u" ", u"\t", u"\n", u"\n", u" ' note [ ( ! \n", u"\n\n", u"\n'\n", u"\n \v"};
    _text += From(gaps, Pick(8));
}

std::u16string TProgramGenerator::CellOperator()
{
    switch (Pick(12)) {
    case 0:
    case 1: return u"$" + Address();
    case 2: return u"^" + Address();
    case 3: return u"~" + Address();
    case 4:
    case 5: return u"+" + Byte();
    case 6: return u"-" + Byte();
    case 7: return u"+@" + Address();
    case 8: return u"-@" + Address();
    case 9: return u"*";
    case 10: return u"<";
    default: return u">";
    }
}

// Few names, some equal but for letter case, so that cells meet again.
std::u16string TProgramGenerator::Address()
{
    static const char16_t* const names[] = {u"0001", u"0001", u"0002", u"0002", u"00aB", u"00Ab",
                                            u"BEEF", u"beef", u"00ff", u"0003"};
    static const char16_t* const broken[] = {u"12", u"00*1", u"0?01", u"", u"@001", u"000"};
    const int kind = Pick(16);
    if (kind < 12)
        return From(names, Pick(10));
    if (kind < 14)
        return HexDigits(4);
    return From(broken, Pick(6));
}

std::u16string TProgramGenerator::Byte()
{
    static const char16_t* const values[] = {u"00", u"01", u"02", u"03", u"05", u"FF", u"fe", u"80", u"7f", u"0A"};
    static const char16_t* const broken[] = {u"*1", u"1", u"", u"@1", u"-1", u"0"};
    const int kind = Pick(16);
    if (kind < 12)
        return From(values, Pick(10));
    if (kind < 14)
        return HexDigits(2);
    return From(broken, Pick(6));
}

std::u16string TProgramGenerator::LoopCount()
{
    static const char16_t* const counts[] = {u"00", u"01", u"02", u"03", u"05", u"0A", u"FF", u"*1", u"1", u"@1"};
    return Pick(8) == 0 ? HexDigits(2) : From(counts, Pick(10));
}

// Mostly characters that pass the check but have no place where they stand;
// now and then a lone bracket, a comment or a character the check refuses.
std::u16string TProgramGenerator::Stray()
{
    static const char16_t* const stray[] = {u":", u"5", u"@", u"?", u"\r", u"a", u"?03", u"??", u"?@0001"};
    static const char16_t* const noise[] = {u")", u"(", u"]", u"[", u"}", u"{", u"!", u"G", u"я", u"=", u"'", u"\v", u"\x01"};
    return Pick(4) == 3 ? From(noise, Pick(13)) : From(stray, Pick(9));
}

std::u16string TProgramGenerator::HexDigits(int count)
{
    static const char16_t digits[] = u"0123456789abcdefABCDEF";
    std::u16string text;
    for (int i = 0; i < count; ++i)
        text += digits[Pick(22)];
    return text;
}
