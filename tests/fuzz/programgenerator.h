// Turns fuzz input bytes into a Vesk program by grammar: each byte chooses the
// next operator, operand, loop, condition block or layout, so that most inputs
// are programs that pass the check and run through loops and conditions.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

class TProgramGenerator {
public:
    TProgramGenerator(const std::uint8_t* data, std::size_t size);

    // The program's lines, as the editor would hand them over.
    [[nodiscard]] std::vector<std::u16string> Lines();

private:
    // The next byte modulo n; 0 once the input is used up, which closes every open construct.
    [[nodiscard]] int Pick(int n);
    [[nodiscard]] bool Exhausted() const { return _next >= _size; }

    void Item(int depth);
    void Body(int depth);
    void Loop(int depth);
    void Condition(int depth);
    void Saved(int depth);
    void Layout();

    [[nodiscard]] std::u16string CellOperator();
    [[nodiscard]] std::u16string Address();
    [[nodiscard]] std::u16string Byte();
    [[nodiscard]] std::u16string LoopCount();
    [[nodiscard]] std::u16string Stray();
    [[nodiscard]] std::u16string HexDigits(int count);

    void Put(const std::u16string& token);

    const std::uint8_t* _data;
    std::size_t _size;
    std::size_t _next = 0;
    std::u16string _text;
};
