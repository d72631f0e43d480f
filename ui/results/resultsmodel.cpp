#include "ui/results/resultsmodel.h"

#include <QCoreApplication>
#include <algorithm>
#include <optional>
#include <string_view>
#include <utility>

namespace {

int Sign(int value)
{
    return (value > 0) - (value < 0);
}

// Primary weights: other characters, then digits, then letters.
enum TCharacterClass : char16_t { kOther = 1, kDigit = 2, kLetter = 3 };

TCharacterClass ClassOf(QChar c)
{
    if (c.isDigit())
        return kDigit;
    return c.isLetter() ? kLetter : kOther;
}

// A key whose plain code-unit order is the collation's: class and case-folded
// character for each character, a 0 ending the primary part (so a text sorts
// before its longer continuations), then the case of each character: 1 lower
// or caseless, 2 upper.
QString CollationKey(QStringView text)
{
    QString key;
    key.reserve(text.size() * 3 + 1);
    for (QChar c : text) {
        key.append(QChar(ClassOf(c)));
        key.append(c.toCaseFolded());
    }
    key.append(QChar(0));
    for (QChar c : text)
        key.append(QChar(c.isUpper() ? 2 : 1));
    return key;
}

// Sort keys packed into one number, for texts of up to eight characters from
// "$", digits and Latin letters: every address ("$" and four hexadecimal
// digits) and every base-2 text. A packed key's order is CompareTexts' order:
// six bits of primary weight per character ("$" before digits before letters,
// letter case folded, 0 for none), then one bit of case per character.
constexpr std::size_t kPackedCharacters = 8;

std::optional<std::uint64_t> PackedKey(std::u16string_view text)
{
    if (text.size() > kPackedCharacters)
        return std::nullopt;
    std::uint64_t primary = 0;
    std::uint64_t upper = 0;
    for (std::size_t i = 0; i < kPackedCharacters; ++i) {
        std::uint64_t weight = 0;
        bool isUpper = false;
        if (i < text.size()) {
            const char16_t c = text[i];
            if (c == u'$')
                weight = 1;
            else if (c >= u'0' && c <= u'9')
                weight = 2 + (c - u'0');
            else if (c >= u'a' && c <= u'z')
                weight = 12 + (c - u'a');
            else if (c >= u'A' && c <= u'Z')
                weight = 12 + (c - u'A'), isUpper = true;
            else
                return std::nullopt;
        }
        primary = (primary << 6) | weight;
        upper = (upper << 1) | (isUpper ? 1 : 0);
    }
    return (primary << kPackedCharacters) | upper;
}

// The texts a column sorts by.
const std::u16string& SortText(const TResultRow& row, int column)
{
    return column == 0 ? row.address : row.binary;
}

// A stable sort of the shown order by keys of the creation indices: a sort of
// many rows then compares plain numbers held side by side.
std::vector<int> OrderByKeys(const std::vector<int>& shown, const std::vector<std::uint64_t>& keys, int order)
{
    struct TEntry {
        std::uint64_t key;
        int row;
    };
    std::vector<TEntry> entries;
    entries.reserve(shown.size());
    for (int row : shown) {
        // Descending: the complement reverses the order, and the stable sort
        // still keeps equal rows as they were.
        const std::uint64_t key = keys[std::size_t(row)];
        entries.push_back({order < 0 ? ~key : key, row});
    }
    std::stable_sort(entries.begin(), entries.end(),
                     [](const TEntry& a, const TEntry& b) { return a.key < b.key; });
    std::vector<int> sorted;
    sorted.reserve(entries.size());
    for (const TEntry& entry : entries)
        sorted.push_back(entry.row);
    return sorted;
}


// In the interface language, as the results window words them.
QString Header(int section)
{
    static constexpr const char* headers[TResultsModel::kColumnCount] = {
        QT_TRANSLATE_NOOP("TfResults", "Адрес"),
        QT_TRANSLATE_NOOP("TfResults", "Значение (двоичное)"),
        QT_TRANSLATE_NOOP("TfResults", "Значение (16-е)"),
        QT_TRANSLATE_NOOP("TfResults", "Символ"),
    };
    return QCoreApplication::translate("TfResults", headers[section]);
}

// What a cell of the list shows; the character U+0000 shows as nothing.
QString CellText(const TResultRow& row, int column)
{
    switch (column) {
    case 0: return QString::fromStdU16String(row.address);
    case 1: return QString::fromStdU16String(row.binary);
    case 2: return QString::fromStdU16String(row.hex);
    default: break;
    }
    if (row.character.size() == 1 && row.character[0] == u'\0')
        return {};
    return QString::fromStdU16String(row.character);
}

} // namespace

int CompareTexts(const QString& a, const QString& b)
{
    return Sign(QStringView(CollationKey(a)).compare(QStringView(CollationKey(b))));
}

TResultsModel::TResultsModel(QObject* parent) : QAbstractTableModel(parent) {}

int TResultsModel::CompareRows(const TResultRow& a, const TResultRow& b, int column)
{
    return CompareTexts(QString::fromStdU16String(SortText(a, column)),
                        QString::fromStdU16String(SortText(b, column)));
}

void TResultsModel::Sort(int column, int order)
{
    if (_packed) {
        SetOrder(OrderByKeys(_order, column == 0 ? _addressKeys : _binaryKeys, order));
        return;
    }
    std::vector<int> sorted = _order;
    std::stable_sort(sorted.begin(), sorted.end(), [this, column, order](int a, int b) {
        return CompareRows(_rows[std::size_t(a)], _rows[std::size_t(b)], column) * order < 0;
    });
    SetOrder(std::move(sorted));
}

void TResultsModel::Append(std::vector<TResultRow> rows)
{
    if (rows.empty())
        return;
    for (const TResultRow& row : rows) {
        const auto address = PackedKey(row.address);
        const auto binary = PackedKey(row.binary);
        _packed = _packed && address && binary;
        if (_packed) {
            _addressKeys.push_back(*address);
            _binaryKeys.push_back(*binary);
        }
    }
    const int first = int(_rows.size());
    beginInsertRows({}, first, first + int(rows.size()) - 1);
    if (_rows.empty())
        _rows = std::move(rows);
    else
        _rows.insert(_rows.end(), std::make_move_iterator(rows.begin()),
                     std::make_move_iterator(rows.end()));
    for (int i = first; i < int(_rows.size()); ++i)
        _order.push_back(i);
    endInsertRows();
}

std::vector<TResultRow> TResultsModel::ShownRows() const
{
    std::vector<TResultRow> rows;
    rows.reserve(_order.size());
    for (int index : _order)
        rows.push_back(_rows[std::size_t(index)]);
    return rows;
}

void TResultsModel::SetOrder(std::vector<int> order)
{
    if (order.size() != _order.size())
        return;
    emit layoutAboutToBeChanged({}, QAbstractItemModel::VerticalSortHint);
    std::vector<int> placeOf(order.size());
    for (std::size_t place = 0; place < order.size(); ++place)
        placeOf[std::size_t(order[place])] = int(place);
    const QModelIndexList before = persistentIndexList();
    QModelIndexList after;
    after.reserve(before.size());
    for (const QModelIndex& index : before) {
        const int created = _order[std::size_t(index.row())];
        after.append(this->index(placeOf[std::size_t(created)], index.column()));
    }
    _order = std::move(order);
    changePersistentIndexList(before, after);
    emit layoutChanged({}, QAbstractItemModel::VerticalSortHint);
}

int TResultsModel::rowCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : int(_rows.size());
}

int TResultsModel::columnCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : kColumnCount;
}

QVariant TResultsModel::data(const QModelIndex& index, int role) const
{
    if (role != Qt::DisplayRole || !index.isValid() || index.row() >= int(_order.size()))
        return {};
    return CellText(_rows[std::size_t(_order[std::size_t(index.row())])], index.column());
}

QVariant TResultsModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (orientation != Qt::Horizontal || role != Qt::DisplayRole || section < 0
        || section >= kColumnCount)
        return QAbstractTableModel::headerData(section, orientation, role);
    return Header(section);
}

Qt::ItemFlags TResultsModel::flags(const QModelIndex& index) const
{
    return index.isValid() ? Qt::ItemIsEnabled | Qt::ItemIsSelectable : Qt::NoItemFlags;
}
