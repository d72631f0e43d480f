#include "latinkey.h"

#include <array>

namespace {

// Key codes of the three letter rows of a PC keyboard, evdev numbering + 8.
constexpr quint32 kTopRowFirst = 24;    // Q W E R T Y U I O P
constexpr quint32 kHomeRowFirst = 38;   // A S D F G H J K L
constexpr quint32 kBottomRowFirst = 52; // Z X C V B N M

constexpr std::array<char, 10> kTopRow{'Q', 'W', 'E', 'R', 'T', 'Y', 'U', 'I', 'O', 'P'};
constexpr std::array<char, 9> kHomeRow{'A', 'S', 'D', 'F', 'G', 'H', 'J', 'K', 'L'};
constexpr std::array<char, 7> kBottomRow{'Z', 'X', 'C', 'V', 'B', 'N', 'M'};

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
