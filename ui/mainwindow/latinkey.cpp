#include "ui/mainwindow/latinkey.h"

#include <array>
#include <string_view>

namespace {

// Key codes of the three letter rows of a PC keyboard, evdev numbering + 8.
constexpr quint32 kTopRowFirst = 24;    // Q W E R T Y U I O P
constexpr quint32 kHomeRowFirst = 38;   // A S D F G H J K L
constexpr quint32 kBottomRowFirst = 52; // Z X C V B N M

constexpr std::array<char, 10> kTopRow{'Q', 'W', 'E', 'R', 'T', 'Y', 'U', 'I', 'O', 'P'};
constexpr std::array<char, 9> kHomeRow{'A', 'S', 'D', 'F', 'G', 'H', 'J', 'K', 'L'};
constexpr std::array<char, 7> kBottomRow{'Z', 'X', 'C', 'V', 'B', 'N', 'M'};

// The same rows as the Russian layout labels them, the keys right of P and L included.
constexpr std::u16string_view kCyrillicTopRow = u"ЙЦУКЕНГШЩЗХЪ";
constexpr std::u16string_view kCyrillicHomeRow = u"ФЫВАПРОЛДЖЭ";
constexpr std::u16string_view kCyrillicBottomRow = u"ЯЧСМИТЬБЮ";

char16_t InCyrillicRow(quint32 code, quint32 first, std::u16string_view row)
{
    return code >= first && code < first + row.size() ? row[code - first] : u'\0';
}

template <std::size_t N>
Qt::Key InRow(quint32 code, quint32 first, const std::array<char, N>& row)
{
    if (code < first || code >= first + N)
        return Qt::Key_unknown;
    return Qt::Key(row[code - first]); // Qt::Key_A..Key_Z are the ASCII capitals
}

} // namespace

Qt::Key LatinLetterKey(quint32 nativeScanCode)
{
    for (Qt::Key key : {InRow(nativeScanCode, kTopRowFirst, kTopRow),
                        InRow(nativeScanCode, kHomeRowFirst, kHomeRow),
                        InRow(nativeScanCode, kBottomRowFirst, kBottomRow)}) {
        if (key != Qt::Key_unknown)
            return key;
    }
    return Qt::Key_unknown;
}

char16_t CyrillicLetter(quint32 nativeScanCode)
{
    for (char16_t letter : {InCyrillicRow(nativeScanCode, kTopRowFirst, kCyrillicTopRow),
                            InCyrillicRow(nativeScanCode, kHomeRowFirst, kCyrillicHomeRow),
                            InCyrillicRow(nativeScanCode, kBottomRowFirst, kCyrillicBottomRow)}) {
        if (letter != u'\0')
            return letter;
    }
    return u'\0';
}
