#include "results.h"

#include <QFileDialog>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QPushButton>
#include <QResizeEvent>
#include <QTreeView>
#include <algorithm>
#include <optional>
#include <stdexcept>
#include <string_view>

#include "formats/filewrite.h"
#include "ui/application.h"
#include "ui/resultsmodel.h"
#include "ui/style.h"

std::int32_t SortColumn = 0;
std::int32_t SortOrder = 1;

namespace {

constexpr int kColumnCount = TResultsModel::kColumnCount;
constexpr int kWidths[kColumnCount] = {90, 150, 110, 50};
constexpr int kMinimumWidths[kColumnCount] = {70, 120, 90, 30};

QString ToQString(const std::u16string& text)
{
    return QString::fromStdU16String(text);
}

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

// The texts CompareItems compares for a column.
const std::u16string& SortText(const TResultRow& row, int column)
{
    return column == 0 ? row.address : row.binary;
}

// A stable sort of the shown order by keys of the creation indices: a sort of
// many rows then compares plain numbers held side by side.
std::vector<int> OrderByKeys(const std::vector<int>& shown, const std::vector<std::uint64_t>& keys)
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
        entries.push_back({SortOrder < 0 ? ~key : key, row});
    }
    std::stable_sort(entries.begin(), entries.end(),
                     [](const TEntry& a, const TEntry& b) { return a.key < b.key; });
    std::vector<int> order;
    order.reserve(entries.size());
    for (const TEntry& entry : entries)
        order.push_back(entry.row);
    return order;
}

} // namespace

int CompareTexts(const QString& a, const QString& b)
{
    return Sign(QStringView(CollationKey(a)).compare(QStringView(CollationKey(b))));
}

int CompareItems(const TResultRow& a, const TResultRow& b, int column)
{
    return CompareTexts(ToQString(SortText(a, column)), ToQString(SortText(b, column))) * SortOrder;
}

TfResults::TfResults(QWidget* parent) : QDialog(parent)
{
    setWindowTitle(tr("Результаты выполнения"));
    setFont(InterfaceFont());
    setSizeGripEnabled(true);
    CreateLabels();
    CreateList();
    CreateButtons();
    setTabOrder(lVariablesList, bCloseButton);
    setTabOrder(bCloseButton, bSaveButton);
    resize(461, 406);
    PlaceAnchoredControls();
    FormCreate();
}

void TfResults::FormCreate()
{
    SortOrder = 1;
    SortColumn = 0;
}

void TfResults::CreateLabels()
{
    lSuccesLabel = MakeLabel(this, "lSuccesLabel",
                             tr("Выполнение программы успешно завершено."), 8, 8);
    sLabel1 = MakeLabel(this, "sLabel1", tr("Время выполнения:"), 8, 27);
    lTime = MakeLabel(this, "lTime", QString(), 113, 27);
    sLabel2 = MakeLabel(this, "sLabel2", tr("Выполнено операторов:"), 8, 46);
    lStepsCount = MakeLabel(this, "lStepsCount", QString(), 137, 46);
    lVariablesLabel = MakeLabel(this, "lVariablesLabel",
                                tr("Текущие значения использованных переменных:"), 8,
                                69);
}

void TfResults::CreateList()
{
    _rows = new TResultsModel(this);
    lVariablesList = new QTreeView(this);
    lVariablesList->setObjectName(QStringLiteral("lVariablesList"));
    lVariablesList->setModel(_rows);
    lVariablesList->setRootIsDecorated(false);
    lVariablesList->setItemsExpandable(false);
    lVariablesList->setUniformRowHeights(true);
    lVariablesList->setSortingEnabled(false);
    lVariablesList->setEditTriggers(QAbstractItemView::NoEditTriggers);
    lVariablesList->setSelectionBehavior(QAbstractItemView::SelectRows);
    lVariablesList->setSelectionMode(QAbstractItemView::SingleSelection);
    lVariablesList->setAllColumnsShowFocus(true);
    QPalette palette = lVariablesList->palette();
    palette.setColor(QPalette::Base, EditorBackground());
    lVariablesList->setPalette(palette);

    QHeaderView* header = lVariablesList->header();
    header->setStretchLastSection(false);
    header->setSectionsMovable(false);
    header->setSectionsClickable(true);
    header->setMinimumSectionSize(*std::min_element(std::begin(kMinimumWidths),
                                                    std::end(kMinimumWidths)));
    for (int i = 0; i < kColumnCount; ++i)
        header->resizeSection(i, kWidths[i]);
    connect(header, &QHeaderView::sectionResized, this,
            [this](int section, int, int newSize) { KeepMinimumWidth(section, newSize); });
    connect(header, &QHeaderView::sectionClicked, this, &TfResults::lVariablesListColumnClick);
}

void TfResults::CreateButtons()
{
    bSaveButton = new QPushButton(tr("Сохранить результаты"), this);
    bSaveButton->setObjectName(QStringLiteral("bSaveButton"));
    // Enter presses the focused button; elsewhere it is "Закрыть", the default.
    bSaveButton->setAutoDefault(true);
    bCloseButton = new QPushButton(tr("Закрыть"), this);
    bCloseButton->setObjectName(QStringLiteral("bCloseButton"));
    bCloseButton->setDefault(true);
    connect(bSaveButton, &QPushButton::clicked, this, &TfResults::bSaveButtonClick);
    connect(bCloseButton, &QPushButton::clicked, this, &QDialog::accept);
}

void TfResults::CreateSaveDialog()
{
    // Made at the first save: a file dialog costs more than the rest of the window.
    dSaveDialog = new QFileDialog(this);
    dSaveDialog->setObjectName(QStringLiteral("dSaveDialog"));
    dSaveDialog->setOption(QFileDialog::DontUseNativeDialog);
    dSaveDialog->setAcceptMode(QFileDialog::AcceptSave);
    dSaveDialog->setFileMode(QFileDialog::AnyFile);
    dSaveDialog->setDefaultSuffix(QStringLiteral("txt"));
    dSaveDialog->setNameFilters({tr("Текстовый файл (*.txt)"),
                                 tr("Все файлы (*)")});
    dSaveDialog->setSizeGripEnabled(true);
}

void TfResults::resizeEvent(QResizeEvent* event)
{
    QDialog::resizeEvent(event);
    PlaceAnchoredControls();
}

void TfResults::keyPressEvent(QKeyEvent* event)
{
    // The window has no cancel button: only "Закрыть", Enter and the close box end it.
    if (event->key() == Qt::Key_Escape && event->modifiers() == Qt::NoModifier) {
        event->accept();
        return;
    }
    QDialog::keyPressEvent(event);
}

void TfResults::PlaceAnchoredControls()
{
    // The list follows all four edges; the buttons keep their distance to the
    // right and bottom edges, as laid out for a 461x406 client area.
    const int w = width();
    const int h = height();
    lVariablesList->setGeometry(8, 88, w - 16, h - 127);
    bSaveButton->setGeometry(w - 242, h - 33, 153, 25);
    bCloseButton->setGeometry(w - 83, h - 33, 75, 25);
}

void TfResults::KeepMinimumWidth(int section, int newSize)
{
    if (section >= 0 && section < kColumnCount && newSize < kMinimumWidths[section])
        lVariablesList->header()->resizeSection(section, kMinimumWidths[section]);
}

void TfResults::AddRow(const TResultRow& row)
{
    AddRows({row});
}

void TfResults::AddRows(std::vector<TResultRow> rows)
{
    for (const TResultRow& row : rows) {
        const auto address = PackedKey(row.address);
        const auto binary = PackedKey(row.binary);
        _packed = _packed && address && binary;
        if (_packed) {
            _addressKeys.push_back(*address);
            _binaryKeys.push_back(*binary);
        }
    }
    _rows->Append(std::move(rows));
}

void TfResults::SetTimeText(const QString& text)
{
    SetLabelText(lTime, text);
}

void TfResults::SetStepsCount(std::uint64_t steps)
{
    SetLabelText(lStepsCount, QString::number(steps));
}

std::vector<TResultRow> TfResults::Rows() const
{
    return _rows->ShownRows();
}

void TfResults::lVariablesListColumnClick(int column)
{
    if (column == SortColumn) {
        SortOrder = -SortOrder;
    } else {
        SortOrder = 1;
        SortColumn = column;
    }
    SortRows(column);
}

void TfResults::SortRows(int column)
{
    if (_packed) {
        _rows->SetOrder(OrderByKeys(_rows->Order(), column == 0 ? _addressKeys : _binaryKeys));
        return;
    }
    const std::vector<TResultRow>& rows = _rows->Rows();
    std::vector<int> order = _rows->Order();
    std::stable_sort(order.begin(), order.end(), [&rows, column](int a, int b) {
        return CompareItems(rows[std::size_t(a)], rows[std::size_t(b)], column) < 0;
    });
    _rows->SetOrder(std::move(order));
}

void TfResults::bSaveButtonClick()
{
    if (!dSaveDialog)
        CreateSaveDialog();
    dSaveDialog->selectFile(_lastFileName);
    if (dSaveDialog->exec() != QDialog::Accepted)
        return;
    const QStringList chosen = dSaveDialog->selectedFiles();
    if (chosen.isEmpty())
        return;
    _lastFileName = chosen.first();
    // A failed save is reported here; the window stays open and can save again.
    TVeskApplication::RunCommand([this] { SaveTo(_lastFileName); });
}

void TfResults::SaveTo(const QString& fileName) const
{
    const std::string bytes = EncodeResultsFile(Rows());
    const QString failure =
        WriteWholeFile(fileName, QByteArrayView(bytes.data(), qsizetype(bytes.size())),
                       TWriteTarget::RegularFile);
    if (!failure.isEmpty())
        throw std::runtime_error(failure.toStdString());
}
