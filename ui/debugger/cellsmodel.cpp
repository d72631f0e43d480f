#include "ui/debugger/cellsmodel.h"

#include <QColor>
#include <QFont>
#include <QGuiApplication>
#include <QPalette>

#include "core/cellmemory.h"
#include "formats/results.h"
#include "ui/app/style.h"

namespace {

constexpr std::size_t kAddresses = 65536;
// Changed rows closer than this are reported as one range: fewer signals for
// the views, and a repaint of rows in between costs nothing when they are unchanged.
constexpr std::size_t kMergeGap = 64;


// Control characters would draw nothing, or a box where the font has no
// glyph: a middle dot stands for them.
QString CharacterText(std::uint8_t value)
{
    if (value < 0x20 || (value >= 0x7F && value < 0xA0))
        return QStringLiteral("\u00B7");
    return QString(QChar(char16_t(value)));
}

} // namespace

TCellsModel::TCellsModel(QObject* parent)
    : QAbstractTableModel(parent), _settled(kAddresses, std::int16_t(-1))
{
}

int TCellsModel::rowCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : int(_values.size());
}

int TCellsModel::columnCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : cColumns;
}

QVariant TCellsModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (orientation != Qt::Horizontal || role != Qt::DisplayRole)
        return QAbstractTableModel::headerData(section, orientation, role);
    switch (section) {
    case cAddress: return tr("Адрес");
    case cDecimal: return tr("Десятичное");
    case cHex: return tr("16-е");
    case cBinary: return tr("Двоичное");
    case cCharacter: return tr("Символ");
    default: return {};
    }
}

QVariant TCellsModel::data(const QModelIndex& index, int role) const
{
    if (!index.isValid() || std::size_t(index.row()) >= _values.size())
        return {};
    const auto row = std::size_t(index.row());
    const std::uint8_t value = _values[row];
    const bool current = index.row() == _current;
    switch (role) {
    case Qt::DisplayRole:
        switch (index.column()) {
        case cAddress: return QStringLiteral("$") + QString::fromStdU16String(_names[row]);
        case cDecimal: return QString::number(value);
        case cHex: return QStringLiteral("%1").arg(value, 2, 16, QLatin1Char('0')).toUpper();
        case cBinary: return QString::fromStdU16String(ByteToBinary(value));
        case cCharacter: return CharacterText(value);
        default: return {};
        }
    case Qt::BackgroundRole:
        if (_changed[row])
            return MarkColours(QGuiApplication::palette()).changedBack;
        if (current)
            return MarkColours(QGuiApplication::palette()).currentBack;
        return {};
    case Qt::ForegroundRole:
        // A marked row's own background needs its own text colour.
        if (_changed[row] || current)
            return MarkColours(QGuiApplication::palette()).markedText;
        return {};
    case Qt::FontRole:
        if (current) {
            QFont font;
            font.setBold(true);
            return font;
        }
        return {};
    case Qt::TextAlignmentRole:
        return index.column() == cAddress ? QVariant() : QVariant(Qt::AlignCenter);
    case CurrentRole: return current;
    case ChangedRole: return bool(_changed[row]);
    default: return {};
    }
}

bool TCellsModel::SettledDiffers(std::size_t row, std::uint8_t value) const
{
    const std::int32_t code = _codes[row];
    return code < 0 || _settled[std::size_t(code)] != std::int16_t(value);
}

void TCellsModel::Refresh(const std::vector<std::u16string>& names,
                          const std::vector<std::uint8_t>& values, int current)
{
    const std::size_t count = std::min(names.size(), values.size());
    const std::size_t shown = _values.size();
    // Cells are only appended while none is destroyed; anything else rebuilds.
    bool prefix = count >= shown;
    for (std::size_t i = 0; prefix && i < shown; ++i)
        prefix = names[i] == _names[i];
    if (!prefix) {
        Rebuild(names, values, count);
        _current = current;
        return;
    }

    std::size_t first = 0;
    std::size_t last = 0;
    bool open = false;
    for (std::size_t i = 0; i < shown; ++i) {
        const std::uint8_t value = values[i];
        const bool changed = SettledDiffers(i, value);
        if (value == _values[i] && std::uint8_t(changed) == _changed[i])
            continue;
        _values[i] = value;
        _changed[i] = std::uint8_t(changed);
        if (open && i - last > kMergeGap) {
            EmitRows(int(first), int(last));
            open = false;
        }
        if (!open)
            first = i;
        last = i;
        open = true;
    }
    if (open)
        EmitRows(int(first), int(last));

    if (current != _current) {
        const int previous = _current;
        _current = current;
        if (previous >= 0 && std::size_t(previous) < shown)
            EmitRows(previous, previous);
        if (current >= 0 && std::size_t(current) < shown)
            EmitRows(current, current);
    }
    if (count > shown) {
        beginInsertRows({}, int(shown), int(count) - 1);
        Append(names, values, shown, count);
        endInsertRows();
    }
}

void TCellsModel::Rebuild(const std::vector<std::u16string>& names,
                          const std::vector<std::uint8_t>& values, std::size_t count)
{
    beginResetModel();
    _names.clear();
    _codes.clear();
    _values.clear();
    _changed.clear();
    Append(names, values, 0, count);
    endResetModel();
}

void TCellsModel::Append(const std::vector<std::u16string>& names,
                         const std::vector<std::uint8_t>& values, std::size_t from,
                         std::size_t count)
{
    for (std::size_t i = from; i < count; ++i) {
        _names.push_back(names[i]);
        _codes.push_back(TCellMemory::CodeOf(names[i]));
        _values.push_back(values[i]);
        _changed.push_back(SettledDiffers(i, values[i]));
    }
}

void TCellsModel::EmitRows(int first, int last)
{
    emit dataChanged(index(first, 0), index(last, cColumns - 1));
}

void TCellsModel::SettleChanges()
{
    std::fill(_settled.begin(), _settled.end(), std::int16_t(-1));
    for (std::size_t i = 0; i < _values.size(); ++i) {
        if (_codes[i] >= 0)
            _settled[std::size_t(_codes[i])] = std::int16_t(_values[i]);
    }
}

void TCellsModel::Clear()
{
    beginResetModel();
    _names.clear();
    _codes.clear();
    _values.clear();
    _changed.clear();
    _current = -1;
    std::fill(_settled.begin(), _settled.end(), std::int16_t(-1));
    endResetModel();
}
